#include "ui/form_map.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "store/options.h"
#include "ui/ui_text.h"

namespace vetra {
namespace {

TForm_Map* The_Map = nullptr;

// A new scroll position for one bar: position := range * p / extent in
// integer arithmetic, clamped to the bar's positions; a hidden bar keeps its
// own.
int32_t followPosition(const TView_Scroll_Bar& bar, int32_t p, int32_t extent) {
    if (!bar.visible || extent <= 0) return bar.position;
    const int64_t position = int64_t{bar.range} * p / extent;
    return static_cast<int32_t>(std::clamp<int64_t>(position, 0, std::max(bar.maximum, 0)));
}

}  // namespace

TMap_Image::TMap_Image(QWidget* parent) : QWidget(parent) {
    setObjectName("Image_Map");
    setCursor(Qt::CrossCursor);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TMap_Image::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, Picture);
}

void TMap_Image::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void TMap_Image::mouseMoveEvent(QMouseEvent* event) {
    emit moved(event->position().toPoint());
}

TForm_Map::TForm_Map(TOptions& options, TTarget_Provider activeTarget, QWidget* parent)
    : QWidget(parent, Qt::Tool),
      Options_(options),
      Active_Target_(std::move(activeTarget)),
      Background_(options.Tree_Design_Color) {
    setObjectName("Form_Map");
    setWindowTitle(uiText("縮略圖"));
    Image_Map = new TMap_Image(this);
    connect(Image_Map, &TMap_Image::clicked, this, [this] { setFollowMode(!Follow_Mode_); });
    connect(Image_Map, &TMap_Image::moved, this, [this](QPoint at) {
        if (!Follow_Mode_) return;
        // Fractions of the map picture itself, which fills the client area:
        // the point under the mouse is the point of the drawing shown there.
        followScroll(static_cast<double>(at.x()) / std::max(Image_Map->width(), 1),
                     static_cast<double>(at.y()) / std::max(Image_Map->height(), 1));
    });
    resize(Options_.Map_Width, Options_.Map_Height);
    move(Options_.Map_X, Options_.Map_Y);
    The_Map = this;
}

TForm_Map::~TForm_Map() {
    if (The_Map == this) The_Map = nullptr;
}

TForm_Map* TForm_Map::instance() {
    return The_Map;
}

void refreshMapFrom(TTool_Window_Target* target) {
    if (TForm_Map* map = TForm_Map::instance()) map->refreshFrom(target);
}

void TForm_Map::refreshFrom(TTool_Window_Target* target) {
    QImage& picture = Image_Map->Picture;
    const QSize size = Image_Map->size().expandedTo(QSize(1, 1));
    if (picture.size() != size) picture = QImage(size, QImage::Format_RGB32);
    if (target == nullptr) {
        picture.fill(colorFromBgr(Background_));
    } else {
        const TView_Picture& view = target->viewPicture();
        renderMap(picture, target->viewRoot(), view.Width, view.Height, Background_, Detail_);
    }
    Image_Map->update();
}

void TForm_Map::setFollowMode(bool on) {
    Follow_Mode_ = on;
    Image_Map->setCursor(on ? Qt::PointingHandCursor : Qt::CrossCursor);
}

bool TForm_Map::followScroll(double fx, double fy) {
    TTool_Window_Target* target = activeTarget();
    if (target == nullptr) return false;
    const TView_Picture& view = target->viewPicture();
    const int32_t px = static_cast<int32_t>(view.Width * fx - target->outerWidth() / 2);
    const int32_t py = static_cast<int32_t>(view.Height * fy - target->outerHeight() / 2);
    const TView_Scroll scroll = target->viewScroll();
    target->setViewScroll(followPosition(scroll.horizontal, px, view.Width),
                          followPosition(scroll.vertical, py, view.Height));
    return true;
}

void TForm_Map::toggle() {
    setVisible(!isVisible());
    Options_.Map_Visible = isVisible() ? 1 : 0;
    Options_.save();
}

void TForm_Map::storePlace() {
    Options_.Map_Visible = isVisible() ? 1 : 0;
    Options_.Map_X = x();
    Options_.Map_Y = y();
    Options_.Map_Width = width();
    Options_.Map_Height = height();
}

void TForm_Map::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Image_Map->setGeometry(rect());
    refreshFrom(activeTarget());
}

void TForm_Map::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) setFollowMode(false);
}

}  // namespace vetra
