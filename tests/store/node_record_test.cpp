#include "store/node_record.h"

#include <gtest/gtest.h>

#include "layout/tree_builder.h"
#include "platform/text_codec.h"
#include "platform/text_mode.h"
#include "store/record_bytes.h"
#include "tests/app/run_vetra.h"

namespace vetra {
namespace {

using test::be32;
using test::newNodeRecord;

std::string gbk(std::string_view utf8) {
    return utf8ToCodePage(utf8, 1).text;
}

std::string writeToBytes(const TTree_Node& root, const std::vector<const TTree_Node*>& viewRoots) {
    TMemory_File file;
    EXPECT_TRUE(writeNodeTree(file, root, viewRoots));
    return file.bytes();
}

bool readFromBytes(const std::string& bytes, TTree_Node& root, std::vector<TTree_Node*>& roots) {
    TMemory_File file(bytes);
    TRead_Error error;
    return readNodeTree(file, root, roots, error);
}

class NodeRecordTest : public ::testing::Test {
  protected:
    void SetUp() override { setActiveTextMode(kTextModeSimplified); }
    void TearDown() override { setActiveTextMode(kTextModeSimplified); }
};

TEST_F(NodeRecordTest, OneNewNodeIsWrittenByteForByte) {
    TTree_Node node;
    node.setCaption(gbk("中心主题"));
    std::string expected = newNodeRecord(gbk("中心主题"));
    EXPECT_EQ(writeToBytes(node, {&node}), expected);
    EXPECT_EQ(expected.size(), 192u + 8 + 4);
    EXPECT_EQ(indexBound(node), 206 + 8 + 4);
}

TEST_F(NodeRecordTest, EveryFieldSurvivesTheRoundTrip) {
    TTree_Node root;
    root.setCaption("root");
    root.setLink("https://example.org/a?b=c");
    root.Content_Offset = 5000;
    root.Content_Size = 321;
    root.Content_Raw_Size = 900;
    root.Note_Caret = 17;
    root.Font_Style = 5;
    root.setFontName("Noto Sans CJK SC");
    root.Font_Size = 12;
    root.Color_Caption = 0x00123456;
    root.Color_Fill = 0x00ABCDEF;
    root.Edge_Width = 4;
    root.Color_Edge = 0x00010203;
    root.Edge_Style = 3;
    root.Link_Down_Width = 2;
    root.Color_Link_Down = 0x00040506;
    root.setLinkStyle(2);
    root.Link_Up_Width = 3;
    root.Color_Link_Up = 0x00070809;
    root.setViewStyle(6);
    TTree_Node* collapsed = root.appendChild(std::make_unique<TTree_Node>());
    collapsed->Expanded = 0;
    collapsed->Note_Excerpt.reset();
    collapsed->Link.assign("");  // present and empty: kept as an empty 'C' record
    TTree_Node* subRoot = collapsed->appendChild(std::make_unique<TTree_Node>());
    subRoot->setCaption(gbk("子视图"));

    std::string bytes = writeToBytes(root, {&root, subRoot});
    TTree_Node back;
    std::vector<TTree_Node*> viewRoots;
    ASSERT_TRUE(readFromBytes(bytes, back, viewRoots));
    ASSERT_EQ(viewRoots.size(), 2u);
    EXPECT_EQ(viewRoots[0], &back);
    EXPECT_EQ(viewRoots[1]->Caption.view(), gbk("子视图"));
    EXPECT_EQ(back.Link.view(), root.Link.view());
    EXPECT_EQ(back.Content_Raw_Size, 900);
    EXPECT_EQ(back.fontName(), "Noto Sans CJK SC");
    EXPECT_EQ(back.Link_Style_Used, 2);
    EXPECT_EQ(back.View_Style_Used, 6);
    const TTree_Node* child = back.child(0);
    EXPECT_EQ(child->Expanded, 0);
    EXPECT_TRUE(child->Note_Excerpt.isPresent() && child->Note_Excerpt.isEmpty())
        << "a record without 'B' keeps the new node's empty excerpt";
    EXPECT_TRUE(child->Link.isPresent());
    EXPECT_TRUE(child->Link.isEmpty());
    EXPECT_EQ(child->child(0)->Depth, 2);

    std::vector<const TTree_Node*> constRoots(viewRoots.begin(), viewRoots.end());
    std::string again = writeToBytes(back, constRoots);
    std::string withEmptyExcerpt = bytes;
    size_t childStart = bytes.find("vt30", 4);
    withEmptyExcerpt.insert(bytes.find("C", childStart + 13), test::textRecord('B', ""));
    EXPECT_TRUE(again == withEmptyExcerpt) << "a second write changes nothing else";
    EXPECT_GE(indexBound(root), static_cast<int64_t>(bytes.size()));
}

TEST_F(NodeRecordTest, SampleFilesReadAndWriteBackTheirIndex) {
    for (const char* name : {"mode1_notes.vt", "mode2_tree.vt"}) {
        std::string bytes = test::slurp(test::dataPath(name));
        ASSERT_FALSE(bytes.empty()) << name;
        setActiveTextMode(name[4] == '1' ? 1 : 2);
        TMemory_File file(bytes);
        TTree_Node root;
        std::vector<TTree_Node*> viewRoots;
        TRead_Error error;
        ASSERT_TRUE(readNodeTree(file, root, viewRoots, error)) << name;
        std::vector<const TTree_Node*> roots(viewRoots.begin(), viewRoots.end());
        std::string index = writeToBytes(root, roots);
        EXPECT_EQ(index, bytes.substr(0, index.size())) << name;
        EXPECT_EQ(file.position(), static_cast<int64_t>(index.size())) << name;
        // Every stored note lies behind the index bound.
        for (const TTree_Node* node : testing::preorderNodes(root))
            EXPECT_TRUE(node->Content_Size == 0 || node->Content_Offset >= indexBound(root))
                << name;
    }
}

TEST_F(NodeRecordTest, TextsAreConvertedToTheActiveModeButLinksAreNot) {
    std::string bytes = test::slurp(test::dataPath("mode2_tree.vt"));
    TTree_Node root;
    std::vector<TTree_Node*> viewRoots;
    ASSERT_TRUE(readFromBytes(bytes, root, viewRoots));
    EXPECT_EQ(root.Caption.view(), gbk("专案计划"));
    EXPECT_EQ(root.child(1)->Link.view(), "C:\\docs\\readme.txt");

    std::string written = writeToBytes(root, {});
    EXPECT_EQ(written.substr(4, 9), test::intRecord('M', 1)) << "written in the active mode";
}

TEST_F(NodeRecordTest, DeepChainRoundTrips) {
    constexpr int kDepth = 100000;
    TTree_Node root;
    TTree_Node* at = &root;
    for (int i = 0; i < kDepth; ++i) at = at->appendChild(std::make_unique<TTree_Node>());
    at->setCaption("bottom");
    std::string bytes = writeToBytes(root, {});
    TTree_Node back;
    std::vector<TTree_Node*> viewRoots;
    ASSERT_TRUE(readFromBytes(bytes, back, viewRoots));
    const TTree_Node* walk = &back;
    int depth = 0;
    while (walk->hasChildren()) {
        walk = walk->child(0);
        ++depth;
    }
    EXPECT_EQ(depth, kDepth);
    EXPECT_EQ(walk->Caption.view(), "bottom");
}

}  // namespace
}  // namespace vetra
