#pragma once

#include <cstdint>

#include "layout/canvas.h"
#include "model/tree_node.h"

namespace vetra {

class TText_Measure_Cache;

// Largest coordinate or extent a layout produces. Sums past it are cut to it,
// so a hostile document (huge captions, very long chains) gives a clipped
// drawing instead of overflowing.
inline constexpr int64_t kMax_Extent = int64_t{1} << 29;

// Sets Depth (`depth` for the node, one more per level) and the caption size
// that goes with it, for the node and every descendant.
void setDepthAndFontSize(TTree_Node& node, int32_t depth);

// Lays out the node's subtree with the engines of the view styles. A node
// without a parent is a view root: Auto resolves to Tree_Main and depths and
// font sizes are set from 1 first. Every visible node (reached through
// expanded nodes) gets its View_Style_Used, Link_Style_Used and layout cache;
// nodes inside collapsed branches are left as they were. The work is linear
// in the number of visible nodes: one sizing pass from the leaves up and one
// placing pass from the top down, with the results of the engines' repeated
// passes.
void layoutSubtree(TCanvas& canvas, TTree_Node& node, TText_Measure_Cache* cache = nullptr);

// Which nodes an incremental layout reads one by one: the changed nodes with
// their whole subtrees, and the path from the layout's root down to them.
class TLayout_Scope {
  public:
    virtual ~TLayout_Scope() = default;
    // The node's own fields or its list of children changed.
    virtual bool isChanged(const TTree_Node* node) const = 0;
    // The node is an ancestor of a changed node.
    virtual bool isOnPath(const TTree_Node* node) const = 0;
};

// The layout of `layoutSubtree`, reading only the nodes of the scope: every
// other visible subtree keeps its inside and is placed as one block from its
// cached sizes. Requires: a complete layout of the same subtree before, with
// nothing changed since outside the scope's changed subtrees. The results
// equal those of `layoutSubtree`.
void layoutSubtreeInScope(TCanvas& canvas, TTree_Node& root, const TLayout_Scope& scope,
                          TText_Measure_Cache* cache = nullptr);

// Top-left corner of the node's box: the sum of Box_Offset and Block_Pos over
// the node and its ancestors (picture coordinates while its view is shown).
TNode_Point absolutePosition(const TTree_Node& node);

// The connector end on the child's side, relative to its box, by the
// geometric rule: the side of the box that faces the parent's anchor.
TNode_Point geometricAnchor(const TTree_Node& child);
// The connector's end at the node's own box, relative to it: the row engines
// join a parent of the same engine at the middle of the facing edge;
// otherwise the geometric rule; (0, 0) without a parent. Follows from the
// node's layout cache and styles and its parent's engine, so the node does
// not keep it.
TNode_Point ownAnchor(const TTree_Node& node);

// Stores `value` only when it differs: a layout that changes nothing leaves
// the nodes' memory clean, so a re-layout of a large tree writes nothing back.
template <class T>
inline void storeIfChanged(T& field, const T& value) {
    if (!(field == value)) field = value;
}

// Clamps a 64-bit coordinate into the range layouts use.
inline int32_t clampExtent(int64_t value) {
    if (value > kMax_Extent) return static_cast<int32_t>(kMax_Extent);
    if (value < -kMax_Extent) return static_cast<int32_t>(-kMax_Extent);
    return static_cast<int32_t>(value);
}

}  // namespace vetra
