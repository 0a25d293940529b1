#include "ui/image_view.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "layout/node_paint.h"
#include "ui/qpainter_canvas.h"
#include "ui/view_scroll_bar.h"

namespace vetra {

TImage_View::TImage_View(QWidget* parent) : QAbstractScrollArea(parent) {
    setObjectName("ScrollBox_Base");
    viewport()->setObjectName("Image_View");
    viewport()->setMouseTracking(true);
    viewport()->setFocusPolicy(Qt::StrongFocus);
    // Keys belong to the document window, which watches the viewport; the
    // scroll area must not take arrows and pages for itself.
    setFocusPolicy(Qt::NoFocus);
    setHorizontalScrollBar(new TView_Scroll_Bar(Qt::Horizontal, this));
    setVerticalScrollBar(new TView_Scroll_Bar(Qt::Vertical, this));
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
    viewport()->update(toViewport(pictureRect));
}

void TImage_View::repaintChanged() {
    std::vector<TPicture_Rect> changed;
    if (Root_ == nullptr ||
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
    if (Root_ == nullptr) {
        painter.fillRect(exposed.boundingRect(), TQPainter_Canvas::toQColor(Background_));
        return;
    }
    if (scaleIsWhole()) {
        Frame_ = QImage();
        // A few separate changes are painted each in its own rectangle, and
        // the nodes between them are not drawn at all.
        std::vector<QRect> parts;
        if (exposed.rectCount() <= 8)
            parts.assign(exposed.begin(), exposed.end());
        else
            parts.push_back(exposed.boundingRect());
        // (QRegion::contains only tells whether the two overlap.)
        paintParts(painter, parts, (QRegion(viewport()->rect()) - exposed).isEmpty());
    } else {
        // Between device pixels, lines and curves cut at the edge of a
        // rectangle come out a pixel off where they meet the parts drawn
        // before; the whole view is drawn uncut and the exposed part copied.
        const qreal ratio = viewport()->devicePixelRatioF();
        const QSize size = viewport()->size() * ratio;
        if (Frame_.size() != size) Frame_ = QImage(size, QImage::Format_RGB32);
        Frame_.setDevicePixelRatio(ratio);
        {
            QPainter framePainter(&Frame_);
            paintParts(framePainter, {viewport()->rect()}, true);
        }
        painter.drawImage(0, 0, Frame_);
    }
    if (onOverlay) {
        painter.translate(-scrollX(), -scrollY());
        painter.scale(Zoom_, Zoom_);
        onOverlay(painter);
    }
}

void TImage_View::paintParts(QPainter& painter, const std::vector<QRect>& parts, bool whole) {
    Painted_.beginPaint(sceneDigest(), whole);
    const QColor background = TQPainter_Canvas::toQColor(Background_);
    TQPainter_Canvas canvas(&painter);
    // Each pixel belongs to one part, so the exclusive-or highlights are
    // drawn once.
    for (const QRect& part : parts) {
        painter.resetTransform();
        if (parts.size() > 1) painter.setClipRect(part);
        painter.fillRect(part, background);
        painter.translate(-scrollX(), -scrollY());
        // Scaling the painter keeps lines and text at device pixels on every
        // zoom and on high-DPI screens; pen widths scale with the drawing.
        painter.scale(Zoom_, Zoom_);
        paintViewPicture(canvas, *Root_, Picture_, TPaint_Options{Background_}, pictureRectOf(part),
                         &Painted_);
    }
    painter.resetTransform();
    painter.setClipping(false);
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
