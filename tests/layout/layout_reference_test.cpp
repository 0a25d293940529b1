#include <gtest/gtest.h>

#include <string>

#include "layout/fixed_metrics_canvas.h"
#include "layout/layout_engine.h"
#include "layout/reference_layout.h"
#include "layout/tree_builder.h"

namespace vetra {
namespace {

using testing::randomTree;
using testing::referenceLayoutSubtree;

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
            auto wantNodes = testing::preorderNodes(*expected, true);
            auto gotNodes = testing::preorderNodes(*actual, true);
            ASSERT_EQ(wantNodes.size(), gotNodes.size()) << "seed " << seed;
            for (size_t i = 0; i < wantNodes.size(); ++i, compared += subtree ? 0 : 1)
                ASSERT_EQ(testing::describeLayout(*wantNodes[i],
                                                  testing::referenceOwnAnchor(*wantNodes[i])),
                          testing::describeLayout(*gotNodes[i]))
                    << "seed " << seed << " node " << i << (subtree ? " (subtree)" : "");
        }
    }
    EXPECT_GT(compared, 3000);
}

}  // namespace
}  // namespace vetra
