#include "model/tree_node.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "layout/tree_builder.h"
#include "platform/text_codec.h"
#include "platform/text_mode.h"

namespace vetra {
namespace {

using testing::find;

// r(a(a1 a2) b(b1))
std::unique_ptr<TTree_Node> smallTree() {
    return testing::buildTree("r(a(a1,a2),b(b1))");
}

std::string captionOf(const TTree_Node* node) {
    return node == nullptr ? "-" : std::string(node->Caption.view());
}

TEST(TreeNode, NewNodeHasTheDocumentedDefaultsAndEmptyTextsAreAbsent) {
    setActiveTextMode(kTextModeSimplified);
    TTree_Node node;
    EXPECT_EQ(codePageToUtf8(node.Caption.view(), 1).text, "双击输入标题");
    EXPECT_FALSE(node.Link.isPresent());
    EXPECT_TRUE(node.Note_Excerpt.isPresent());
    EXPECT_TRUE(node.Note_Excerpt.isEmpty());
    EXPECT_EQ(node.fontName(), kDefault_Font_Name);
    setActiveTextMode(2);
    EXPECT_EQ(codePageToUtf8(TTree_Node().fontName(), 2).text, "宋體")
        << "the default font reads right in traditional mode";
    TTree_Node traditional;
    EXPECT_EQ(codePageToUtf8(traditional.Caption.view(), 2).text, "雙擊輸入標題");
    EXPECT_EQ(codePageToUtf8(newNodeCaption(), 2).text, "新節點");
    setActiveTextMode(kTextModeSimplified);

    // An empty link or excerpt is absent, not present and empty.
    node.setLink("http://x");
    node.setLink("");
    EXPECT_FALSE(node.Link.isPresent());
    node.setExcerpt("");
    EXPECT_FALSE(node.Note_Excerpt.isPresent());
    EXPECT_FALSE(node.setCaption(nullptr, 0));
}

// Texts keep every byte on both sides of the length where the stored length
// grows from two bytes to six, through copies and reassignment.
TEST(TreeNode, TextsOfEveryLengthKeepTheirBytes) {
    for (size_t length :
         {size_t{1}, size_t{2}, size_t{65534}, size_t{65535}, size_t{65536}, size_t{300000}}) {
        std::string bytes(length, '\0');
        for (size_t i = 0; i < length; ++i) bytes[i] = char('a' + i % 26);
        TNode_Text text(bytes);
        TNode_Text copy(text);
        EXPECT_EQ(copy.size(), length);
        EXPECT_TRUE(copy.view() == bytes) << length;
        copy.assign(copy.view().substr(1));
        EXPECT_TRUE(copy.view() == std::string_view(bytes).substr(1)) << length;
        EXPECT_TRUE(text == TNode_Text(bytes));
    }
}

// The field holds 63 bytes and a NUL: names are cut on a character boundary
// of what comes before the first NUL.
TEST(TreeNode, FontNameIsCutWithoutSplittingACharacter) {
    using namespace std::string_literals;
    const struct {
        const char* name;
        std::string given;
        std::string kept;
    } rows[] = {
        // clang-format off
        {"character straddling byte 63", std::string(62, 'x') + "\xCB\xCE", std::string(62, 'x')},
        {"0x80 is a character of its own", std::string(62, 'x') + "\x80y", std::string(62, 'x') + "\x80"},
        {"lead byte right before a NUL", "ab\xCB\0\xCEz"s, "ab"},
        {"NUL ends the name", "Arial\0junk"s, "Arial"},
        // clang-format on
    };
    for (const auto& row : rows) {
        TTree_Node node;
        node.setFontName(row.given);
        EXPECT_EQ(node.fontName(), row.kept) << row.name;
    }
}

TEST(TreeNode, SiblingMovesAndRemovalsAtTheEdges) {
    auto root = smallTree();
    TTree_Node* a = root->child(0);
    TTree_Node* b = root->child(1);
    root->moveChildUp(a);
    root->moveChildDown(b);
    EXPECT_EQ(root->child(0), a) << "first child moved up, last moved down: nothing changes";
    root->moveChildDown(a);
    EXPECT_EQ(root->child(0), b);

    TTree_Node stranger;
    EXPECT_EQ(root->removeChild(&stranger), nullptr);
    EXPECT_EQ(root->childCount(), 2);
    std::unique_ptr<TTree_Node> taken = root->removeChild(a);
    EXPECT_EQ(taken.get(), a);
    EXPECT_EQ(a->Parent, root.get()) << "the caller decides about Parent";
}

TEST(TreeNode, CopyMarksTheNoteDirtyAndSharesItsLocation) {
    TTree_Node source;
    source.setCaption("caption");
    source.setLink("file.vt");
    source.Content_Offset = 900;
    source.Content_Size = 40;
    source.Work_Offset = 12;
    source.Expanded = 0;
    source.setSelected(true);
    auto copy = source.clone();
    EXPECT_EQ(copy->Content_Dirty, 1);
    EXPECT_EQ(copy->Content_Offset, 900);
    EXPECT_EQ(copy->Work_Offset, 12);
    EXPECT_EQ(copy->Link.view(), "file.vt");
    EXPECT_EQ(copy->Expanded, 1) << "view state is not copied";
    EXPECT_FALSE(copy->selected());
}

TEST(TreeNode, DisplayOrderWalks) {
    auto root = smallTree();
    root->child(0)->Expanded = 0;  // a collapsed
    const struct {
        const char* from;
        bool all;
        const char* next;
        const char* previous;
    } rows[] = {
        {"r", false, "a", "-"},  {"a", false, "b", "r"},  {"a", true, "a1", "r"},
        {"a2", true, "b", "a1"}, {"b", false, "b1", "a"}, {"b", true, "b1", "a2"},
        {"b1", false, "-", "b"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(captionOf(nextInDisplayOrder(find(*root, row.from), row.all)), row.next)
            << "next of " << row.from;
        EXPECT_EQ(captionOf(previousInDisplayOrder(find(*root, row.from), row.all)), row.previous)
            << "previous of " << row.from;
    }
}

TEST(TreeNode, DeepChainsNeedNoDeepStack) {
    constexpr int kDepth = 100000;
    auto root = std::make_unique<TTree_Node>();
    TTree_Node* deepest = root.get();
    for (int i = 0; i < kDepth; ++i) deepest = deepest->appendChild(std::make_unique<TTree_Node>());
    root->recomputeDepth();
    EXPECT_EQ(deepest->Depth, kDepth + 1);

    auto copy = root->cloneSubtree();
    TTree_Node* at = copy.get();
    int length = 0;
    while (at->hasChildren()) {
        at = at->child(0);
        ++length;
    }
    EXPECT_EQ(length, kDepth);

    int steps = 0;
    for (TTree_Node* walk = root.get(); walk != nullptr; walk = nextInDisplayOrder(walk, true))
        ++steps;
    EXPECT_EQ(steps, kDepth + 1);
    EXPECT_EQ(previousInDisplayOrder(deepest, false), deepest->Parent);

    root->collapseAll();
    root->expandToLevel(kDepth);
    root->clearSelection();
    EXPECT_TRUE(isInSubtree(root.get(), deepest));
    root.reset();  // destroys the chain
    copy.reset();
}

// Counts of large subtrees are kept between counts; after random edits
// (children added, removed, moved, destroyed, subtrees re-attached, a deep
// chain past the walk limit) every count equals a plain walk.
TEST(TreeNode, KeptCountsFollowEveryChangeOfShape) {
    auto nodesOf = [](TTree_Node& top) {  // breadth first: the deepest node comes last
        std::vector<TTree_Node*> all{&top};
        for (size_t i = 0; i < all.size(); ++i)
            all.insert(all.end(), all[i]->Children.begin(), all[i]->Children.end());
        return all;
    };
    std::mt19937 random(11);
    auto root = std::make_unique<TTree_Node>();
    std::vector<TTree_Node*> built{root.get()};
    for (int i = 0; i < 6000; ++i)
        built.push_back(
            built[random() % built.size()]->appendChild(std::make_unique<TTree_Node>()));
    for (int i = 0; i < 600; ++i)  // a chain deep enough to pass the walk limit
        built.push_back(built.back()->appendChild(std::make_unique<TTree_Node>()));
    std::vector<std::unique_ptr<TTree_Node>> detached;
    for (int step = 0; step < 300; ++step) {
        const std::vector<TTree_Node*> all = nodesOf(*root);
        ASSERT_EQ(root->countSubtree(), int64_t(all.size())) << step;
        TTree_Node* node = all[random() % all.size()];
        if (step % 5 == 0) node->appendChild(std::make_unique<TTree_Node>());
        if (step % 5 == 1 && node != root.get())
            detached.push_back(node->Parent->removeChild(node));
        if (step % 5 == 2 && !detached.empty())
            node->insertChild(std::move(detached.back()), 0), detached.pop_back();
        if (step % 5 == 3) all.back()->appendChild(std::make_unique<TTree_Node>());
        if (step % 5 == 4 && !detached.empty())
            detached.erase(detached.begin());  // inner nodes die too
        for (auto& gone : detached)            // a detached subtree counts alone
            ASSERT_EQ(gone->countSubtree(), int64_t(nodesOf(*gone).size())) << step;
    }
}

// Redo selects again what was selected when its command was undone; nodes
// destroyed since are never followed (the sanitizer build would catch it).
TEST(TreeNode, AMemoryHandsOutOnlyNodesThatLive) {
    TTree_Node root;
    std::vector<TTree_Node*> nodes;
    for (int i = 0; i < 3; ++i) nodes.push_back(root.appendChild(std::make_unique<TTree_Node>()));
    TNode_Memory memory;
    memory.assign(nodes);
    {
        TNode_Memory other;
        other.assign({nodes[0]});
    }  // another memory of the same node ends: this one keeps it
    root.removeChild(nodes[1]).reset();
    EXPECT_EQ(memory.living(), (std::vector<TTree_Node*>{nodes[0], nodes[2]}));
    memory.assign({nodes[2]});
    EXPECT_EQ(memory.living(), (std::vector<TTree_Node*>{nodes[2]}));
}

TEST(TreeNode, ExcerptNeverSplitsACharacter) {
    const struct {
        const char* name;
        std::string text;
        size_t length;
    } rows[] = {
        // clang-format off
        {"short", "abc", 3},
        {"299 single bytes", std::string(299, 'a'), 299},
        {"300 single bytes", std::string(300, 'a'), 299},
        {"character across the limit", std::string(298, 'a') + "\xB0\xA1", 298},
        {"character before the limit", std::string(297, 'a') + "\xB0\xA1x", 299},
        {"0x80 is a character of its own", std::string(298, 'a') + "\x80" "b", 299},
        // clang-format on
    };
    for (const auto& row : rows) EXPECT_EQ(excerptLength(row.text), row.length) << row.name;
}

}  // namespace
}  // namespace vetra
