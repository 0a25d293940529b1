#include "export/find_replace_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/text_mode.h"

namespace vetra {
namespace {

QString text(std::string_view utf8Traditional) {
    return QString::fromStdString(programTextUtf8(utf8Traditional));
}

}  // namespace

TFind_Dialog::TFind_Dialog(QWidget* parent, bool withReplace) : QDialog(parent) {
    setObjectName(withReplace ? "ReplaceDialog" : "FindDialog");
    setWindowTitle(text(withReplace ? "替換" : "查找"));
    auto* layout = new QGridLayout(this);
    Edit_Find = new QLineEdit(this);
    Edit_Find->setObjectName("Edit_Find");
    layout->addWidget(new QLabel(text("查找內容:"), this), 0, 0);
    layout->addWidget(Edit_Find, 0, 1);
    auto* next = new QPushButton(text("查找下一個"), this);
    next->setObjectName("Button_Find_Next");
    next->setDefault(true);
    layout->addWidget(next, 0, 2);
    connect(next, &QPushButton::clicked, this, &TFind_Dialog::findNext);
    int row = 1;
    if (withReplace) {
        Edit_Replace = new QLineEdit(this);
        Edit_Replace->setObjectName("Edit_Replace");
        layout->addWidget(new QLabel(text("替換爲:"), this), 1, 0);
        layout->addWidget(Edit_Replace, 1, 1);
        auto* one = new QPushButton(text("替換"), this);
        one->setObjectName("Button_Replace");
        auto* all = new QPushButton(text("全部替換"), this);
        all->setObjectName("Button_Replace_All");
        layout->addWidget(one, 1, 2);
        layout->addWidget(all, 2, 2);
        connect(one, &QPushButton::clicked, this, &TFind_Dialog::replaceOne);
        connect(all, &QPushButton::clicked, this, &TFind_Dialog::replaceAll);
        row = 3;
    }
    Check_Case = new QCheckBox(text("區分大小寫"), this);
    layout->addWidget(Check_Case, row, 0, 1, 2);
    auto* cancel = new QPushButton(text("取消"), this);
    layout->addWidget(cancel, row, 2);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString TFind_Dialog::findText() const {
    return Edit_Find->text();
}

QString TFind_Dialog::replaceText() const {
    return Edit_Replace != nullptr ? Edit_Replace->text() : QString();
}

}  // namespace vetra
