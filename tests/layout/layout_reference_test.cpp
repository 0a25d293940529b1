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

std::string describe(const TTree_Node& n, TNode_Point ownEnd) {
    const TLayout_Cache& c = n.Layout;
    auto rect = [](const TNode_Rect& r) {
        return std::to_string(r.x) + "," + std::to_string(r.y) + "," + std::to_string(r.width) +
               "," + std::to_string(r.height);
    };
    auto point = [](TNode_Point p) { return std::to_string(p.x) + "," + std::to_string(p.y); };
    return "marker " + rect(markerRect(n)) + " text " + rect(c.Text_Rect) + " link " +
           rect(linkRect(n)) + " offset " + point(c.Box_Offset) + " box " +
           std::to_string(c.Box_Width) + "x" + std::to_string(c.Box_Height) + " pos " +
           point(c.Block_Pos) + " block " + std::to_string(c.Block_Width) + "x" +
           std::to_string(c.Block_Height) + " parent " + point(c.Parent_Anchor) + " own " +
           point(ownEnd) + " view " + std::to_string(n.View_Style_Used) + " link " +
           std::to_string(n.Link_Style_Used) + " depth " + std::to_string(n.Depth) + " font " +
           std::to_string(n.Font_Size);
}

// The linear layout must give every visible node exactly the values of the
// engines' repeated passes, and so must a layout started below the view root
// (the engines' own entry point), which keeps the parent's placement. Nodes
// inside collapsed branches are neither painted nor hit-tested, and the
// repeated passes leave throwaway values in some of them, so they are not
// compared.
TEST(LayoutReference, LinearLayoutMatchesRepeatedPassesOnRandomTrees) {
    TFixed_Metrics_Canvas canvas;
    int32_t compared = 0;
    for (uint32_t seed = 1; seed <= 300; ++seed) {
        testing::TRandom_Tree_Shape shape;
        shape.nodes = 5 + static_cast<int32_t>(seed % 60);
        shape.maxDepth = 2 + static_cast<int32_t>(seed % 6);
        auto expected = randomTree(seed, shape);
        auto actual = randomTree(seed, shape);
        for (bool subtree : {false, true}) {
            TTree_Node* want = expected.get();
            TTree_Node* got = actual.get();
            if (subtree) {
                if (!want->hasChildren()) break;
                want = want->child(0), got = got->child(0);
            }
            referenceLayoutSubtree(canvas, *want);
            layoutSubtree(canvas, *got);
            auto wantNodes = visibleNodes(*expected);
            auto gotNodes = visibleNodes(*actual);
            ASSERT_EQ(wantNodes.size(), gotNodes.size()) << "seed " << seed;
            for (size_t i = 0; i < wantNodes.size(); ++i, compared += subtree ? 0 : 1)
                ASSERT_EQ(describe(*wantNodes[i], testing::referenceOwnAnchor(*wantNodes[i])),
                          describe(*gotNodes[i], ownAnchor(*gotNodes[i])))
                    << "seed " << seed << " node " << i << (subtree ? " (subtree)" : "");
        }
    }
    EXPECT_GT(compared, 3000);
}

}  // namespace
}  // namespace vetra
