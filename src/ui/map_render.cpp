#include "ui/map_render.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "layout/hit_test.h"
#include "layout/layout_engine.h"
#include "layout/style_codes.h"
#include "layout/view_paint.h"
#include "ui/qpainter_canvas.h"

namespace vetra {
namespace {

QRgb toRgb(int32_t bgr) {
    return qRgb(colorRed(bgr), colorGreen(bgr), colorBlue(bgr));
}

// Halfway between two colours: a caption shrunk to a few pixels reads as ink
// spread over its background.
QRgb blend(QRgb a, QRgb b) {
    return qRgb((qRed(a) + qRed(b)) / 2, (qGreen(a) + qGreen(b)) / 2, (qBlue(a) + qBlue(b)) / 2);
}

// Pixel writes straight into a 32-bit image, clipped to it.
class TMap_Raster {
  public:
    TMap_Raster(QImage& image, double scaleX, double scaleY)
        : Bits_(image.bits()),
          Stride_(image.bytesPerLine()),
          Width_(image.width()),
          Height_(image.height()),
          Scale_X_(scaleX),
          Scale_Y_(scaleY) {}

    int32_t mapX(int64_t x) const { return static_cast<int32_t>(std::floor(x * Scale_X_)); }
    int32_t mapY(int64_t y) const { return static_cast<int32_t>(std::floor(y * Scale_Y_)); }

    void fill(int32_t x0, int32_t y0, int32_t x1, int32_t y1, QRgb color) {
        x0 = std::max(x0, 0);
        y0 = std::max(y0, 0);
        x1 = std::min(x1, Width_ - 1);
        y1 = std::min(y1, Height_ - 1);
        for (int32_t y = y0; y <= y1; ++y) {
            QRgb* row = reinterpret_cast<QRgb*>(Bits_ + static_cast<qsizetype>(y) * Stride_);
            std::fill(row + x0, row + x1 + 1, color);
        }
    }

    void frame(int32_t x0, int32_t y0, int32_t x1, int32_t y1, QRgb color) {
        fill(x0, y0, x1, y0, color);
        fill(x0, y1, x1, y1, color);
        fill(x0, y0, x0, y1, color);
        fill(x1, y0, x1, y1, color);
    }

    // A straight line between two map points, end points included.
    void line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, QRgb color) {
        if (x0 == x1 || y0 == y1) {
            fill(std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1), color);
            return;
        }
        const int32_t dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
        const int32_t stepX = x0 < x1 ? 1 : -1, stepY = y0 < y1 ? 1 : -1;
        int32_t error = dx + dy;
        for (;;) {
            if (x0 >= 0 && y0 >= 0 && x0 < Width_ && y0 < Height_)
                reinterpret_cast<QRgb*>(Bits_ + static_cast<qsizetype>(y0) * Stride_)[x0] = color;
            if (x0 == x1 && y0 == y1) return;
            const int32_t twice = 2 * error;
            if (twice >= dy) {
                error += dy;
                x0 += stepX;
            }
            if (twice <= dx) {
                error += dx;
                y0 += stepY;
            }
        }
    }

  private:
    uchar* Bits_;
    qsizetype Stride_;
    int32_t Width_, Height_;
    double Scale_X_, Scale_Y_;
};

void sketchConnector(TMap_Raster& raster, const TTree_Node& node, TNode_Point at) {
    const TTree_Node& parent = *node.Parent;
    const TLayout_Cache& c = node.Layout;
    const TNode_Point parentAt{at.x - c.Box_Offset.x - c.Block_Pos.x,
                               at.y - c.Box_Offset.y - c.Block_Pos.y};
    const TNode_Point ownEnd = ownAnchor(node);
    int64_t ax = int64_t{at.x} + ownEnd.x, ay = int64_t{at.y} + ownEnd.y;
    int64_t bx = int64_t{parentAt.x} + c.Parent_Anchor.x,
            by = int64_t{parentAt.y} + c.Parent_Anchor.y;
    if (parent.View_Style_Used == kView_Stru_Up || parent.View_Style_Used == kView_Stru_Down) {
        std::swap(ax, bx);
        std::swap(ay, by);
    }
    const QRgb color =
        toRgb(node.Color_Link_Up != kColor_Auto ? node.Color_Link_Up : parent.Color_Link_Down);
    const int32_t x0 = raster.mapX(ax), y0 = raster.mapY(ay);
    const int32_t x1 = raster.mapX(bx), y1 = raster.mapY(by);
    const int32_t style = parent.Link_Style_Used;
    if (style == kLink_Rect || style == kLink_Round_Rect) {
        raster.line(x0, y0, x1, y0, color);  // the elbow: along the child's side first
        raster.line(x1, y0, x1, y1, color);
    } else if (style == kLink_Direct || style == kLink_Round_Direct) {
        raster.line(x0, y0, x1, y1, color);
    }
}

