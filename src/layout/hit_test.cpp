#include "layout/hit_test.h"

#include <algorithm>

#include "layout/layout_engine.h"
#include "layout/node_measure.h"
#include "model/selection.h"

namespace vetra {

namespace {

bool inside(const TNode_Rect& r, int64_t x0, int64_t y0, int32_t x, int32_t y) {
    return x0 + r.x <= x && x <= x0 + r.x + r.width && y0 + r.y <= y && y <= y0 + r.y + r.height;
}

int32_t hitAt(const TTree_Node& node, TNode_Point at, int32_t x, int32_t y) {
    const TLayout_Cache& c = node.Layout;
    if (node.Link.isPresent() && !node.Link.isEmpty() && inside(linkRect(node), at.x, at.y, x, y))
        return kPart_Link;
    if (node.hasChildren() && inside(markerRect(node), at.x, at.y, x, y)) return kPart_Marker;
    if (inside({0, 0, c.Box_Width, c.Box_Height}, at.x, at.y, x, y)) return kPart_Box;
    return kPart_None;
}

}  // namespace

int32_t hitNode(const TTree_Node& node, int32_t x, int32_t y) {
    return hitAt(node, absolutePosition(node), x, y);
}

TNode_Hit hitSubtree(TTree_Node& root, int32_t x, int32_t y) {
    TNode_Hit hit;
    hit.node = findVisiblePlaced(root, [&](TTree_Node& node, TNode_Point at) {
        hit.part = hitAt(node, at, x, y);
        return hit.part != kPart_None;
    });
    if (hit.node == nullptr) hit.part = kPart_None;
    return hit;
}

void selectInRectangle(TTree_Node& root, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    const int64_t left = std::min(x1, x2), right = std::max(x1, x2);
    const int64_t top = std::min(y1, y2), bottom = std::max(y1, y2);
    forEachVisiblePlaced(root, [&](TTree_Node& node, TNode_Point at) {
        const bool meets = left <= int64_t{at.x} + node.Layout.Box_Width && at.x <= right &&
                           int64_t{at.y} + node.Layout.Box_Height >= top && at.y <= bottom;
        node.setSelected(meets);
    });
}

TFirst_Selected firstSelected(TTree_Node& root) {
    const std::vector<TTree_Node*> selected = selectedList(root);
    if (selected.empty()) return {};
    return {selected.front(), static_cast<int32_t>(selected.size())};
}

void collectSelected(TTree_Node& root, std::vector<TTree_Node*>& out) {
    const std::vector<TTree_Node*> selected = selectedList(root);
    out.insert(out.end(), selected.begin(), selected.end());
}

void collectSelectedTops(TTree_Node& root, std::vector<TTree_Node*>& out) {
    if (root.selected()) {
        out.push_back(&root);
        return;
    }
    collectSelected(root, out);
}

}  // namespace vetra
