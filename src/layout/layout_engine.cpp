#include "layout/layout_engine.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "layout/node_measure.h"
#include "layout/style_codes.h"
#include "layout/tree_main_split.h"

namespace vetra {

void setDepthAndFontSize(TTree_Node& node, int32_t depth) {
    struct TPending {
        TTree_Node* node;
        int32_t depth;
    };
    std::vector<TPending> pending{{&node, depth}};
    while (!pending.empty()) {
        TPending at = pending.back();
        pending.pop_back();
        at.node->Depth = at.depth;
        at.node->Font_Size = fontSizeForDepth(at.depth);
        for (TTree_Node* child : at.node->Children) pending.push_back({child, at.depth + 1});
    }
}

TNode_Point absolutePosition(const TTree_Node& node) {
    int64_t x = 0, y = 0;
    for (const TTree_Node* at = &node; at != nullptr; at = at->Parent) {
        x += int64_t{at->Layout.Box_Offset.x} + at->Layout.Block_Pos.x;
        y += int64_t{at->Layout.Box_Offset.y} + at->Layout.Block_Pos.y;
    }
    return {clampExtent(x), clampExtent(y)};
}

TNode_Point geometricAnchor(const TTree_Node& child) {
    const TLayout_Cache& c = child.Layout;
    const int32_t w = c.Box_Width, h = c.Box_Height;
    // Positions relative to the parent's box: the parent's own place cancels.
    const int64_t boxX = int64_t{c.Block_Pos.x} + c.Box_Offset.x;
    const int64_t boxY = int64_t{c.Block_Pos.y} + c.Box_Offset.y;
    const bool underline = child.Edge_Style == kEdge_Underline;
    if (c.Parent_Anchor.x < boxX) {
        if (underline) return {c.Text_Rect.x, h - 2 - child.Edge_Width};
        return {0, h / 2};
    }
    if (boxX + w < c.Parent_Anchor.x) {
        if (underline) return {c.Text_Rect.x + c.Text_Rect.width, h - 2 - child.Edge_Width};
        return {w, h / 2};
    }
    if (c.Parent_Anchor.y < boxY) return {w / 2, 0};
    return {w / 2, h};
}

namespace {

bool placesChildren(const TTree_Node& node) {
    return node.Expanded && node.hasChildren();
}

// Sizing: box, Block_Width and Block_Height from the children's blocks.
void sizeBlock(TTree_Node& node) {
    TLayout_Cache& cache = node.Layout;
    const int64_t w = cache.Box_Width, h = cache.Box_Height;
    if (!placesChildren(node)) {
        cache.Block_Width = cache.Box_Width;
        cache.Block_Height = cache.Box_Height;
        return;
    }
    const int32_t engine = engineCode(node.View_Style_Used);
    if (engine == kView_Tree_Main) {
        TMain_Split split = splitTreeMain(node);
        cache.Block_Width = clampExtent(split.leftWidth + w + split.rightWidth + split.leftBulge +
                                        split.rightBulge);
        cache.Block_Height = clampExtent(split.height);
        return;
    }
    int64_t sum = 0, most = 0;
    const bool stacksRows = engine == kView_Stru_Up || engine == kView_Stru_Down;
    for (const TTree_Node* child : node.Children) {
        const TLayout_Cache& c = child->Layout;
        sum += stacksRows ? c.Block_Width : c.Block_Height;
        most = std::max<int64_t>(most, stacksRows ? c.Block_Height : c.Block_Width);
    }
    int64_t width = w, height = h;
    switch (engine) {
        case kView_Tree_Left:
        case kView_Tree_Right:
            width = most >= 1 ? w + most + 30 : w;
            height = std::max(h, sum);
            break;
        case kView_List_Left:
        case kView_List_Right:
            width = w / 2 + std::max(w / 2, most);
            height = sum > 0 ? h + sum + 5 : h;
            break;
        default:  // the two row engines
            width = std::max(w, sum);
            height = most >= 1 ? h + most + 20 : h;
            break;
    }
    cache.Block_Width = clampExtent(width);
    cache.Block_Height = clampExtent(height);
}

TNode_Point boxOffset(const TTree_Node& node) {
    const TLayout_Cache& c = node.Layout;
    const int32_t w = c.Box_Width, h = c.Box_Height;
    const int32_t bw = c.Block_Width, bh = c.Block_Height;
    switch (engineCode(node.View_Style_Used)) {
        case kView_Tree_Left:
            return {bw - w, (bh - h) / 2};
        case kView_Tree_Right:
            return {0, (bh - h) / 2};
        case kView_List_Left:
            return {bw - w, 0};
        case kView_List_Right:
            return {0, 0};
        case kView_Stru_Up:
            return {(bw - w) / 2, bh - h};
        case kView_Stru_Down:
            return {(bw - w) / 2, 0};
        default: {
            if (!placesChildren(node)) return {0, (bh - h) / 2};
            TMain_Split split = splitTreeMain(node);
            return {clampExtent(split.leftWidth + split.leftBulge), (bh - h) / 2};
        }
    }
}

TNode_Point ownAnchor(const TTree_Node& node) {
    const TTree_Node* parent = node.Parent;
    if (parent == nullptr) return node.Layout.Own_Anchor;
    const int32_t engine = engineCode(node.View_Style_Used);
    const int32_t w = node.Layout.Box_Width, h = node.Layout.Box_Height;
    if (engine == kView_Stru_Up && parent->View_Style_Used == kView_Stru_Up) return {w / 2, h};
    if (engine == kView_Stru_Down && parent->View_Style_Used == kView_Stru_Down) return {w / 2, 0};
    return geometricAnchor(node);
}

// Placing: the children's View_Style_Used, Parent_Anchor and Block_Pos.
void placeChildren(TTree_Node& node) {
    const TLayout_Cache& c = node.Layout;
    const int64_t w = c.Box_Width, h = c.Box_Height;
    const int32_t engine = engineCode(node.View_Style_Used);
    const int32_t count = node.childCount();
    if (engine == kView_Tree_Main) {
        TMain_Split split = splitTreeMain(node);
        const int64_t top = h + c.Box_Offset.y - c.Block_Height;
        int64_t leftY = top, rightY = top;
        for (int32_t i = 0; i < count; ++i) {
            TTree_Node& child = *node.child(i);
            TLayout_Cache& cc = child.Layout;
            const bool left = i < split.leftCount;
            if (child.View_Style == kView_Auto)
                child.View_Style_Used = left ? kView_Tree_Left : kView_Tree_Right;
            const int64_t bulge = left ? mainBulge(split.leftCount, i)
                                       : mainBulge(count - split.leftCount, i - split.leftCount);
            if (left) {
                cc.Parent_Anchor = {-5, static_cast<int32_t>(h / 2)};
                cc.Block_Pos = {clampExtent(-30 - bulge - cc.Block_Width), clampExtent(leftY)};
                leftY += cc.Block_Height;
            } else {
                cc.Parent_Anchor = {static_cast<int32_t>(w + 5), static_cast<int32_t>(h / 2)};
                cc.Block_Pos = {clampExtent(w + 30 + bulge), clampExtent(rightY)};
                rightY += cc.Block_Height;
            }
        }
        return;
    }
    int64_t cursor = 0;
    if (engine == kView_Tree_Left || engine == kView_Tree_Right)
        cursor = h + c.Box_Offset.y - c.Block_Height;
    else if (engine == kView_List_Left || engine == kView_List_Right)
        cursor = h + 5;
    else
        cursor = w + c.Box_Offset.x - c.Block_Width;
    for (TTree_Node* child : node.Children) {
        TLayout_Cache& cc = child->Layout;
        if (child->View_Style == kView_Auto) child->View_Style_Used = engine;
        const int32_t at = clampExtent(cursor);
        switch (engine) {
            case kView_Tree_Left:
                cc.Parent_Anchor = {-5, static_cast<int32_t>(h / 2)};
                cc.Block_Pos = {clampExtent(-30 - int64_t{cc.Block_Width}), at};
                cursor += cc.Block_Height;
                break;
            case kView_Tree_Right:
                cc.Parent_Anchor = {static_cast<int32_t>(w + 5), static_cast<int32_t>(h / 2)};
                cc.Block_Pos = {clampExtent(w + 30), at};
                cursor += cc.Block_Height;
                break;
            case kView_List_Left:
                cc.Parent_Anchor = {static_cast<int32_t>(w / 2 + 10), static_cast<int32_t>(h + 5)};
                cc.Block_Pos = {clampExtent(w / 2 - cc.Block_Width), at};
                cursor += cc.Block_Height;
                break;
            case kView_List_Right:
                cc.Parent_Anchor = {static_cast<int32_t>(w / 2 - 10), static_cast<int32_t>(h + 5)};
                cc.Block_Pos = {static_cast<int32_t>(w / 2), at};
                cursor += cc.Block_Height;
                break;
            case kView_Stru_Up:
                cc.Parent_Anchor = {static_cast<int32_t>(w / 2), -5};
                cc.Block_Pos = {at, clampExtent(-20 - int64_t{cc.Block_Height})};
                cursor += cc.Block_Width;
                break;
            default:
                cc.Parent_Anchor = {static_cast<int32_t>(w / 2), static_cast<int32_t>(h + 5)};
                cc.Block_Pos = {at, clampExtent(h + 20)};
                cursor += cc.Block_Width;
                break;
        }
    }
}

}  // namespace

void layoutSubtree(TCanvas& canvas, TTree_Node& root, TText_Measure_Cache* cache) {
    const bool isViewRoot = root.Parent == nullptr;
    if (isViewRoot) {
        if (root.View_Style == kView_Auto) root.View_Style_Used = kView_Tree_Main;
        root.Depth = 1;
        root.Font_Size = fontSizeForDepth(1);
    }

    // Visible nodes in pre-order (the order a document is read in, so the
    // walk runs through memory mostly forward), with depths, font sizes and
    // the styles the sizing needs: an Auto child of Tree_Main is sized as
    // Tree_Right (Tree_Left gives the same sizes; the left group is settled
    // while placing). Hidden branches get their depths and font sizes too.
    std::vector<TTree_Node*> order;
    std::vector<TTree_Node*> pending{&root};
    while (!pending.empty()) {
        TTree_Node& node = *pending.back();
        pending.pop_back();
        order.push_back(&node);
        const int32_t engine = engineCode(node.View_Style_Used);
        if (engine == kView_Tree_Main) node.View_Style_Used = kView_Tree_Main;
        node.resolveLinkStyle(defaultLinkStyle(engine));
        if (!placesChildren(node)) {
            if (isViewRoot)
                for (TTree_Node* child : node.Children) setDepthAndFontSize(*child, node.Depth + 1);
            continue;
        }
        const int32_t childCode = engine == kView_Tree_Main ? kView_Tree_Right : engine;
        for (int32_t i = node.childCount(); i-- > 0;) {
            TTree_Node* child = node.child(i);
            if (child->View_Style == kView_Auto) child->View_Style_Used = childCode;
            if (isViewRoot) {
                child->Depth = node.Depth + 1;
                child->Font_Size = fontSizeForDepth(child->Depth);
            }
            pending.push_back(child);
        }
    }
    // The pre-order reversed visits every child before its parent.
    for (size_t at = order.size(); at-- > 0;) {
        TTree_Node& node = *order[at];
        measureNode(canvas, node, cache);
        sizeBlock(node);
    }
    // Parents are placed before their children: each node's anchor sees the
    // final place of its block.
    for (TTree_Node* node : order) {
        node->Layout.Box_Offset = boxOffset(*node);
        node->Layout.Own_Anchor = ownAnchor(*node);
        if (placesChildren(*node)) placeChildren(*node);
    }
}

}  // namespace vetra