// One node as the sketch draws it, in map pixels: the outline rectangle
// (filled and framed, or one block when too small to frame) and the caption
// as a bar of ink.
struct TSketch_Box {
    enum TKind : uint8_t { Text_Only, Outlined, Underlined };
    int32_t x0, y0, x1, y1;      // the outline
    int32_t tx0, ty0, tx1, ty1;  // the caption
    QRgb fill, edge, ink;
    TKind kind;
};

TSketch_Box sketchBox(const TMap_Raster& raster, const TTree_Node& node, TNode_Point at,
                      QRgb background) {
    const TLayout_Cache& c = node.Layout;
    const int32_t ew = std::max(node.Edge_Width, 1);
    TSketch_Box box;
    box.x0 = raster.mapX(at.x);
    box.y0 = raster.mapY(at.y);
    box.x1 = std::max(box.x0, raster.mapX(int64_t{at.x} + c.Box_Width - ew - 2) - 1);
    box.y1 = std::max(box.y0, raster.mapY(int64_t{at.y} + c.Box_Height - ew - 2) - 1);
    const TNode_Rect& t = c.Text_Rect;
    box.tx0 = raster.mapX(int64_t{at.x} + t.x);
    box.ty0 = raster.mapY(int64_t{at.y} + t.y);
    box.tx1 = std::max(box.tx0, raster.mapX(int64_t{at.x} + t.x + t.width) - 1);
    box.ty1 = std::max(box.ty0, raster.mapY(int64_t{at.y} + t.y + t.height) - 1);
    box.fill = node.Color_Fill == kColor_Auto ? background : toRgb(node.Color_Fill);
    box.edge = toRgb(node.Color_Edge);
    box.ink = blend(toRgb(node.Color_Caption), background);
    switch (node.Edge_Style) {
        case kEdge_Round_Rect:
        case kEdge_Rect:
        case kEdge_Lozenge:
        case kEdge_Circle:
            box.kind = TSketch_Box::Outlined;
            break;
        case kEdge_Underline:
            box.kind = TSketch_Box::Underlined;
            break;
        default:
            box.kind = TSketch_Box::Text_Only;
            break;
    }
    return box;
}

void drawSketchBox(TMap_Raster& raster, const TSketch_Box& box) {
    switch (box.kind) {
        case TSketch_Box::Outlined:
            if (box.x1 - box.x0 < 2 || box.y1 - box.y0 < 2) {
                raster.fill(box.x0, box.y0, box.x1, box.y1, box.edge);
                return;
            }
            raster.fill(box.x0, box.y0, box.x1, box.y1, box.fill);
            raster.frame(box.x0, box.y0, box.x1, box.y1, box.edge);
            if (box.x1 - box.x0 > 4 && box.y1 - box.y0 > 4)
                raster.fill(box.tx0, box.ty0, box.tx1, box.ty1, box.ink);
            return;
        case TSketch_Box::Underlined:
            raster.fill(box.tx0, box.ty0, box.tx1, box.ty1, box.ink);
            raster.fill(box.x0, box.y1, box.x1, box.y1, box.edge);
            return;
        case TSketch_Box::Text_Only:
            raster.fill(box.tx0, box.ty0, box.tx1, box.ty1, box.ink);
            return;
    }
}

