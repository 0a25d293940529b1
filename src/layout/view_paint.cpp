#include "layout/view_paint.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "layout/layout_engine.h"
#include "layout/node_measure.h"
#include "layout/style_codes.h"

namespace vetra {

namespace {

// Room around a block for connectors, pen widths, highlights and glyphs that
// overhang their measured boxes.
constexpr int64_t kOverhang = 16;

struct TPlaced {
    TTree_Node* node;
    TNode_Point at;  // absolute box position
};

bool connectorMeets(const TTree_Node& child, TNode_Point at, TNode_Point parentAt,
                    const TPicture_Rect& clip) {
    const int64_t ax = int64_t{at.x} + child.Layout.Own_Anchor.x;
    const int64_t ay = int64_t{at.y} + child.Layout.Own_Anchor.y;
    const int64_t bx = int64_t{parentAt.x} + child.Layout.Parent_Anchor.x;
    const int64_t by = int64_t{parentAt.y} + child.Layout.Parent_Anchor.y;
    return clip.meets(std::min(ax, bx) - kOverhang, std::min(ay, by) - kOverhang,
                      std::max(ax, bx) + kOverhang, std::max(ay, by) + kOverhang);
}

bool blockMeets(const TTree_Node& child, TNode_Point parentAt, const TPicture_Rect& clip) {
    const int64_t left = int64_t{parentAt.x} + child.Layout.Block_Pos.x;
    const int64_t top = int64_t{parentAt.y} + child.Layout.Block_Pos.y;
    return clip.meets(left - kOverhang, top - kOverhang,
                      left + child.Layout.Block_Width + kOverhang,
                      top + child.Layout.Block_Height + kOverhang);
}

bool boxMeets(const TTree_Node& node, TNode_Point at, const TPicture_Rect& clip) {
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
        TPlaced placed;
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

void outlineBox(const TTree_Node& node, TNode_Point at, int32_t grow, TCanvas& canvas) {
    const int32_t w = node.Layout.Box_Width - lineWidthUsed(node.Edge_Width) - 2;
    const int32_t h = node.Layout.Box_Height - lineWidthUsed(node.Edge_Width) - 2;
    canvas.roundRect(at.x - grow, at.y - grow, at.x + w + grow, at.y + h + grow, 10, 10);
}

}  // namespace

void relayoutView(TCanvas& metrics, TTree_Node& root, int32_t clientWidth, int32_t clientHeight,
                  TView_Picture& picture, TText_Measure_Cache* cache) {
    root.Parent = nullptr;
    picture.Hover_Drawn = false;
    picture.Hover_Node = nullptr;
    picture.Hover_Part = kPart_None;
    picture.Selection_Drawn = false;
    layoutSubtree(metrics, root, cache);
    fitPictureToLayout(root, clientWidth, clientHeight, picture);
}

void fitPictureToLayout(TTree_Node& root, int32_t clientWidth, int32_t clientHeight,
                        TView_Picture& picture) {
    picture.Width =
        clampExtent(std::max<int64_t>(int64_t{root.Layout.Block_Width} + 40, clientWidth));
    picture.Height =
        clampExtent(std::max<int64_t>(int64_t{root.Layout.Block_Height} + 40, clientHeight));
    root.Layout.Block_Pos = {(picture.Width - root.Layout.Block_Width) / 2,
                             (picture.Height - root.Layout.Block_Height) / 2};
    picture.Selection_Drawn = true;
}

void paintSubtree(TCanvas& canvas, TTree_Node& root, const TPaint_Options& options,
                  const TPicture_Rect& clip) {
    forEachNodeIn(root, clip,
                  [&](TTree_Node& node, TNode_Point at) { paintNode(canvas, node, at, options); });
}

void drawSelectionHighlight(TCanvas& canvas, TTree_Node& root, const TPicture_Rect& clip) {
    bool started = false;
    forEachNodeIn(root, clip, [&](TTree_Node& node, TNode_Point at) {
        if (!node.selected()) return;
        if (!started) {
            canvas.setPenMode(TPen_Mode::Xor);
            canvas.setBrushStyle(TBrush_Style::Solid);
            canvas.setBrushColor(0);
            started = true;
        }
        canvas.setPenWidth(2);
        canvas.setPenColor(0xD04030);
        outlineBox(node, at, 2, canvas);
        canvas.setPenWidth(1);
        canvas.setPenColor(0x111111);
        outlineBox(node, at, 1, canvas);
    });
    if (started) canvas.setPenMode(TPen_Mode::Copy);
}

void drawHoverHighlight(TCanvas& canvas, const TTree_Node& node, int32_t part) {
    const TNode_Point at = absolutePosition(node);
    canvas.setPenMode(TPen_Mode::Xor);
    canvas.setBrushStyle(TBrush_Style::Solid);
    canvas.setBrushColor(0x202020);
    canvas.setPenWidth(2);
    canvas.setPenColor(0);
    outlineBox(node, at, 0, canvas);
    const std::optional<TNode_Rect> around = part == kPart_Link     ? linkRect(node)
                                             : part == kPart_Marker ? markerRect(node)
                                                                    : std::optional<TNode_Rect>();
    if (around.has_value()) {
        canvas.setBrushColor(0x20FFF0);
        canvas.setPenColor(0x010101);
        canvas.ellipse(at.x + around->x - 1, at.y + around->y - 1,
                       at.x + around->x + around->width + 1, at.y + around->y + around->height + 1);
    }
    canvas.setPenWidth(1);
    canvas.setPenMode(TPen_Mode::Copy);
}

void paintViewPicture(TCanvas& canvas, TTree_Node& root, const TView_Picture& picture,
                      const TPaint_Options& options, const TPicture_Rect& clip) {
    canvas.fillRect(clip.left, clip.top, clip.right, clip.bottom, options.background);
    paintSubtree(canvas, root, options, clip);
    if (picture.Selection_Drawn) drawSelectionHighlight(canvas, root, clip);
    if (picture.Hover_Drawn && picture.Hover_Node != nullptr)
        drawHoverHighlight(canvas, *picture.Hover_Node, picture.Hover_Part);
}

void paintGeniusIcon(TCanvas& canvas, int32_t background) {
    canvas.fillRect(0, 0, 16, 16, background);
    canvas.setPenMode(TPen_Mode::Copy);
    canvas.setPenWidth(1);
    canvas.setBrushStyle(TBrush_Style::Solid);
    canvas.setBrushColor(background);
    const struct {
        int32_t pen, inset;
    } rings[] = {{0xF3B1D2, 1}, {0x996699, 2}, {0xF1F2F3, 3}, {0xE1F2F3, 4}};
    for (const auto& ring : rings) {
        if (ring.inset == 4) canvas.setBrushColor(0xA1B2C5);
        canvas.setPenColor(ring.pen);
        canvas.roundRect(ring.inset, ring.inset, 16 - ring.inset, 16 - ring.inset, 4, 4);
    }
}

}  // namespace vetra
