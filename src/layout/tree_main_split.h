#pragma once

#include <cstdint>

#include "model/tree_node.h"

namespace vetra {

// How a Tree_Main node divides its children between its left and right
// groups, and what the division costs in space.
struct TMain_Split {
    int32_t leftCount = 0;  // children 0 .. leftCount-1 stand on the left
    int64_t leftWidth = 0;  // widest left block plus the 30-pixel gap, 0 without one
    int64_t rightWidth = 0;
    int64_t height = 0;     // the node's block height
    int64_t leftBulge = 0;  // largest bulge in each group
    int64_t rightBulge = 0;
};

// Left-group size for children of the given block heights (the node
// expanded): one child for one or two children; otherwise the children up to
// the one where the running height reaches half the total, that one included
// when it overshoots half by no more than the group falls short without it.
int32_t leftGroupSize(const int32_t* heights, int32_t count);

// The same for a node whose children's blocks are sized; 0 when collapsed.
int32_t leftGroupSize(const TTree_Node& node);

// The split of a node with a box `boxHeight` high whose placed children have
// the given block sizes (count 0 for a collapsed node).
TMain_Split splitTreeMain(const int32_t* widths, const int32_t* heights, int32_t count,
                          int64_t boxHeight);

// Extra distance from the node of the child at `index` in a group of `count`:
// 20 pixels per step from the nearer end of the group.
int64_t mainBulge(int32_t count, int32_t index);

}  // namespace vetra
