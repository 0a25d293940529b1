#include <gtest/gtest.h>

#include "layout/hit_test.h"
#include "layout/layout_engine.h"
#include "layout/style_codes.h"
#include "layout/tree_builder.h"
#include "layout/tree_main_split.h"

namespace vetra {
namespace {

using testing::addChild;
using testing::layoutFixed;
using testing::makeNode;

TEST(Engines, TreeMainSplitsChildrenByHeight) {
    const struct {
        const char* name;
        std::vector<int32_t> heights;
        int32_t left;
    } cases[] = {
        {"one child goes left", {30}, 1},
        {"two children: one each side", {30, 90}, 1},
        {"30 30 30: the straddling child goes left on a tie", {30, 30, 30}, 2},
        {"10 100 10: overshoot equal to shortfall stays left", {10, 100, 10}, 2},
        {"a big first child stands alone on the left", {100, 10, 10}, 1},
        {"four equal", {20, 20, 20, 20}, 2},
    };
    for (const auto& c : cases) {
        auto node = makeNode("n");
        for (int32_t height : c.heights) addChild(*node, "c")->Layout.Block_Height = height;
        EXPECT_EQ(leftGroupSize(*node), c.left) << c.name;
        node->Expanded = 0;
        EXPECT_EQ(leftGroupSize(*node), 0) << c.name << " (collapsed)";
    }
}

TEST(Engines, TreeMainBulgePushesMiddleChildrenOut) {
    const struct {
        int32_t count;
        std::vector<int64_t> bulges;
    } cases[] = {
        {1, {0}}, {2, {0, 0}}, {3, {0, 20, 0}}, {4, {0, 20, 20, 0}}, {5, {0, 20, 40, 20, 0}}};
    for (const auto& c : cases)
        for (int32_t j = 0; j < c.count; ++j)
            EXPECT_EQ(mainBulge(c.count, j), c.bulges[j]) << "group of " << c.count << " #" << j;
}

TEST(Engines, CollapsedBlockIsTheBoxUnderEveryEngine) {
    for (int32_t style = 1; style <= 7; ++style) {
        auto root = makeNode("root");
        root->setViewStyle(style);
        addChild(*addChild(*root, "child"), "grandchild");
        root->Expanded = 0;
        layoutFixed(*root);
        EXPECT_EQ(root->Layout.Block_Width, root->Layout.Box_Width) << "style " << style;
        EXPECT_EQ(root->Layout.Block_Height, root->Layout.Box_Height) << "style " << style;
        EXPECT_EQ(root->Layout.Box_Offset, (TNode_Point{0, 0})) << "style " << style;
    }
}

// The row hanging twenty pixels below, centred under a narrower box, is
// checked number for number by the layout dump (LayoutCommand); a row
// narrower than the box starts at the box's left edge.
TEST(Engines, StruDownRowNarrowerThanTheBoxStartsAtItsLeftEdge) {
    auto root = makeNode("a much longer caption");
    root->setViewStyle(kView_Stru_Down);
    TTree_Node* a = addChild(*root, "a");
    addChild(*root, "bb");
    layoutFixed(*root);
    EXPECT_EQ(a->Layout.Block_Pos, (TNode_Point{0, root->Layout.Box_Height + 20}));
}

TEST(Engines, RootStyleReachesEveryAutoNode) {
    auto root = testing::randomTree(3, {.nodes = 40, .maxDepth = 4, .staleCache = false});
    forEachVisible(*root, [](TTree_Node& n) { n.View_Style = 0, n.Link_Style = 0; });
    root->setViewStyle(kView_Stru_Down);
    layoutFixed(*root);
    forEachVisible(*root, [](TTree_Node& n) {
        EXPECT_EQ(n.View_Style_Used, kView_Stru_Down);
        EXPECT_EQ(n.Link_Style_Used, kLink_Rect);
    });
    root->setViewStyle(kView_Auto);
    layoutFixed(*root);
    EXPECT_EQ(root->View_Style_Used, kView_Tree_Main);
    forEachVisible(*root, [&](TTree_Node& n) {
        if (&n != root.get()) {
            EXPECT_TRUE(n.View_Style_Used == 2 || n.View_Style_Used == 3);
        }
        EXPECT_EQ(n.Link_Style_Used, kLink_Round_Rect);
    });
}

TEST(Engines, OwnStylesAreKeptAndPlacedAsBlocks) {
    auto root = testing::buildTree("root(left(inner),right(list(item)))");
    TTree_Node *left = testing::find(*root, "left"), *inner = left->child(0);
    TTree_Node *right = testing::find(*root, "right"), *list = right->child(0),
               *item = list->child(0);
    left->setViewStyle(kView_Tree_Right);  // in the left group, growing toward the root
    list->setViewStyle(kView_List_Right);
    layoutFixed(*root);
    EXPECT_EQ(left->View_Style_Used, kView_Tree_Right);
    EXPECT_EQ(inner->View_Style_Used, kView_Tree_Right);
    EXPECT_LT(absolutePosition(*left).x, absolutePosition(*root).x);
    EXPECT_GT(absolutePosition(*inner).x, absolutePosition(*left).x);
    EXPECT_EQ(right->View_Style_Used, kView_Tree_Right);
    EXPECT_EQ(list->View_Style_Used, kView_List_Right);
    EXPECT_EQ(item->View_Style_Used, kView_List_Right);
    EXPECT_GT(absolutePosition(*item).y, absolutePosition(*list).y);
}

TEST(Engines, TreeLeftRootPutsEveryChildOnTheLeft) {
    auto root = makeNode("root");
    root->setViewStyle(kView_Tree_Left);
    for (int i = 0; i < 4; ++i) addChild(*root, "c");
    layoutFixed(*root);
    EXPECT_EQ(root->Layout.Box_Offset.x + root->Layout.Box_Width, root->Layout.Block_Width);
    for (TTree_Node* child : root->Children) {
        EXPECT_LT(child->Layout.Block_Pos.x, 0);
        EXPECT_EQ(ownAnchor(*child).x, child->Layout.Box_Width);
    }
}

TEST(Engines, TreeMainGroupsStartAtTheSameTop) {
    auto root = makeNode("root");
    for (int i = 0; i < 5; ++i) addChild(*root, "c");
    layoutFixed(*root);
    const int32_t k = leftGroupSize(*root);
    ASSERT_EQ(k, 3);
    EXPECT_EQ(root->child(0)->Layout.Block_Pos.y, root->child(k)->Layout.Block_Pos.y);
    // Middle children stand further out: 0, 20, 0 on the left.
    EXPECT_EQ(root->child(0)->Layout.Block_Pos.x - root->child(1)->Layout.Block_Pos.x, 20);
}

TEST(Engines, ChainOf100000NodesDoesNotOverflowTheStack) {
    auto root = makeNode("root");
    TTree_Node* tail = root.get();
    for (int i = 0; i < 100000; ++i) tail = addChild(*tail, "link of the chain");
    layoutFixed(*root);
    EXPECT_EQ(tail->Depth, 100001);
    EXPECT_LT(absolutePosition(*tail).x, absolutePosition(*root).x);  // one child goes left
    auto hit = hitSubtree(*root, absolutePosition(*tail).x + 1, absolutePosition(*tail).y + 1);
    EXPECT_EQ(hit.node, tail);
}

}  // namespace
}  // namespace vetra
