#include "ui/form_search.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/dialog_script.h"
#include "ui/ui_text.h"

namespace vetra {

TForm_Search::TForm_Search(QWidget* parent) : QDialog(parent) {
    setObjectName("Form_Search");
    setWindowTitle(uiText("節點搜索"));
    auto* label = new QLabel(uiText("要搜索的詞"), this);
    label->setObjectName("Label1");
    Edit_To_Search = new QLineEdit(this);
    Edit_To_Search->setObjectName("Edit_To_Search");
    Edit_To_Search->setMaxLength(50);
    Edit_To_Search->setMinimumWidth(220);
    Button_Ok = new QPushButton(uiText("搜索 &S"), this);
    Button_Ok->setObjectName("Button_Ok");
    Button_Ok->setDefault(true);
    Button2 = new QPushButton(uiText("取消 &C"), this);
    Button2->setObjectName("Button2");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button_Ok);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(Edit_To_Search);
    layout->addLayout(buttons);

    connect(Edit_To_Search, &QLineEdit::textChanged, this, &TForm_Search::Edit_To_SearchChange);
    connect(Button_Ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm_Search::Edit_To_SearchChange() {
    Button_Ok->setEnabled(!Edit_To_Search->text().trimmed().isEmpty());
}

std::optional<QString> TForm_Search::ask(QWidget* parent) {
    if (TDialog_Script* script = TDialog_Script::active()) return script->takeAnswer();
    TForm_Search dialog(parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Edit_To_Search->text();
}

}  // namespace vetra
