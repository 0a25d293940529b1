#include <gtest/gtest.h>

#include <string>

#include "layout/fixed_metrics_canvas.h"
#include "layout/hit_test.h"
#include "layout/layout_engine.h"
#include "layout/reference_layout.h"
#include "layout/tree_builder.h"

namespace vetra {
namespace {

using testing::randomTree;
using testing::referenceLayoutSubtree;

// Pre-order list of the visible nodes.
std::vector<TTree_Node*> visibleNodes(TTree_Node& root) {
    std::vector<TTree_Node*> out;
    forEachVisible(root, [&](TTree_Node& node) { out.push_back(&node); });
    return out;
}

std::string describe(const TTree_Node& n) {
    const TLayout_Cache& c = n.Layout;
    auto rect = [](const TNode_Rect& r) {
        return std::to_string(r.x) + "," + std::to_string(r.y) + "," + std::to_string(r.width) +
               "," + std::to_string(r.height);
    };
    auto point = [](TNode_Point p) { return std::to_string(p.x) + "," + std::to_string(p.y); };
    return "marker " + rect(c.Marker_Rect) + " text " + rect(c.Text_Rect) + " link " +
           rect(c.Link_Rect) + " offset " + point(c.Box_Offset) + " box " +
           std::to_string(c.Box_Width) + "x" + std::to_string(c.Box_Height) + " pos " +
           point(c.Block_Pos) + " block " + std::to_string(c.Block_Width) + "x" +
           std::to_string(c.Block_Height) + " parent " + point(c.Parent_Anchor) + " own " +
           point(c.Own_Anchor) + " view " + std::to_string(n.View_Style_Used) + " link " +
           std::to_string(n.Link_Style_Used) + " depth " + std::to_string(n.Depth) + " font " +
           std::to_string(n.Font_Size);
}

// The linear layout must give every visible node exactly the values of the
// engines' repeated passes. Nodes inside collapsed branches are neither
// painted nor hit-tested, and the repeated passes leave throwaway values in
// some of them, so they are not compared.
TEST(LayoutReference, LinearLayoutMatchesRepeatedPassesOnRandomTrees) {
    TFixed_Metrics_Canvas canvas;
    int32_t compared = 0;
    for (uint32_t seed = 1; seed <= 300; ++seed) {
        testing::TRandom_Tree_Shape shape;
        shape.nodes = 5 + static_cast<int32_t>(seed % 60);
        shape.maxDepth = 2 + static_cast<int32_t>(seed % 6);
        auto expected = randomTree(seed, shape);
        auto actual = randomTree(seed, shape);
        referenceLayoutSubtree(canvas, *expected);
        layoutSubtree(canvas, *actual);
        auto want = visibleNodes(*expected);
        auto got = visibleNodes(*actual);
        ASSERT_EQ(want.size(), got.size()) << "seed " << seed;
        for (size_t i = 0; i < want.size(); ++i) {
            ASSERT_EQ(describe(*want[i]), describe(*got[i])) << "seed " << seed << " node " << i;
            ++compared;
        }
    }
    EXPECT_GT(compared, 3000);
}

// A layout started below the view root (the engines' own entry point) keeps
// the parent's placement and gives the same values as the reference.
TEST(LayoutReference, SubtreeLayoutMatchesReference) {
    TFixed_Metrics_Canvas canvas;
    for (uint32_t seed = 400; seed < 440; ++seed) {
        auto expected = randomTree(seed);
        auto actual = randomTree(seed);
        referenceLayoutSubtree(canvas, *expected);
        layoutSubtree(canvas, *actual);
        if (!expected->hasChildren()) continue;
        referenceLayoutSubtree(canvas, *expected->child(0));
        layoutSubtree(canvas, *actual->child(0));
        auto want = visibleNodes(*expected);
        auto got = visibleNodes(*actual);
        for (size_t i = 0; i < want.size(); ++i)
            ASSERT_EQ(describe(*want[i]), describe(*got[i])) << "seed " << seed << " node " << i;
    }
}

}  // namespace
}  // namespace vetra
