#include "ui/image_view.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include "layout/node_paint.h"
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
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFrameShape(QFrame::NoFrame);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
}

void TImage_View::updateScrollRanges() {
    QSize client = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, Picture_.Width - client.width()));
    verticalScrollBar()->setRange(0, std::max(0, Picture_.Height - client.height()));
    horizontalScrollBar()->setPageStep(client.width());
    verticalScrollBar()->setPageStep(client.height());
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setSingleStep(20);
    viewport()->update();
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
    return viewportPoint + QPoint(scrollX(), scrollY());
}

QPoint TImage_View::toViewport(QPoint picturePoint) const {
    return picturePoint - QPoint(scrollX(), scrollY());
}

void TImage_View::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    QRect exposed = event->rect();
    painter.fillRect(exposed, TQPainter_Canvas::toQColor(Background_));
    if (Root_ == nullptr) return;
    painter.translate(-scrollX(), -scrollY());
    QRect area = exposed.translated(scrollX(), scrollY());
    TPicture_Rect clip{area.left(), area.top(), area.right() + 1, area.bottom() + 1};
    TQPainter_Canvas canvas(&painter);
    paintViewPicture(canvas, *Root_, Picture_, TPaint_Options{Background_}, clip);
    if (onOverlay) onOverlay(painter);
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