// One walk over the nodes; large trees are bound by fetching the nodes from
// memory, not by drawing. Connectors are drawn as the walk meets them and the
// boxes kept, small, to be drawn over them afterwards, as the view draws
// boxes over line ends. A subtree whose whole block falls into one map pixel
// is drawn as its top node alone: its descendants could only paint that same
// pixel. One whose block is a single pixel row (or column) is drawn as its
// top node over a band of ink along the block: at that scale its descendants'
// captions and connectors fill the band, and skipping them keeps a huge
// view's redraw to about as many nodes as the map has pixels.
void renderSketch(QImage& image, TTree_Node& root, double scaleX, double scaleY, QRgb background) {
    TMap_Raster raster(image, scaleX, scaleY);
    struct TPending {
        TTree_Node* node;
        TNode_Point at;
        bool descend;
    };
    std::vector<TSketch_Box> boxes;
    std::vector<TPending> pending{{&root, absolutePosition(root), true}};
    while (!pending.empty()) {
        const TPending entry = pending.back();
        pending.pop_back();
        TTree_Node& node = *entry.node;
        if (&node != &root && node.Parent != nullptr) sketchConnector(raster, node, entry.at);
        boxes.push_back(sketchBox(raster, node, entry.at, background));
        if (!entry.descend || !node.Expanded) continue;
        for (int32_t i = node.childCount(); i-- > 0;) {
            TTree_Node* child = node.child(i);
            const TLayout_Cache& c = child->Layout;
            const int64_t left = int64_t{entry.at.x} + c.Block_Pos.x;
            const int64_t top = int64_t{entry.at.y} + c.Block_Pos.y;
            const int32_t x0 = raster.mapX(left), x1 = raster.mapX(left + c.Block_Width);
            const int32_t y0 = raster.mapY(top), y1 = raster.mapY(top + c.Block_Height);
            const bool onePixel = x0 == x1 && y0 == y1;
            const bool band =
                !onePixel && (x0 == x1 || y0 == y1) && child->Expanded && child->hasChildren();
            if (band) raster.fill(x0, y0, x1, y1, blend(toRgb(child->Color_Caption), background));
            pending.push_back(
                {child,
                 {clampExtent(left + c.Box_Offset.x), clampExtent(top + c.Box_Offset.y)},
                 !onePixel && !band});
        }
    }
    for (const TSketch_Box& box : boxes) drawSketchBox(raster, box);
}

void renderFull(QImage& image, TTree_Node& root, int32_t pictureWidth, int32_t pictureHeight,
                double scaleX, double scaleY, int32_t background) {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(scaleX, scaleY);
    TQPainter_Canvas canvas(&painter);
    TPaint_Options options;
    options.background = background;
    paintSubtree(canvas, root, options, TPicture_Rect{0, 0, pictureWidth, pictureHeight});
}

bool hasAtMostVisible(TTree_Node& root, int32_t limit) {
    std::vector<TTree_Node*> pending{&root};
    int32_t seen = 0;
    while (!pending.empty()) {
        TTree_Node* node = pending.back();
        pending.pop_back();
        if (++seen > limit) return false;
        if (!node->Expanded) continue;
        for (int32_t i = 0; i < node->childCount(); ++i) pending.push_back(node->child(i));
    }
    return true;
}

}  // namespace

void renderMap(QImage& image, TTree_Node& root, int32_t pictureWidth, int32_t pictureHeight,
               int32_t background, TMap_Detail detail) {
    if (image.isNull()) return;
    if (image.format() != QImage::Format_RGB32) image = image.convertToFormat(QImage::Format_RGB32);
    image.fill(toRgb(background));
    if (pictureWidth <= 0 || pictureHeight <= 0) return;
    const double scaleX = static_cast<double>(image.width()) / pictureWidth;
    const double scaleY = static_cast<double>(image.height()) / pictureHeight;
    if (detail == TMap_Detail::Automatic)
        detail = hasAtMostVisible(root, kMap_Full_Detail_Limit) ? TMap_Detail::Full
                                                                : TMap_Detail::Sketch;
    if (detail == TMap_Detail::Full)
        renderFull(image, root, pictureWidth, pictureHeight, scaleX, scaleY, background);
    else
        renderSketch(image, root, scaleX, scaleY, toRgb(background));
}

}  // namespace vetra
