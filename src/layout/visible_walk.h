#pragma once

// The walk over the nodes that draw inside a rectangle of the picture,
// shared by painting and by the record of what was painted.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "layout/layout_engine.h"
#include "layout/view_paint.h"

namespace vetra {

// Room around a block for connectors, pen widths, highlights and glyphs that
// overhang their measured boxes.
constexpr int64_t kOverhang = 16;

struct TVisible_Node {
    TTree_Node* node;
    TNode_Point at;  // absolute box position
};

inline bool connectorMeets(const TTree_Node& child, TNode_Point at, TNode_Point parentAt,
                           const TPicture_Rect& clip) {
    const TNode_Point ownEnd = ownAnchor(child);
    const int64_t ax = int64_t{at.x} + ownEnd.x, ay = int64_t{at.y} + ownEnd.y;
    const int64_t bx = int64_t{parentAt.x} + child.Layout.Parent_Anchor.x;
    const int64_t by = int64_t{parentAt.y} + child.Layout.Parent_Anchor.y;
    return clip.meets(std::min(ax, bx) - kOverhang, std::min(ay, by) - kOverhang,
                      std::max(ax, bx) + kOverhang, std::max(ay, by) + kOverhang);
}

inline bool blockMeets(const TTree_Node& child, TNode_Point parentAt, const TPicture_Rect& clip) {
    const int64_t left = int64_t{parentAt.x} + child.Layout.Block_Pos.x;
    const int64_t top = int64_t{parentAt.y} + child.Layout.Block_Pos.y;
    return clip.meets(left - kOverhang, top - kOverhang,
                      left + child.Layout.Block_Width + kOverhang,
                      top + child.Layout.Block_Height + kOverhang);
}

inline bool boxMeets(const TTree_Node& node, TNode_Point at, const TPicture_Rect& clip) {
    return clip.meets(int64_t{at.x} - kOverhang, int64_t{at.y} - kOverhang,
                      int64_t{at.x} + node.Layout.Box_Width + kOverhang,
                      int64_t{at.y} + node.Layout.Box_Height + kOverhang);
}

// Visits, in pre-order, the visible nodes whose box or connector may draw
// inside `clip`; descends only into blocks that meet it. A screen of a huge
// drawing costs its own nodes and the path down to them.
template <class TVisit>
void forEachNodeIn(TTree_Node& root, const TPicture_Rect& clip, TVisit visit) {
    struct TEntry {
        TVisible_Node placed;
        bool draws;
    };
    const TNode_Point rootAt = absolutePosition(root);
    std::vector<TEntry> pending{{{&root, rootAt}, true}};
    while (!pending.empty()) {
        TEntry entry = pending.back();
        pending.pop_back();
        TTree_Node& node = *entry.placed.node;
        const TNode_Point at = entry.placed.at;
        if (entry.draws) visit(node, at);
        if (!node.Expanded) continue;
        for (int32_t i = node.childCount(); i-- > 0;) {
            TTree_Node& child = *node.child(i);
            const TLayout_Cache& c = child.Layout;
            TNode_Point childAt{clampExtent(int64_t{at.x} + c.Block_Pos.x + c.Box_Offset.x),
                                clampExtent(int64_t{at.y} + c.Block_Pos.y + c.Box_Offset.y)};
            const bool draws =
                boxMeets(child, childAt, clip) || connectorMeets(child, childAt, at, clip);
            if (draws || blockMeets(child, at, clip)) pending.push_back({{&child, childAt}, draws});
        }
    }
}

}  // namespace vetra
