#pragma once

#include <cstdint>
#include <vector>

#include "layout/layout_engine.h"
#include "layout/view_paint.h"
#include "model/tree_node.h"

namespace vetra {

// The part of the node at picture point (x, y), bounds inclusive: the link
// indicator, then the marker, then the whole box; kPart_None when outside.
int32_t hitNode(const TTree_Node& node, int32_t x, int32_t y);

struct TNode_Hit {
    TTree_Node* node = nullptr;
    int32_t part = kPart_None;
};

// The first node hit in pre-order (a parent before its children, an earlier
// sibling before a later one), entering only expanded nodes.
TNode_Hit hitSubtree(TTree_Node& root, int32_t x, int32_t y);

// Selects every visible node whose box meets the rectangle (corners in any
// order) and deselects every other visible node; nodes inside collapsed
// branches keep their state.
void selectInRectangle(TTree_Node& root, int32_t x1, int32_t y1, int32_t x2, int32_t y2);

struct TFirst_Selected {
    TTree_Node* node = nullptr;
    int32_t count = 0;
};

// Selection queries over the visible nodes, in pre-order.
TFirst_Selected firstSelected(TTree_Node& root);
void collectSelected(TTree_Node& root, std::vector<TTree_Node*>& out);
// `root` alone when it is selected, otherwise every selected visible node
// below it.
void collectSelectedTops(TTree_Node& root, std::vector<TTree_Node*>& out);

// Calls visit(node) for the node and every visible descendant in pre-order.
template <class TVisit>
void forEachVisible(TTree_Node& root, TVisit visit) {
    std::vector<TTree_Node*> pending{&root};
    while (!pending.empty()) {
        TTree_Node* node = pending.back();
        pending.pop_back();
        visit(*node);
        if (!node->Expanded) continue;
        for (int32_t i = node->childCount(); i-- > 0;) pending.push_back(node->child(i));
    }
}

// Walks the visible nodes in pre-order with their absolute box positions,
// carried down so the walk is linear, and stops at the first node for which
// visit(node, at) returns true; that node, or null.
template <class TVisit>
TTree_Node* findVisiblePlaced(TTree_Node& root, TVisit visit) {
    struct TPlaced {
        TTree_Node* node;
        TNode_Point at;
    };
    std::vector<TPlaced> pending{{&root, absolutePosition(root)}};
    while (!pending.empty()) {
        TPlaced placed = pending.back();
        pending.pop_back();
        if (visit(*placed.node, placed.at)) return placed.node;
        if (!placed.node->Expanded) continue;
        for (int32_t i = placed.node->childCount(); i-- > 0;) {
            TTree_Node* child = placed.node->child(i);
            const TLayout_Cache& c = child->Layout;
            pending.push_back(
                {child,
                 {clampExtent(int64_t{placed.at.x} + c.Block_Pos.x + c.Box_Offset.x),
                  clampExtent(int64_t{placed.at.y} + c.Block_Pos.y + c.Box_Offset.y)}});
        }
    }
    return nullptr;
}

// Calls visit(node, at) for every visible node, as findVisiblePlaced walks.
template <class TVisit>
void forEachVisiblePlaced(TTree_Node& root, TVisit visit) {
    findVisiblePlaced(root, [&](TTree_Node& node, TNode_Point at) {
        visit(node, at);
        return false;
    });
}

}  // namespace vetra
