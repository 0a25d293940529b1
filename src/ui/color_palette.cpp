#include "ui/color_palette.h"

#include <QColorDialog>
#include <QMouseEvent>
#include <QPainter>

#include "ui/dialog_script.h"
#include "ui/ui_text.h"

namespace vetra {

// Default swatch colours, as new options carry them.
constexpr int32_t kDefault_Swatches[TColor_Palette::kSwatches] = {
    0x000000, 0x000084, 0x008200, 0x008284, 0x840000,
    0x840084, 0x848200, 0x848284, 0xDE967B, 0x0000FF};
constexpr int32_t kDefault_User_Color = 0xCE8AEF;

TColor_Swatch::TColor_Swatch(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignCenter);
}

void TColor_Swatch::setColor(int32_t bgr) {
    if (bgr == Color_) return;
    Color_ = bgr;
    update();
}

// Drawn by hand: styles and tool bars would otherwise repaint the label's
// background in their own colours.
void TColor_Swatch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QColor fill = colorFromBgr(Color_);
    QRect box = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(box, fill);
    painter.setPen(QColor(90, 90, 90));
    painter.drawRect(box);
    if (!text().isEmpty()) {
        painter.setPen(fill.lightness() < 128 ? Qt::white : Qt::black);
        painter.drawText(rect(), Qt::AlignCenter, text());
    }
}

void TColor_Swatch::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void TColor_Swatch::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit doubleClicked();
}

TColor_Palette::TColor_Palette(QWidget* parent) : QWidget(parent) {
    setObjectName("ScrollBox_Color");
    setFixedSize(199, 22);
    int x = 2;
    for (int i = 0; i < kSwatches; ++i) {
        auto* swatch = new TColor_Swatch(this);
        swatch->setObjectName(QString("Def_Color_%1").arg(i));
        swatch->setToolTip(uiText("預定義顔色"));
        swatch->setGeometry(x, 2, 16, 18);
        swatch->setColor(kDefault_Swatches[i]);
        connect(swatch, &TColor_Swatch::clicked, this, [this, swatch] {
            setDefaultColor(swatch->color());
            emit applyToSelection(swatch->color());
        });
        connect(swatch, &TColor_Swatch::doubleClicked, this,
                [this] { editColor(User_Def_Color_); });
        Swatches_[static_cast<size_t>(i)] = swatch;
        x += 16;
    }
    Selected_Color_ = new TColor_Swatch(this);
    Selected_Color_->setObjectName("Label_Selected_Color");
    Selected_Color_->setText("+");
    Selected_Color_->setToolTip(uiText("當前節點顔色，雙擊轉默認"));
    Selected_Color_->setGeometry(x + 4, 2, 16, 18);
    Selected_Color_->setColor(0xFFFFFF);
    connect(Selected_Color_, &TColor_Swatch::clicked, this,
            [this] { setDefaultColor(Selected_Color_->color()); });

    User_Def_Color_ = new TColor_Swatch(this);
    User_Def_Color_->setObjectName("Label_User_Def_Color");
    User_Def_Color_->setText("U");
    User_Def_Color_->setToolTip(uiText("默認顔色，雙擊自定義"));
    User_Def_Color_->setGeometry(x + 22, 2, 16, 18);
    User_Def_Color_->setColor(kDefault_User_Color);
    connect(User_Def_Color_, &TColor_Swatch::clicked, this,
            [this] { emit applyToSelection(defaultColor()); });
    connect(User_Def_Color_, &TColor_Swatch::doubleClicked, this,
            [this] { editColor(User_Def_Color_); });
}

int32_t TColor_Palette::defaultColor() const {
    return User_Def_Color_->color();
}

void TColor_Palette::setDefaultColor(int32_t bgr) {
    User_Def_Color_->setColor(bgr);
}

int32_t TColor_Palette::swatchColor(int index) const {
    return Swatches_[static_cast<size_t>(index)]->color();
}

void TColor_Palette::setSwatchColor(int index, int32_t bgr) {
    Swatches_[static_cast<size_t>(index)]->setColor(bgr);
}

void TColor_Palette::setSelectedColor(int32_t bgr) {
    Selected_Color_->setColor(bgr);
}

void TColor_Palette::editColor(TColor_Swatch* swatch) {
    std::optional<int32_t> chosen = askColor(this, swatch->color());
    if (!chosen) return;
    swatch->setColor(*chosen);
    emit colorsEdited();
}

std::optional<int32_t> askColor(QWidget* parent, int32_t initial) {
    if (TDialog_Script* script = TDialog_Script::active()) {
        std::optional<QString> answer = script->takeAnswer();
        if (!answer) return std::nullopt;
        bool ok = false;
        int32_t value = static_cast<int32_t>(answer->toUInt(&ok, 0));
        return ok ? std::optional<int32_t>(value) : std::nullopt;
    }
    QColor color = QColorDialog::getColor(colorFromBgr(initial), parent);
    if (!color.isValid()) return std::nullopt;
    return bgrFromColor(color);
}

}  // namespace vetra
