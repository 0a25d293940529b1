// Outlines become nodes with notes in the content store and come back the
// same; what the code page cannot hold is counted.
#include <gtest/gtest.h>

#include "export/outline_note.h"
#include "export/outline_tree.h"
#include "platform/file.h"
#include "platform/text_codec.h"
#include "platform/text_mode.h"
#include "store/content_store.h"
#include "store/tree_doc.h"
#include "tests/export/outline_dump.h"
#include "tests/model/recording_prompts.h"

namespace vetra {
namespace {

TEST(OutlineTree, NodesAndNotesComeBackAsTheyWent) {
    setActiveTextMode(kTextModeSimplified);
    const TOutline outline = {
        {0, "根", "", "笔记 {带} 括号\\反斜杠\n\n第二段\t制表", false, 0x112233, -1},
        {1, "子一", "https://example.org", "", true, -1, 0x00FFFF},
        {2, "孙", "", "", false, -1, -1},
        {1, "子二", "", "€ 和 ü", false, -1, -1},
    };
    TContent_Store store(std::make_unique<TMemory_File>());
    TOutline_Nodes nodes = nodesFromOutline(outline, 0x445566, &store);
    ASSERT_EQ(nodes.Subtrees.size(), 1u);
    EXPECT_EQ(nodes.Replaced, 0);
    int replaced = 0;
    std::unique_ptr<TTree_Node> root = treeFromOutline(std::move(nodes), "x", 0x445566, replaced);
    EXPECT_TRUE(root->Content_Dirty);
    EXPECT_EQ(root->child(0)->Color_Caption, 0x445566);

    test::TRecording_Messages messages;
    TTree_Doc doc(messages);
    doc.Store = &store;
    TOutline back = outlineFromTree(*root, doc);
    TOutline expected = outline;
    for (TOutline_Item& item : expected)
        if (item.Color_Caption < 0) item.Color_Caption = 0x445566;
    EXPECT_EQ(test::dumpOutline(back), test::dumpOutline(expected));
}

TEST(OutlineTree, CountsCharactersTheCodePageCannotHold) {
    const struct {
        const char* name;
        int mode;
        const char* caption;
        const char* expected;  // UTF-8 as the node holds it afterwards
        int replaced;
    } rows[] = {
        {"emoji in GBK", kTextModeSimplified, "a😀b", "a?b", 1},
        {"simplified in Big5 becomes traditional", kTextModeTraditional, "简体", "簡體", 0},
        {"emoji and Arabic in Big5", kTextModeTraditional, "😀سلام", "?????", 5},
    };
    for (const auto& row : rows) {
        setActiveTextMode(row.mode);
        TOutline_Nodes nodes = nodesFromOutline({test::outlineItem(0, row.caption)}, 0, nullptr);
        EXPECT_EQ(nodes.Replaced, row.replaced) << row.name;
        EXPECT_EQ(codePageToUtf8(nodes.Subtrees[0]->Caption.view(), row.mode).text, row.expected)
            << row.name;
    }
    setActiveTextMode(kTextModeSimplified);
}

TEST(OutlineTree, SeveralTopEntriesShareANewRoot) {
    setActiveTextMode(kTextModeSimplified);
    int replaced = 0;
    auto root = treeFromOutline(
        nodesFromOutline(
            {test::outlineItem(0, "a"), test::outlineItem(1, "b"), test::outlineItem(0, "c")}, 0,
            nullptr),
        "文件名", 0, replaced);
    ASSERT_EQ(root->childCount(), 2);
    EXPECT_EQ(codePageToUtf8(root->Caption.view(), kTextModeSimplified).text, "文件名");
    EXPECT_EQ(root->child(0)->child(0)->Depth, 3);
}

}  // namespace
}  // namespace vetra
