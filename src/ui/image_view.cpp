#include "ui/image_view.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <cmath>
#include <cstring>
#include <vector>

#include "layout/node_paint.h"
#include "ui/picture_scroll_bar.h"
#include "ui/qpainter_canvas.h"

namespace vetra {

TImage_View::TImage_View(QWidget* parent) : QAbstractScrollArea(parent) {
    setObjectName("ScrollBox_Base");
    viewport()->setObjectName("Image_View");
    viewport()->setMouseTracking(true);
    viewport()->setFocusPolicy(Qt::StrongFocus);
    // Keys belong to the document window, which watches the viewport; the
    // scroll area must not take arrows and pages for itself.
    setFocusPolicy(Qt::NoFocus);
    setHorizontalScrollBar(new TPicture_Scroll_Bar(Qt::Horizontal, this));
    setVerticalScrollBar(new TPicture_Scroll_Bar(Qt::Vertical, this));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The bars are always shown, so a new range needs no new arrangement of
    // the area; the scroll area would otherwise lay out its children again
    // after every edit, restacking both bars and repainting them whole.
    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()})
        disconnect(bar, SIGNAL(rangeChanged(int, int)), this, SLOT(_q_showOrHideScrollBars()));
    setFrameShape(QFrame::NoFrame);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
}

void TImage_View::updateScrollRanges(bool repaintAll) {
    QSize client = viewport()->size();
    const int width = static_cast<int>(std::ceil(Picture_.Width * Zoom_));
    const int height = static_cast<int>(std::ceil(Picture_.Height * Zoom_));
    horizontalScrollBar()->setRange(0, std::max(0, width - client.width()));
    verticalScrollBar()->setRange(0, std::max(0, height - client.height()));
    horizontalScrollBar()->setPageStep(client.width());
    verticalScrollBar()->setPageStep(client.height());
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setSingleStep(20);
    if (repaintAll) viewport()->update();
}

uint64_t TImage_View::sceneDigest() const {
    uint64_t zoomBits = 0;
    static_assert(sizeof zoomBits == sizeof Zoom_);
    std::memcpy(&zoomBits, &Zoom_, sizeof zoomBits);
    const uint64_t parts[] = {zoomBits,
                              static_cast<uint64_t>(Background_),
                              Picture_.Selection_Drawn ? 1u : 0u,
                              Picture_.Hover_Drawn ? 1u : 0u,
                              reinterpret_cast<uintptr_t>(Picture_.Hover_Node),
                              static_cast<uint64_t>(Picture_.Hover_Part)};
    uint64_t digest = 0;
    for (uint64_t part : parts) digest = (digest ^ part) * 0x100000001B3ull + 0x9E3779B97F4A7C15ull;
    return digest;
}

TPicture_Rect TImage_View::pictureRectOf(const QRect& viewportRect) const {
    QRectF area = QRectF(viewportRect.translated(scrollX(), scrollY()));
    area = QRectF(area.topLeft() / Zoom_, area.size() / Zoom_);
    const QRect picture = area.toAlignedRect();
    return {picture.left(), picture.top(), picture.right() + 1, picture.bottom() + 1};
}

bool TImage_View::scaleIsWhole() const {
    const double scale = Zoom_ * viewport()->devicePixelRatioF();
    return scale == std::floor(scale);
}

void TImage_View::repaintPictureRect(const QRect& pictureRect) {
    // A part is painted exactly only where the drawing lands on whole
    // device pixels; otherwise the whole view is.
    if (scaleIsWhole())
        viewport()->update(toViewport(pictureRect));
    else
        viewport()->update();
}

void TImage_View::repaintChanged() {
    std::vector<TPicture_Rect> changed;
    if (Root_ == nullptr || !scaleIsWhole() ||
        !Painted_.changedSince(*Root_, pictureRectOf(viewport()->rect()), sceneDigest(), changed)) {
        viewport()->update();
        return;
    }
    // Many scattered changes cost more as rectangles than as one screen.
    if (changed.size() > 64) {
        viewport()->update();
        return;
    }
    QRegion region;
    for (const TPicture_Rect& r : changed)
        region += toViewport(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top));
    viewport()->update(region & viewport()->rect());
}

