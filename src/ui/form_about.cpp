#include "ui/form_about.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/system_info.h"
#include "ui/ui_text.h"

#ifndef VETRA_VERSION
#define VETRA_VERSION "0"
#endif

namespace vetra {

QPixmap applicationIconPixmap(int size) {
    // The same drawing as data/vetra.svg, on its 256-unit grid.
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 256.0, size / 256.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor("#2f78bd"));
    painter.drawRoundedRect(QRectF(8, 8, 240, 240), 44, 44);
    QPen line(Qt::white, 14, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(line);
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(96, 128, 128, 128);
    painter.drawLine(128, 60, 128, 196);
    for (int y : {60, 128, 196}) painter.drawLine(128, y, 152, y);
    painter.setPen(QPen(Qt::white, 8));
    painter.setBrush(QColor("#ffd54a"));
    painter.drawRoundedRect(QRectF(28, 100, 72, 56), 14, 14);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    for (int y : {36, 104, 172}) painter.drawRoundedRect(QRectF(148, y, 80, 48), 12, 12);
    return pixmap;
}

TForm_Qo_About::TForm_Qo_About(QWidget* parent) : QDialog(parent) {
    setObjectName("Form_Qo_About");
    setWindowTitle(uiText("關於系統"));
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    auto* icon = new QLabel(this);
    icon->setObjectName("Image_Icon");
    icon->setPixmap(applicationIconPixmap(64));
    icon->setAlignment(Qt::AlignTop);

    Label_Product = new QLabel(uiText("Vetra管理 V3.1"), this);
    Label_Product->setObjectName("Label_Product");
    QFont big = Label_Product->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    Label_Product->setFont(big);
    Label_Version = new QLabel(uiText("版本 ") + VETRA_VERSION, this);
    Label_Version->setObjectName("Label_Version");
    const std::optional<int64_t> memory = systemAvailableMemoryKb();
    Label_Memory = new QLabel(
        uiText("可用物理內存") + "  " + (memory ? QString("%1 KB").arg(*memory) : QString("?")),
        this);
    Label_Memory->setObjectName("Label_Memory");
    Label_OSInfo = new QLabel(QString::fromStdString(runningSystemLine()), this);
    Label_OSInfo->setObjectName("Label_OSInfo");
    Label_OSInfo->setWordWrap(true);
    Label_OSInfo->setMinimumWidth(320);
    Label_OSInfo->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* texts = new QVBoxLayout;
    for (QLabel* label : {Label_Product, Label_Version, Label_Memory, Label_OSInfo})
        texts->addWidget(label);
    texts->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addSpacing(12);
    top->addLayout(texts, 1);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(uiText("&O 確定"), QDialogButtonBox::AcceptRole);
    ok->setObjectName("BitBtn_Ok");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);  // Esc rejects: both close

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString TForm_Qo_About::summary() const {
    QStringList lines;
    for (QLabel* label : {Label_Product, Label_Version, Label_Memory, Label_OSInfo})
        lines << label->text();
    return lines.join('\n');
}

}  // namespace vetra
