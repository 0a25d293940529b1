#include "layout/node_paint.h"

#include <cstdlib>

#include "layout/layout_engine.h"
#include "layout/node_measure.h"
#include "layout/style_codes.h"

namespace vetra {

namespace {

constexpr int32_t kIndicator_Outline = 0xA1A1A1;
constexpr int32_t kIndicator_Fill = 0xF1F11F;
constexpr int32_t kGlyph_Color = 0xFF0000;
constexpr int32_t kGlyph_Highlight = 0xF1F1F1;
constexpr int32_t kMarker_Outline = 0xA1A1A1;
constexpr int32_t kMarker_Fill = 0xB1D1E1;
constexpr int32_t kMarker_Bar = 0x717171;
constexpr int32_t kMarker_Bar_Edge = 0xF1F1F1;

// A small letter e drawn inside the link indicator.
constexpr TNode_Point kLink_Glyph[16] = {{3, 5}, {4, 5}, {5, 5}, {6, 5}, {7, 5}, {3, 4},
                                         {4, 3}, {5, 3}, {6, 3}, {7, 4}, {3, 6}, {3, 7},
                                         {4, 8}, {5, 8}, {6, 8}, {7, 7}};

// The per-ring step of a colour, component by component, without carries.
int32_t ringStep(int32_t edge, int32_t width) {
    return (255 - colorRed(edge)) / width + (((255 - colorGreen(edge)) / width) << 8) +
           (((255 - colorBlue(edge)) / width) << 16);
}

void drawOutline(TCanvas& canvas, const TTree_Node& node, int32_t x, int32_t y, int32_t w,
                 int32_t h) {
    const int32_t ew = lineWidthUsed(node.Edge_Width);
    const int32_t step = ringStep(node.Color_Edge, ew);
    const TNode_Rect& text = node.Layout.Text_Rect;
    for (int32_t i = 0; i <= ew; ++i) {
        switch (node.Edge_Style) {
            case kEdge_Round_Rect:
                canvas.setPenColor(node.Color_Edge + i * step);
                canvas.roundRect(x + i, y + i, x + w - i, y + h - i, 10, 10);
                canvas.roundRect(x + i + 1, y + i, x + w - i - 1, y + h - i, 10, 10);
                break;
            case kEdge_Rect:
                canvas.setPenColor(node.Color_Edge + i * step);
                canvas.rectangle(x + i, y + i, x + w - i, y + h - i);
                break;
            case kEdge_Lozenge: {
                // Rings run from white inside toward the edge colour outside.
                canvas.setPenColor(0xFFFFFF - i * step);
                const int32_t cx = x + w / 2, cy = y + h / 2;
                const int32_t a = w / 2 - ew + i;
                for (int32_t b : {h / 2 - ew + i, h / 2 - ew + i + 1}) {
                    canvas.moveTo(cx - a, cy);
                    canvas.lineTo(cx, cy - b);
                    canvas.lineTo(cx + a, cy);
                    canvas.lineTo(cx, cy + b);
                    canvas.lineTo(cx - a, cy);
                }
                break;
            }
            case kEdge_Circle:
                canvas.setPenColor(node.Color_Edge + i * step);
                canvas.ellipse(x + i, y + i, x + w - i, y + h - i);
                canvas.ellipse(x + i + 1, y + i, x + w - i - 1, y + h - i);
                break;
            case kEdge_Underline:
                canvas.setPenColor(node.Color_Edge + i * step);
                canvas.moveTo(x + text.x, y + h - i);
                canvas.lineTo(x + text.x + text.width, y + h - i);
                break;
            default:
                return;
        }
    }
}

void drawCaption(TCanvas& canvas, const TTree_Node& node, int32_t x, int32_t y) {
    const TNode_Rect& text = node.Layout.Text_Rect;
    std::string_view caption = node.Caption.view();
    if (captionWraps(node)) {
        size_t split = firstLineLength(caption);
        canvas.textOut(x + text.x, y + text.y, caption.substr(0, split));
        canvas.textOut(x + text.x, y + text.y + text.height / 2, caption.substr(split));
    } else {
        canvas.textOut(x + text.x, y + text.y, caption);
    }
}

void drawLinkIndicator(TCanvas& canvas, const TNode_Rect& r, int32_t x, int32_t y) {
    canvas.setPenColor(kIndicator_Outline);
    canvas.setBrushColor(kIndicator_Fill);
    canvas.setBrushStyle(TBrush_Style::Solid);
    canvas.ellipse(x + r.x, y + r.y, x + r.x + r.width, y + r.y + r.height);
    for (TNode_Point p : kLink_Glyph) {
        canvas.setPixel(x + r.x + p.x + 1, y + r.y + p.y - 1, kGlyph_Highlight);
        canvas.setPixel(x + r.x + p.x, y + r.y + p.y, kGlyph_Color);
    }
}

void drawMarker(TCanvas& canvas, const TTree_Node& node, const TNode_Rect& r, int32_t x,
                int32_t y) {
    const int32_t mx = x + r.x, my = y + r.y, mw = r.width, mh = r.height;
    canvas.setPenColor(kMarker_Outline);
    canvas.setBrushColor(kMarker_Fill);
    canvas.setBrushStyle(TBrush_Style::Solid);
    canvas.ellipse(mx, my, mx + mw, my + mh);
    const int32_t bars[3] = {kMarker_Bar_Edge, kMarker_Bar, kMarker_Bar_Edge};
    for (int32_t i = 0; i < 3; ++i) {
        canvas.setPenColor(bars[i]);
        canvas.moveTo(mx + 1, my + mh / 2 - 1 + i);
        canvas.lineTo(mx + mw - 1, my + mh / 2 - 1 + i);
    }
    if (node.Expanded) return;
    for (int32_t i = 0; i < 3; ++i) {
        canvas.setPenColor(bars[i]);
        canvas.moveTo(mx + mw / 2 - 1 + i, my + 1);
        canvas.lineTo(mx + mw / 2 - 1 + i, my + mh - 1);
    }
}

}  // namespace

int32_t ringColor(int32_t edge, int32_t width, int32_t ring) {
    return edge + ring * ringStep(edge, width);
}

void paintConnector(TCanvas& canvas, const TTree_Node& node, TNode_Point at, TNode_Point ownEnd,
                    TNode_Point parentAt) {
    const TTree_Node& parent = *node.Parent;
    const int32_t width = node.Link_Up_Width != 0 ? node.Link_Up_Width : parent.Link_Down_Width;
    canvas.setPenWidth(width <= 0 ? 1 : lineWidthUsed(width));
    canvas.setPenColor(node.Color_Link_Up != kColor_Auto ? node.Color_Link_Up
                                                         : parent.Color_Link_Down);

    TNode_Point a{at.x + ownEnd.x, at.y + ownEnd.y};
    TNode_Point b{parentAt.x + node.Layout.Parent_Anchor.x,
                  parentAt.y + node.Layout.Parent_Anchor.y};
    if (parent.View_Style_Used == kView_Stru_Up || parent.View_Style_Used == kView_Stru_Down)
        std::swap(a, b);
    const int32_t dx = std::abs(a.x - b.x), dy = std::abs(a.y - b.y);
    const int32_t style = parent.Link_Style_Used;
    if (style < kLink_Direct || style > kLink_Round_Rect) return;

    auto line = [&](TNode_Point from, TNode_Point to) {
        canvas.moveTo(from.x, from.y);
        canvas.lineTo(to.x, to.y);
    };
    if (style == kLink_Direct || a.x == b.x || a.y == b.y) {
        line(a, b);
        return;
    }
    const bool parentRight = b.x > a.x;
    const bool childAbove = a.y < b.y;
    if (style == kLink_Round_Direct) {
        if (parentRight && childAbove)
            canvas.arc(a.x - dx, a.y, b.x, b.y + dy, b.x, b.y, a.x, a.y);
        else if (!parentRight && childAbove)
            canvas.arc(b.x, b.y - dy, a.x + dx, b.y + dy, a.x, a.y, b.x, b.y);
        else if (parentRight)
            canvas.arc(a.x - dx, b.y - dy, b.x, a.y, a.x, a.y, b.x, b.y);
        else
            canvas.arc(b.x, b.y - dy, a.x + dx, a.y, b.x, b.y, a.x, a.y);
        return;
    }
    if (style == kLink_Rect) {
        canvas.moveTo(a.x, a.y);
        canvas.lineTo(b.x, a.y);
        canvas.lineTo(b.x, b.y);
        return;
    }
    // Round_Rect: the elbow with a quarter circle of radius 4 in the corner.
    if (parentRight && childAbove) {
        line(a, {b.x - 3, a.y});
        line({b.x, a.y + 4}, b);
        canvas.arc(b.x - 8, a.y, b.x, a.y + 8, b.x, a.y + 4, b.x - 4, a.y);
    } else if (!parentRight && childAbove) {
        line(a, {b.x + 4, a.y});
        line({b.x, a.y + 3}, b);
        canvas.arc(b.x, a.y, b.x + 9, a.y + 8, b.x + 5, a.y, b.x, a.y + 4);
    } else if (parentRight) {
        line(a, {b.x - 4, a.y});
        line({b.x, a.y - 4}, b);
        canvas.arc(b.x - 8, a.y - 8, b.x + 1, a.y, b.x - 4, a.y, b.x + 1, a.y - 4);
    } else {
        line(a, {b.x + 3, a.y});
        line({b.x, a.y - 4}, b);
        canvas.arc(b.x, a.y - 8, b.x + 8, a.y + 1, b.x, a.y - 4, b.x + 5, a.y + 1);
    }
}

void paintNode(TCanvas& canvas, TTree_Node& node, TNode_Point at, const TPaint_Options& options) {
    TLayout_Cache& cache = node.Layout;
    const int32_t x = at.x, y = at.y;
    // Before the box is narrowed to its inside below.
    const TNode_Rect link = linkRect(node), marker = markerRect(node);
    const TNode_Point ownEnd = ownAnchor(node);
    cache.Box_Width -= lineWidthUsed(node.Edge_Width) + 2;
    cache.Box_Height -= lineWidthUsed(node.Edge_Width) + 2;
    const int32_t w = cache.Box_Width, h = cache.Box_Height;

    canvas.setBrushStyle(TBrush_Style::Solid);
    canvas.setBrushColor(node.Color_Fill == kColor_Auto ? options.background : node.Color_Fill);
    canvas.setPenMode(TPen_Mode::Copy);
    setCaptionFont(canvas, node);
    canvas.setFontColor(node.Color_Caption);
    if (lineWidthUsed(node.Edge_Width) == 0) node.Edge_Width = 1;

    canvas.setPenWidth(1);
    drawOutline(canvas, node, x, y, w, h);
    canvas.setBrushColor(0);
    canvas.setBrushStyle(TBrush_Style::Clear);
    drawCaption(canvas, node, x, y);
    if (node.Parent != nullptr) {
        // The parent's box lies where the node's block and box offsets lead back to.
        paintConnector(canvas, node, at, ownEnd,
                       {x - cache.Box_Offset.x - cache.Block_Pos.x,
                        y - cache.Box_Offset.y - cache.Block_Pos.y});
    }
    canvas.setPenWidth(1);
    if (node.Link.isPresent() && !node.Link.isEmpty()) drawLinkIndicator(canvas, link, x, y);
    if (node.hasChildren()) drawMarker(canvas, node, marker, x, y);

    cache.Box_Width += lineWidthUsed(node.Edge_Width) + 2;
    cache.Box_Height += lineWidthUsed(node.Edge_Width) + 2;
}

}  // namespace vetra
