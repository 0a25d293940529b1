#include <gtest/gtest.h>

#include "layout/hit_test.h"
#include "layout/layout_engine.h"
#include "layout/navigation.h"
#include "layout/node_view.h"
#include "layout/style_codes.h"
#include "layout/style_commands.h"
#include "layout/tree_builder.h"

namespace vetra {
namespace {

using testing::addChild;
using testing::buildTree;
using testing::find;
using testing::makeNode;
using testing::showFixed;

TEST(HitTest, BoundsAreInclusiveAndIndicatorsComeFirst) {
    auto root = makeNode("abc");
    root->setLink("x");
    addChild(*root, "child");
    showFixed(*root);
    const TNode_Point at = absolutePosition(*root);
    const TLayout_Cache& c = root->Layout;
    const struct {
        const char* name;
        int32_t x, y, part;
    } cases[] = {
        // clang-format off
        {"top-left corner", at.x, at.y, kPart_Box},
        {"bottom-right corner", at.x + c.Box_Width, at.y + c.Box_Height, kPart_Box},
        {"one past the right edge", at.x + c.Box_Width + 1, at.y, kPart_None},
        {"one above", at.x, at.y - 1, kPart_None},
        {"link indicator's far corner", at.x + c.Link_Rect.x + 11, at.y + c.Link_Rect.y + 11, kPart_Link},
        {"marker", at.x + c.Marker_Rect.x + 5, at.y + c.Marker_Rect.y + 5, kPart_Marker},
        // clang-format on
    };
    for (const auto& row : cases) EXPECT_EQ(hitNode(*root, row.x, row.y), row.part) << row.name;
}

TEST(HitTest, CollapsedChildrenAreNotHit) {
    auto root = makeNode("root");
    TTree_Node* child = addChild(*root, "child");
    showFixed(*root);
    const TNode_Point at = absolutePosition(*child);
    EXPECT_EQ(hitSubtree(*root, at.x + 1, at.y + 1).node, child);
    root->Expanded = 0;
    EXPECT_EQ(hitSubtree(*root, at.x + 1, at.y + 1).node, nullptr);
}

TEST(Selection, RectangleSelectsVisibleNodesOnly) {
    auto root = buildTree("root(a,b(hidden))");
    TTree_Node *a = find(*root, "a"), *b = find(*root, "b"), *hidden = find(*root, "hidden");
    showFixed(*root);
    b->Expanded = 0;
    hidden->Selected = 1;
    root->Selected = 1;
    const TNode_Point at = absolutePosition(*a);
    // Corners given in reverse order.
    selectInRectangle(*root, at.x + 2, at.y + 2, at.x + 1, at.y + 1);
    EXPECT_EQ(a->Selected, 1);
    EXPECT_EQ(root->Selected, 0);
    EXPECT_EQ(b->Selected, 0);
    EXPECT_EQ(hidden->Selected, 1) << "nodes inside collapsed branches keep their state";

    auto first = firstSelected(*root);
    EXPECT_EQ(first.node, a);
    EXPECT_EQ(first.count, 1);
    root->Selected = 1;
    std::vector<TTree_Node*> tops;
    collectSelectedTops(*root, tops);
    EXPECT_EQ(tops, std::vector<TTree_Node*>{root.get()});
    std::vector<TTree_Node*> all;
    collectSelected(*root, all);
    EXPECT_EQ(all, (std::vector<TTree_Node*>{root.get(), a}));
}

TEST(Navigation, ArrowKeysFollowTheStyles) {
    auto root = buildTree("root(left(stru(row0,row1,row2),list(item0,item1)),right(grandchild))");
    auto node = [&](const char* caption) { return caption ? find(*root, caption) : nullptr; };
    node("stru")->setViewStyle(kView_Stru_Down);
    node("list")->setViewStyle(kView_List_Right);
    showFixed(*root);
    ASSERT_EQ(node("left")->View_Style_Used, kView_Tree_Left);
    ASSERT_EQ(node("right")->View_Style_Used, kView_Tree_Right);
    const struct {
        const char* name;
        TTree_Node* (*key)(TTree_Node*);
        const char* from;
        const char* to;  // null: nowhere
    } cases[] = {
        {"right from the left group goes to the root", Node_Right, "left", "root"},
        {"right from the right group goes to its child", Node_Right, "right", "grandchild"},
        {"right from a leaf on the right goes nowhere", Node_Right, "grandchild", nullptr},
        {"left from a right-group child goes to its parent", Node_Left, "grandchild", "right"},
        {"down in Tree_Main goes to the next sibling", Node_Down, "left", "right"},
        {"up in Tree_Main goes to the previous sibling", Node_Up, "right", "left"},
        {"down from a Stru_Down node goes to the child under its centre", Node_Down, "stru",
         "row1"},
        {"up in a Stru_Down row goes to the parent", Node_Up, "row1", "stru"},
        {"right in a Stru_Down row goes to the next sibling", Node_Right, "row0", "row1"},
        {"left in a row from the first goes nowhere", Node_Left, "row0", nullptr},
        {"up from the first list item goes to the list", Node_Up, "item0", "list"},
        {"up from the second list item goes to the first", Node_Up, "item1", "item0"},
        {"down from the last list item goes nowhere", Node_Down, "item1", nullptr},
        {"left from a list item goes to the list", Node_Left, "item0", "list"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.key(node(c.from)), node(c.to)) << c.name;
    EXPECT_NE(Node_Left(root.get()), nullptr) << "the root reaches its left group";
    root->Expanded = 0;
    EXPECT_EQ(Node_Left(root.get()), nullptr) << "a collapsed node has no children to visit";
}

TEST(Views, LeavingAndShowingRestoresExpansionSelectionAndScroll) {
    auto root = testing::randomTree(5, {.nodes = 80, .maxDepth = 5, .staleCache = false});
    TView_List views;
    TNode_View* main = views.newView(root.get());
    TTree_Node* sub = root->child(0);
    bool created = false;
    TNode_View* subView = views.newView(sub, &created);
    EXPECT_TRUE(created);
    EXPECT_EQ(views.newView(sub, &created), subView);
    EXPECT_FALSE(created);

    showView(*main);
    int32_t index = 0;
    forEachVisible(*root, [&](TTree_Node& n) { n.Selected = index++ % 3 == 0; });
    auto snapshot = [&] {  // every node, collapsed branches included
        std::vector<int32_t> out;
        for (TTree_Node* n = root.get(); n != nullptr; n = nextInDisplayOrder(n, true))
            out.push_back(n->Expanded);
        return out;
    };
    std::vector<int32_t> before = snapshot();
    leaveView(*main, 30, 40, 500, 600);
    // Another view changes expansion and selection meanwhile.
    showView(*subView);
    EXPECT_EQ(sub->Parent, nullptr);
    sub->collapseAll();
    sub->Selected = 1;
    leaveView(*subView, 0, 0, 10, 10);
    EXPECT_EQ(sub->Parent, root.get());
    showView(*main);
    EXPECT_EQ(main->Scroll_X, 30);
    EXPECT_EQ(main->Picture_Height, 600);
    // Expansion comes back on every node (selection of hidden nodes is not kept).
    EXPECT_EQ(snapshot(), before);
}

TEST(Views, ShowingSurvivesDeletedNodesInTheSavedArrays) {
    auto root = makeNode("root");
    TTree_Node* child = addChild(*root, "child");
    addChild(*child, "grandchild");
    TView_List views;
    TNode_View* main = views.newView(root.get());
    child->Expanded = 0;
    child->Selected = 1;
    leaveView(*main, 0, 0, 10, 10);
    ASSERT_EQ(main->Saved_Collapsed.count(), 1);
    ASSERT_EQ(main->Saved_Selection.count(), 1);
    root->removeChild(child);  // destroyed: the arrays now hold a freed address
    showView(*main);
    EXPECT_EQ(root->Expanded, 1);
}

struct TRecorder : TStyle_Change_Recorder {
    std::vector<const TTree_Node*> recorded;
    std::vector<int32_t> oldEdgeStyles;
    void recordStyleChange(const TTree_Node& node) override {
        recorded.push_back(&node);
        oldEdgeStyles.push_back(node.Edge_Style);
    }
};

TEST(StyleCommands, RecordEachSelectedNodeBeforeChangingIt) {
    auto root = buildTree("root(a,b(hidden))");
    TTree_Node *a = find(*root, "a"), *b = find(*root, "b"), *hidden = find(*root, "hidden");
    b->Expanded = 0;
    TRecorder recorder;
    EXPECT_EQ(applyStyleCommand(*root, TStyle_Command::Edge_Style, 3, {}, &recorder), 0);
    EXPECT_TRUE(recorder.recorded.empty());
    a->Selected = b->Selected = hidden->Selected = 1;
    a->Edge_Style = 2;
    EXPECT_EQ(applyStyleCommand(*root, TStyle_Command::Edge_Style, 3, {}, &recorder), 2);
    EXPECT_EQ(recorder.recorded, (std::vector<const TTree_Node*>{a, b}));
    EXPECT_EQ(recorder.oldEdgeStyles, (std::vector<int32_t>{2, 0}));
    EXPECT_EQ(hidden->Edge_Style, 0);

    applyStyleCommand(*root, TStyle_Command::Font_Style, kFont_Bold, {}, nullptr);
    applyStyleCommand(*root, TStyle_Command::Font_Style, kFont_Bold, {}, nullptr);
    EXPECT_EQ(a->Font_Style, 0) << "bold twice leaves the flags as they were";
    a->Font_Style = 7;
    applyStyleCommand(*root, TStyle_Command::Font_Style, 0, {}, nullptr);
    EXPECT_EQ(a->Font_Style, 0);
    applyStyleCommand(*root, TStyle_Command::View_Style, kView_List_Left, {}, nullptr);
    EXPECT_EQ(a->View_Style_Used, kView_List_Left);
    applyStyleCommand(*root, TStyle_Command::Font_Name, 0, "Sans", nullptr);
    EXPECT_EQ(a->fontName(), "Sans");
}

}  // namespace
}  // namespace vetra
