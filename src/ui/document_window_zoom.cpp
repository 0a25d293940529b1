// Zoom, wheel and panning of the document window's drawing.
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "layout/hit_test.h"
#include "ui/document_window.h"
#include "ui/image_view.h"
#include "ui/status_line.h"

namespace vetra {
namespace {

constexpr int kZoom_Steps[] = {10,  25,  33,  50,  67,  75,  90,  100,
                               110, 125, 150, 175, 200, 250, 300, 400};
constexpr int kZoom_Min = 10;
constexpr int kZoom_Max = 400;

int nextZoomStep(int percent, bool up) {
    if (up) {
        for (int step : kZoom_Steps)
            if (step > percent) return step;
        return kZoom_Max;
    }
    for (int i = std::size(kZoom_Steps); i-- > 0;)
        if (kZoom_Steps[i] < percent) return kZoom_Steps[i];
    return kZoom_Min;
}

}  // namespace

int TForm_Qo_Tree::zoomPercent() const {
    return static_cast<int>(std::lround(Image_View_->zoom() * 100));
}

void TForm_Qo_Tree::setZoomPercent(int percent, QPoint anchor) {
    percent = std::clamp(percent, kZoom_Min, kZoom_Max);
    if (percent == zoomPercent()) return;
    commitCaptionEditor();
    hideHover();
    // The picture point under the anchor stays under it.
    const double before = Image_View_->zoom();
    const QPointF picturePoint =
        QPointF(anchor + QPoint(Image_View_->scrollX(), Image_View_->scrollY())) / before;
    Image_View_->setZoom(percent / 100.0);
    refresh();
    const QPointF zoomed = picturePoint * Image_View_->zoom();
    Image_View_->setScroll(static_cast<int32_t>(zoomed.x() - anchor.x()),
                           static_cast<int32_t>(zoomed.y() - anchor.y()));
    showStatus();
}

// The zoom keys keep the selected node in place when it is in sight, else
// the middle of the visible area.
static QPoint zoomAnchor(TForm_Qo_Tree& window) {
    QRect visible = window.imageView()->viewport()->rect();
    if (TTree_Node* node = window.selectedNode()) {
        QPoint at = window.viewportPositionOf(*node);
        if (visible.contains(at)) return at;
    }
    return visible.center();
}

void TForm_Qo_Tree::N_Zoom_InClick() {
    setZoomPercent(nextZoomStep(zoomPercent(), true), zoomAnchor(*this));
}

void TForm_Qo_Tree::N_Zoom_OutClick() {
    setZoomPercent(nextZoomStep(zoomPercent(), false), zoomAnchor(*this));
}

void TForm_Qo_Tree::N_Zoom_ResetClick() {
    setZoomPercent(100, zoomAnchor(*this));
}

void TForm_Qo_Tree::N_Zoom_FitClick() {
    // The whole drawing in sight, never enlarged beyond its own size.
    QSize client = Image_View_->viewport()->size();
    const int32_t width = std::max(Current_.Root->Layout.Block_Width, 1);
    const int32_t height = std::max(Current_.Root->Layout.Block_Height, 1);
    double fit =
        std::min(double(client.width()) / (width + 40), double(client.height()) / (height + 40));
    setZoomPercent(std::min(100, static_cast<int>(fit * 100)), QPoint(0, 0));
    Image_View_->setScroll(0, 0);
    refresh();
}

void TForm_Qo_Tree::centreOn(const TTree_Node& node) {
    QPoint at = viewportPositionOf(node);
    QRect box(at, QSize(static_cast<int>(node.Layout.Box_Width * Image_View_->zoom()),
                        static_cast<int>(node.Layout.Box_Height * Image_View_->zoom())));
    QPoint middle = Image_View_->viewport()->rect().center();
    Image_View_->setScroll(Image_View_->scrollX() + box.center().x() - middle.x(),
                           Image_View_->scrollY() + box.center().y() - middle.y());
}

void TForm_Qo_Tree::FormMouseWheel(QWheelEvent* event) {
    const QPoint delta = event->angleDelta();
    if (event->modifiers() & Qt::ControlModifier) {
        if (delta.y() == 0) return;
        setZoomPercent(nextZoomStep(zoomPercent(), delta.y() > 0), event->position().toPoint());
        return;
    }
    // Shift turns the wheel sideways; some systems report it as a horizontal
    // delta already.
    const bool sideways = (event->modifiers() & Qt::ShiftModifier) || delta.y() == 0;
    const int notches = sideways ? (delta.y() != 0 ? delta.y() : delta.x()) : delta.y();
    if (notches == 0) return;
    QScrollBar* bar =
        sideways ? Image_View_->horizontalScrollBar() : Image_View_->verticalScrollBar();
    if (bar->maximum() <= 0) return;
    // A notch moves a thirtieth of the range, at least 3 pixels and never
    // more than a third of what is visible.
    const int visible =
        sideways ? Image_View_->viewport()->width() : Image_View_->viewport()->height();
    const int step = std::clamp(bar->maximum() / 30, 3, std::max(3, visible / 3));
    const int moved = static_cast<int>(std::lround(double(step) * notches / 120.0));
    bar->setValue(bar->value() - (moved != 0 ? moved : (notches > 0 ? 1 : -1)));
}

void TForm_Qo_Tree::startPanning(QMouseEvent* event, QPoint at) {
    if (hitSubtree(*Current_.Root, at.x(), at.y()).node != nullptr) return;
    Panning_ = true;
    Pan_Origin_ = event->position().toPoint();
    Pan_Scroll_ = QPoint(Image_View_->scrollX(), Image_View_->scrollY());
    Image_View_->viewport()->setCursor(Qt::ClosedHandCursor);
}

}  // namespace vetra
