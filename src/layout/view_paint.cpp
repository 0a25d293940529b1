#include "layout/view_paint.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "layout/layout_engine.h"
#include "layout/node_measure.h"
#include "layout/paint_record.h"
#include "layout/style_codes.h"
#include "layout/visible_walk.h"

namespace vetra {

namespace {

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
                      const TPaint_Options& options, const TPicture_Rect& clip,
                      TPaint_Record* record) {
    canvas.fillRect(clip.left, clip.top, clip.right, clip.bottom, options.background);
    forEachNodeIn(root, clip, [&](TTree_Node& node, TNode_Point at) {
        paintNode(canvas, node, at, options);
        if (record != nullptr) record->notePainted(node, at);
    });
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
