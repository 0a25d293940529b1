#include "ui/style_choosers.h"

#include <QGridLayout>
#include <QMouseEvent>
#include <QToolButton>

#include "ui/color_palette.h"

namespace vetra {

TOption_Chooser::TOption_Chooser(QWidget* parent, const QString& namePrefix,
                                 std::vector<TEntry> entries, int columns, QSize buttonSize)
    : QFrame(parent) {
    setObjectName(namePrefix + "Chooser");
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setSpacing(1);
    int index = 0;
    for (TEntry& entry : entries) {
        auto* button = new QToolButton(this);
        button->setObjectName(namePrefix + entry.name);
        button->setToolTip(entry.name);
        button->setAutoRaise(true);
        button->setIcon(QIcon(entry.picture));
        button->setIconSize(entry.picture.size());
        button->setFixedSize(buttonSize);
        button->setFocusPolicy(Qt::NoFocus);
        const int32_t value = entry.value;
        connect(button, &QToolButton::clicked, this, [this, value] { emit chosen(value); });
        grid->addWidget(button, index / columns, index % columns);
        Buttons_.emplace_back(value, button);
        ++index;
    }
    adjustSize();
    hide();
}

QToolButton* TOption_Chooser::buttonFor(int32_t value) const {
    for (const auto& [entryValue, button] : Buttons_)
        if (entryValue == value) return button;
    return nullptr;
}

void TOption_Chooser::leaveEvent(QEvent* event) {
    QFrame::leaveEvent(event);
    emit left();
}

void TOption_Chooser::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

const std::array<int32_t, 2 * TColor_Chooser::kPer_Row> TColor_Chooser::kColors = {
    -1,       0x000000, 0x0000FF, 0x00FFFF, 0x00FF00, 0xFF0000, 0xFF00FF, 0x404040,
    0x000080, 0x008080, 0x008000, 0x800000, 0x800080, 0x808080, 0x969DFF, 0x00A5FF,
    0xFFFFFF, 0x6DE7FF, 0x32CD32, 0xD0E040, 0xC0C0C0, 0x3F85CD, 0x3777B2, 0xD8FAFB,
    0xCEB09E, 0xBA94CE, 0xFFFFFF, 0x405B7B, 0x739E73, 0x8C7A66, 0xA2006B, 0x846B9D,
};

TColor_Chooser::TColor_Chooser(QWidget* parent) : QFrame(parent) {
    setObjectName("Color_Chooser");
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
    constexpr int kSwatch_Width = 11, kSwatch_Height = 13;
    QFont small("Arial");
    small.setPixelSize(8);
    for (int i = 0; i < 2 * kPer_Row; ++i) {
        auto* swatch = new TColor_Swatch(this);
        swatch->setObjectName(QString("Label_Color_Swatch_%1").arg(i));
        swatch->setGeometry(2 + (i % kPer_Row) * kSwatch_Width, 2 + (i / kPer_Row) * kSwatch_Height,
                            kSwatch_Width, kSwatch_Height);
        swatch->setFont(small);
        swatch->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        swatch->setColor(kColors[static_cast<size_t>(i)] == -1 ? 0xFFFFFF
                                                               : kColors[static_cast<size_t>(i)]);
        if (i == 0) swatch->setText(" A");
        if (i == kPer_Row) swatch->setText(" U");
        Swatches_[static_cast<size_t>(i)] = swatch;
        connect(swatch, &TColor_Swatch::clicked, this, [this, i, swatch] {
            if (i == 0)
                emit chosen(-1);
            else if (i == kPer_Row)
                pickUserColor();
            else
                emit chosen(swatch->color());
        });
    }
    setFixedSize(4 + kPer_Row * kSwatch_Width, 4 + 2 * kSwatch_Height);
    hide();
}

int TColor_Chooser::indexOf(int32_t color) const {
    for (int i = 1; i < 2 * kPer_Row; ++i)
        if (i != kPer_Row && kColors[static_cast<size_t>(i)] == color) return i;
    return -1;
}

void TColor_Chooser::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void TColor_Chooser::pickUserColor() {
    TColor_Swatch* user = swatch(kPer_Row);
    std::optional<int32_t> picked = askColor(this, user->color());
    if (!picked) return;
    user->setColor(*picked);
    emit chosen(*picked);
}

}  // namespace vetra
