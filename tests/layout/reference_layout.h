#pragma once

#include "layout/canvas.h"
#include "model/tree_node.h"

namespace vetra::testing {

// The layout engines exactly as their rules read: each engine lays a child
// subtree out again for every pass (twice, three times under Tree_Main), so
// the cost grows exponentially with depth. Kept only to check the linear
// layout on small trees; recursive, so only for shallow trees.
void referenceLayoutSubtree(TCanvas& canvas, TTree_Node& node);
// The connector's end on the node's box, worked out from absolute places
// after a layout, as the rule reads.
TNode_Point referenceOwnAnchor(const TTree_Node& node);

}  // namespace vetra::testing