int32_t TImage_View::scrollX() const {
    return horizontalScrollBar()->value();
}
int32_t TImage_View::scrollY() const {
    return verticalScrollBar()->value();
}

void TImage_View::setScroll(int32_t x, int32_t y) {
    horizontalScrollBar()->setValue(x);
    verticalScrollBar()->setValue(y);
}

QPoint TImage_View::toPicture(QPoint viewportPoint) const {
    QPointF zoomed = QPointF(viewportPoint + QPoint(scrollX(), scrollY())) / Zoom_;
    return QPoint(static_cast<int>(std::floor(zoomed.x())),
                  static_cast<int>(std::floor(zoomed.y())));
}

QPoint TImage_View::toViewport(QPoint picturePoint) const {
    return (QPointF(picturePoint) * Zoom_).toPoint() - QPoint(scrollX(), scrollY());
}

QRect TImage_View::toViewport(const QRect& pictureRect) const {
    QRectF zoomed(QPointF(pictureRect.topLeft()) * Zoom_, QSizeF(pictureRect.size()) * Zoom_);
    return zoomed.toAlignedRect().translated(-scrollX(), -scrollY()).adjusted(-1, -1, 1, 1);
}

void TImage_View::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRegion& exposed = event->region();
    // Separate changes are painted in one pass over the rectangle around
    // them, the painter keeping to the changed parts. (A clip rectangle set
    // on the painter would cut the lines that cross it, and their pixels
    // inside would no longer meet those drawn before.)
    const QRect area = exposed.boundingRect();
    painter.fillRect(area, TQPainter_Canvas::toQColor(Background_));
    if (Root_ == nullptr) return;
    // (QRegion::contains only tells whether the two overlap.)
    const bool whole = (QRegion(viewport()->rect()) - exposed).isEmpty();
    Painted_.beginPaint(sceneDigest(), whole);
    painter.translate(-scrollX(), -scrollY());
    // Scaling the painter keeps lines and text at device pixels on every
    // zoom and on high-DPI screens; pen widths scale with the drawing.
    painter.scale(Zoom_, Zoom_);
    TQPainter_Canvas canvas(&painter);
    canvas.setShapedTextCache(&Shaped_);
    paintViewPicture(canvas, *Root_, Picture_, TPaint_Options{Background_}, pictureRectOf(area),
                     &Painted_);
    if (onOverlay) onOverlay(painter);
    // Between device pixels, lines cut at the edge of a part come out a
    // pixel off from the rest of them; a part the system asked for (a
    // window that went away) is followed by a whole repaint.
    if (!whole && !scaleIsWhole()) viewport()->update();
}

void TImage_View::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    if (onResize)
        onResize();
    else
        updateScrollRanges();
}

void TImage_View::scrollContentsBy(int, int) {
    viewport()->update();
}

void TImage_View::mousePressEvent(QMouseEvent* event) {
    viewport()->setFocus();
    if (onPress) onPress(event, toPicture(event->position().toPoint()));
}

void TImage_View::mouseMoveEvent(QMouseEvent* event) {
    if (onMove) onMove(event, toPicture(event->position().toPoint()));
}

void TImage_View::mouseReleaseEvent(QMouseEvent* event) {
    if (onRelease) onRelease(event, toPicture(event->position().toPoint()));
}

void TImage_View::mouseDoubleClickEvent(QMouseEvent* event) {
    if (onDoubleClick) onDoubleClick(event, toPicture(event->position().toPoint()));
}

void TImage_View::wheelEvent(QWheelEvent* event) {
    if (onWheel) onWheel(event);
    event->accept();
}

}  // namespace vetra
