#include "ui/form_option.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "store/options.h"
#include "ui/color_palette.h"
#include "ui/ui_text.h"

namespace vetra {
namespace {

struct TColor_Row {
    const char* label;
    const char* swatch;
};

constexpr TColor_Row kRows[6] = {
    {"Vetra編輯背景色", "Label_Tree_Design_Color"}, {"文本編輯器背景色", "Label_Doc_Edit_Color"},
    {"第一層連線顔色", "Label_Line_1_Color"},       {"第二層連線顔色", "Label_Line_2_Color"},
    {"第三層連線顔色", "Label_Line_3_Color"},       {"第四層連線顔色", "Label_Line_4_Color"},
};

int32_t* fieldOf(TOptions& options, int row) {
    switch (row) {
        case 0:
            return &options.Tree_Design_Color;
        case 1:
            return &options.Doc_Edit_Color;
        default:
            return &options.Line_Color[row - 2];
    }
}

}  // namespace

TForm_Option::TForm_Option(TOptions& options, QWidget* parent)
    : QDialog(parent), Options_(options) {
    setObjectName("Form_Option");
    setWindowTitle(uiText("選項設置"));
    setModal(true);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(16);
    for (int row = 0; row < 6; ++row) {
        grid->addWidget(new QLabel(uiText(kRows[row].label), this), row, 0);
        auto* swatch = new TColor_Swatch(this);
        swatch->setObjectName(kRows[row].swatch);
        swatch->setFixedSize(75, 20);
        swatch->setCursor(Qt::PointingHandCursor);
        swatch->setColor(*fieldOf(options, row));
        connect(swatch, &TColor_Swatch::clicked, this, [this, swatch] {
            if (std::optional<int32_t> color = askColor(this, swatch->color()))
                swatch->setColor(*color);
        });
        grid->addWidget(swatch, row, 1);
        Swatches_[static_cast<size_t>(row)] = swatch;
    }
    auto* ok = new QPushButton(uiText("確定"), this);
    ok->setObjectName("Button_Ok");
    ok->setDefault(true);
    auto* cancel = new QPushButton(uiText("取消"), this);
    cancel->setObjectName("Button_Cancel");
    connect(ok, &QPushButton::clicked, this, &TForm_Option::Button_OkClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(buttons);
}

void TForm_Option::Button_OkClick() {
    for (int row = 0; row < 6; ++row)
        *fieldOf(Options_, row) = Swatches_[static_cast<size_t>(row)]->color();
    Options_.save();
    accept();
}

}  // namespace vetra
