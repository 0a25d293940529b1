#include "layout/reference_layout.h"

#include <algorithm>
#include <cmath>

#include "layout/layout_engine.h"
#include "layout/node_measure.h"
#include "layout/style_codes.h"

namespace vetra::testing {

namespace {

void layoutNode(TCanvas& canvas, TTree_Node& node);

}  // namespace

TNode_Point referenceOwnAnchor(const TTree_Node& node) {
    const TLayout_Cache& c = node.Layout;
    const int32_t w = c.Box_Width, h = c.Box_Height, engine = node.View_Style_Used;
    const TTree_Node* parent = node.Parent;
    if (parent == nullptr) return {};
    const bool up = engine == kView_Stru_Up && parent->View_Style_Used == 6;
    if (up || (engine == kView_Stru_Down && parent->View_Style_Used == 7))
        return {w / 2, up ? h : 0};
    const TNode_Point parentAt = absolutePosition(*parent);
    const TNode_Point p{parentAt.x + c.Parent_Anchor.x, parentAt.y + c.Parent_Anchor.y};
    const TNode_Point at = absolutePosition(node);
    const bool underline = node.Edge_Style == kEdge_Underline;
    if (p.x < at.x)
        return underline ? TNode_Point{c.Text_Rect.x, h - 2 - lineWidthUsed(node.Edge_Width)}
                         : TNode_Point{0, h / 2};
    if (at.x + w < p.x)
        return underline ? TNode_Point{c.Text_Rect.x + c.Text_Rect.width,
                                       h - 2 - lineWidthUsed(node.Edge_Width)}
                         : TNode_Point{w, h / 2};
    return p.y < at.y ? TNode_Point{w / 2, 0} : TNode_Point{w / 2, h};
}

namespace {

void layoutStacked(TCanvas& canvas, TTree_Node& node, int32_t engine) {
    node.resolveLinkStyle(engine <= 3 ? 4 : 3);
    node.propagateViewStyle(engine);
    measureNode(canvas, node);
    TLayout_Cache& c = node.Layout;
    const int32_t w = c.Box_Width, h = c.Box_Height;
    const bool rows = engine == 6 || engine == 7;
    int32_t sum = 0, most = 0;
    if (node.Expanded) {
        for (TTree_Node* child : node.Children) {
            child->propagateViewStyle(engine);
            layoutNode(canvas, *child);
            sum += rows ? child->Layout.Block_Width : child->Layout.Block_Height;
            most = std::max(most, rows ? child->Layout.Block_Height : child->Layout.Block_Width);
        }
    }
    const bool placed = node.Expanded && node.hasChildren();
    int32_t bw = w, bh = h;
    if (placed) {
        if (engine == 2 || engine == 3) {
            bw = most >= 1 ? w + most + 30 : w;
            bh = std::max(h, sum);
        } else if (engine == 4 || engine == 5) {
            most = std::max(w / 2, most);
            bw = w / 2 + most;
            bh = sum > 0 ? h + sum + 5 : h;
        } else {
            bw = std::max(w, sum);
            bh = most >= 1 ? h + most + 20 : h;
        }
    }
    c.Block_Width = bw;
    c.Block_Height = bh;
    // Engines 2 to 7: Tree_Left, Tree_Right, List_Left, List_Right, Stru_Up, Stru_Down.
    const TNode_Point offsets[] = {{bw - w, (bh - h) / 2}, {0, (bh - h) / 2}, {bw - w, 0}, {0, 0},
                                   {(bw - w) / 2, bh - h}, {(bw - w) / 2, 0}};
    c.Box_Offset = offsets[engine - 2];
    if (node.Expanded) {
        int32_t cursor = engine <= 3   ? h + c.Box_Offset.y - bh
                         : engine <= 5 ? h + 5
                                       : w + c.Box_Offset.x - bw;
        for (TTree_Node* child : node.Children) {
            TLayout_Cache& cc = child->Layout;
            const TNode_Point anchors[] = {{-5, h / 2},         {w + 5, h / 2}, {w / 2 + 10, h + 5},
                                           {w / 2 - 10, h + 5}, {w / 2, -5},    {w / 2, h + 5}};
            const TNode_Point places[] = {{-30 - cc.Block_Width, cursor},   {w + 30, cursor},
                                          {w / 2 - cc.Block_Width, cursor}, {w / 2, cursor},
                                          {cursor, -20 - cc.Block_Height},  {cursor, h + 20}};
            cc.Parent_Anchor = anchors[engine - 2];
            cc.Block_Pos = places[engine - 2];
            layoutNode(canvas, *child);
            cursor += rows ? cc.Block_Width : cc.Block_Height;
        }
    }
}

int32_t bulgeOf(int32_t g, int32_t j) {
    int32_t t = static_cast<int32_t>(std::fabs(std::trunc(((g - 1) * 0.5 - j) * 20)));
    return static_cast<int32_t>((g - 1) * 0.5 * 20 - t);
}

void layoutMain(TCanvas& canvas, TTree_Node& node) {
    node.View_Style_Used = 1;
    node.resolveLinkStyle(4);
    measureNode(canvas, node);
    TLayout_Cache& c = node.Layout;
    const int32_t w = c.Box_Width, h = c.Box_Height;
    const int32_t n = node.childCount();
    int32_t total = 0;
    for (TTree_Node* child : node.Children) {
        child->propagateViewStyle(3);
        layoutNode(canvas, *child);
        total += child->Layout.Block_Height;
    }
    int32_t k = node.Expanded && n > 0 && n <= 2 ? 1 : 0;
    if (node.Expanded && n > 2) {
        const int32_t half = total / 2;
        int32_t sum = 0;
        for (int32_t i = 0; i < n; ++i) {
            int32_t before = sum;
            sum += node.child(i)->Layout.Block_Height;
            if (sum >= half) {
                k = (sum - half) > (half - before) ? i : i + 1;
                break;
            }
        }
    }
    int32_t left = 0, leftWidth = 0, right = 0, rightWidth = 0;
    if (node.Expanded) {
        for (int32_t i = 0; i < n; ++i) {  // the first k on the left
            TTree_Node& child = *node.child(i);
            child.propagateViewStyle(i < k ? 2 : 3);
            layoutNode(canvas, child);
            (i < k ? left : right) += child.Layout.Block_Height;
            int32_t& width = i < k ? leftWidth : rightWidth;
            width = std::max(width, child.Layout.Block_Width);
        }
    }
    c.Block_Height = std::max({h, left, right});
    const int32_t lw = leftWidth > 0 ? leftWidth + 30 : 0;
    const int32_t rw = rightWidth > 0 ? rightWidth + 30 : 0;
    c.Block_Width = lw + w + rw;
    c.Box_Offset = {lw, (c.Block_Height - h) / 2};
    int32_t bulgeLeft = 0, bulgeRight = 0;
    if (node.Expanded) {
        const int32_t top = h + c.Box_Offset.y - c.Block_Height;
        int32_t y[2] = {top, top};  // right, left
        for (int32_t i = 0; i < n; ++i) {
            TLayout_Cache& cc = node.child(i)->Layout;
            const bool onLeft = i < k;
            const int32_t b = onLeft ? bulgeOf(k, i) : bulgeOf(n - k, i - k);
            cc.Parent_Anchor = {onLeft ? -5 : w + 5, h / 2};
            cc.Block_Pos = {onLeft ? -30 - b - cc.Block_Width : w + 30 + b, y[onLeft]};
            layoutNode(canvas, *node.child(i));
            y[onLeft] += cc.Block_Height;
            int32_t& bulge = onLeft ? bulgeLeft : bulgeRight;
            bulge = std::max(bulge, b);
        }
    }
    c.Block_Width += bulgeLeft + bulgeRight;
    c.Box_Offset.x += bulgeLeft;
}

void layoutNode(TCanvas& canvas, TTree_Node& node) {
    const int32_t code = node.View_Style_Used;
    if (code < 1 || code > 7 || code == 1)
        layoutMain(canvas, node);
    else
        layoutStacked(canvas, node, code);
}

}  // namespace

void referenceLayoutSubtree(TCanvas& canvas, TTree_Node& node) {
    if (node.Parent == nullptr) {
        if (node.View_Style == 0) node.propagateViewStyle(1);
        setDepthAndFontSize(node, 1);
    }
    layoutNode(canvas, node);
}

}  // namespace vetra::testing
