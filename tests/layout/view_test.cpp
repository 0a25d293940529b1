#include <gtest/gtest.h>

#include "layout/hit_test.h"
#include "layout/layout_engine.h"
#include "layout/navigation.h"
#include "layout/node_view.h"
#include "layout/style_codes.h"
#include "layout/style_commands.h"
#include "layout/tree_builder.h"
#include "model/selection.h"

#include <algorithm>
#include <random>

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
        {"link indicator's far corner", at.x + linkRect(*root).x + 11, at.y + linkRect(*root).y + 11, kPart_Link},
        {"marker", at.x + markerRect(*root).x + 5, at.y + markerRect(*root).y + 5, kPart_Marker},
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
    hidden->setSelected(true);
    root->setSelected(true);
    const TNode_Point at = absolutePosition(*a);
    // Corners given in reverse order.
    selectInRectangle(*root, at.x + 2, at.y + 2, at.x + 1, at.y + 1);
    EXPECT_TRUE(a->selected());
    EXPECT_FALSE(root->selected());
    EXPECT_FALSE(b->selected());
    EXPECT_TRUE(hidden->selected()) << "nodes inside collapsed branches keep their state";

    root->setSelected(true);
    std::vector<TTree_Node*> tops;
    collectSelectedTops(*root, tops);
    EXPECT_EQ(tops, std::vector<TTree_Node*>{root.get()}) << "a below the selected root";
}

// The selection is found from the program's list of selected nodes, not by
// a walk; on random trees, with collapsed branches, sub-views, removed
// subtrees that keep their old Parent and selections too large for the list,
// every answer equals the walk's.
TEST(Selection, ListedSelectionEqualsAWalkOnRandomTrees) {
    std::mt19937 random(7);
    for (int selectedCount : {0, 1, 2, 9, 60, 400}) {
        auto root = makeNode("root");
        std::vector<TTree_Node*> nodes{root.get()};
        for (int i = 0; i < 600; ++i)
            nodes.push_back(addChild(*nodes[random() % nodes.size()], "n"));
        auto attached = [&](TTree_Node* n) {
            for (TTree_Node* at = n; at != root.get(); at = at->Parent)
                if (at->Parent == nullptr || at->Parent->indexOfChild(at) < 0) return false;
            return true;
        };
        for (TTree_Node* n : nodes) n->Expanded = random() % 5 != 0;
        for (int i = 0; i < selectedCount; ++i) nodes[random() % nodes.size()]->setSelected(true);
        std::vector<std::unique_ptr<TTree_Node>> removed;  // selected, detached, old Parent kept
        for (TTree_Node* gone : {nodes[1 + random() % 600], nodes[1 + random() % 600]}) {
            if (!attached(gone)) continue;
            gone->setSelected(true);
            removed.push_back(gone->Parent->removeChild(gone));
        }
        for (int round = 0; round < 20; ++round) {
            TTree_Node& view = *nodes[round == 0 ? 0 : random() % nodes.size()];
            if (!attached(&view)) continue;
            std::vector<TTree_Node*> walked, listed;
            forEachVisible(view, [&](TTree_Node& n) {
                if (n.selected()) walked.push_back(&n);
            });
            collectSelected(view, listed);
            ASSERT_EQ(listed, walked) << selectedCount;
            const TFirst_Selected first = firstSelected(view);
            EXPECT_EQ(first.count, int32_t(walked.size()));
            EXPECT_EQ(first.node, walked.empty() ? nullptr : walked.front());
        }
        // Clearing touches the node, its ancestors and its real descendants only.
        TTree_Node& cleared = *nodes[random() % nodes.size()];
        std::vector<TTree_Node*> below = testing::preorderNodes(cleared), keep, left;
        for (TTree_Node* n : nodes)
            if (n->selected() && !isInSubtree(n, &cleared) &&
                std::find(below.begin(), below.end(), n) == below.end())
                keep.push_back(n);
        cleared.clearSelection();
        for (TTree_Node* n : nodes)
            if (n->selected()) left.push_back(n);
        EXPECT_EQ(left, keep) << selectedCount;
    }
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
    forEachVisible(*root, [&](TTree_Node& n) { n.setSelected(index++ % 3 == 0); });
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
    sub->setSelected(true);
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
    child->setSelected(true);
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
    for (TTree_Node* n : {a, b, hidden}) n->setSelected(true);
    a->Edge_Style = 2;
    EXPECT_EQ(applyStyleCommand(*root, TStyle_Command::Edge_Style, 3, {}, &recorder), 2);
    EXPECT_EQ(recorder.recorded, (std::vector<const TTree_Node*>{a, b}));
    EXPECT_EQ(recorder.oldEdgeStyles, (std::vector<int32_t>{2, 0}));
    EXPECT_EQ(hidden->Edge_Style, 0);

    // Each command's effect on the node (font flags toggled per node, names,
    // colours) is checked through the style panel and its script rows.
    applyStyleCommand(*root, TStyle_Command::View_Style, kView_List_Left, {}, nullptr);
    EXPECT_EQ(a->View_Style_Used, kView_List_Left);
}

}  // namespace
}  // namespace vetra
