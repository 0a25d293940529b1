#include "ui/picture_scroll_bar.h"

#include <QStyle>
#include <QStyleOptionSlider>

namespace vetra {

TPicture_Scroll_Bar::TPicture_Scroll_Bar(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent) {}

TPicture_Scroll_Bar::TShown TPicture_Scroll_Bar::shownNow() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    TShown shown;
    shown.slider =
        style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
    shown.enabled = minimum() < maximum();
    shown.atMinimum = value() == minimum();
    shown.atMaximum = value() == maximum();
    return shown;
}

void TPicture_Scroll_Bar::sliderChange(SliderChange change) {
    if (change != SliderOrientationChange && Painted_Once_ && shownNow() == Painted_) return;
    QScrollBar::sliderChange(change);
}

void TPicture_Scroll_Bar::paintEvent(QPaintEvent* event) {
    Painted_ = shownNow();
    Painted_Once_ = true;
    QScrollBar::paintEvent(event);
}

}  // namespace vetra
