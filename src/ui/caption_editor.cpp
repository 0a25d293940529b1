#include "ui/caption_editor.h"

#include <QKeyEvent>

#include "model/tree_node.h"
#include "ui/document_window.h"
#include "ui/image_view.h"
#include "ui/message_box.h"
#include "ui/ui_text.h"

namespace vetra {

TForm_Caption& TForm_Caption::instance() {
    // The editor lives inside the window it edits in; when that window goes,
    // so does the editor, and the next use makes a new one.
    static QPointer<TForm_Caption> editor;
    if (editor.isNull()) editor = new TForm_Caption;
    return *editor;
}

TForm_Caption::TForm_Caption() {
    setObjectName("Form_Caption");
    setWindowFlags(Qt::FramelessWindowHint);
    Edit_Caption = new QLineEdit(this);
    Edit_Caption->setObjectName("Edit_Caption");
    Edit_Caption->setFrame(false);
    QPalette colors = Edit_Caption->palette();
    colors.setColor(QPalette::Base, colorFromBgr(0xF1F2F3));
    colors.setColor(QPalette::Text, Qt::blue);
    Edit_Caption->setPalette(colors);
    Edit_Caption->installEventFilter(this);
    hide();
}

void TForm_Caption::showFor(TForm_Qo_Tree& owner, TTree_Node& node, QPoint viewportPosition) {
    commit();
    QWidget* host = owner.imageView()->viewport();
    if (parentWidget() != host) setParent(host);
    const TLayout_Cache& c = node.Layout;
    int width = std::max(c.Text_Rect.width, 24);
    int height = std::max(c.Text_Rect.height, 16);
    setGeometry(viewportPosition.x() + c.Text_Rect.x, viewportPosition.y() + c.Text_Rect.y, width,
                height);
    Edit_Caption->setGeometry(0, 0, width, height);
    QFont font = Edit_Caption->font();
    font.setPointSize(std::clamp(node.Font_Size, 1, 200));
    font.setBold(node.Font_Style & 1);
    font.setItalic(node.Font_Style & 2);
    font.setUnderline(node.Font_Style & 4);
    Edit_Caption->setFont(font);
    Edit_Caption->setText(nodeTextToQString(node.Caption.view()));
    Edit_Caption->selectAll();
    Owner_ = &owner;
    Node_ = &node;
    Edit_Caption->setModified(false);
    show();
    raise();
    Edit_Caption->setFocus();
}

void TForm_Caption::commit() {
    if (Owner_.isNull() || Node_ == nullptr || !Edit_Caption->isModified()) return;
    Edit_Caption->setModified(false);
    QString text = Edit_Caption->text();
    if (text.isEmpty()) return;
    int replaced = 0;
    std::string bytes = qStringToNodeText(text, &replaced);
    Node_->setCaption(bytes);
    Owner_->captionCommitted();
    if (replaced > 0) {
        message_box::warning(Owner_, "標題中有 %d 個字符無法以當前編碼保存，已換成“?”",
                             {QString::number(replaced)});
    }
}

bool TForm_Caption::isShownIn(const TForm_Qo_Tree* owner) const {
    return isVisible() && Owner_ == owner;
}

void TForm_Caption::forgetSubtree(const TTree_Node& node) {
    if (Node_ != nullptr && isInSubtree(&node, Node_)) {
        Node_ = nullptr;
        Edit_Caption->setModified(false);
        hide();
    }
}

void TForm_Caption::forgetOwner(const TForm_Qo_Tree* owner) {
    if (Owner_ != owner) return;
    Owner_ = nullptr;
    Node_ = nullptr;
    hide();
}

bool TForm_Caption::eventFilter(QObject* watched, QEvent* event) {
    if (watched != Edit_Caption || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    TForm_Qo_Tree* owner = Owner_.data();
    switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            commit();
            hide();
            if (owner != nullptr) owner->focusView();
            return true;
        case Qt::Key_Escape:
            Edit_Caption->setModified(false);
            hide();
            if (owner != nullptr) owner->focusView();
            return true;
        case Qt::Key_Tab:
        case Qt::Key_Up:
        case Qt::Key_Down:
            // The window handles the key as its own: Tab adds a further child
            // on its release, Up and Down move the selection. The typed text
            // stays pending until the next commit.
            hide();
            if (owner != nullptr) {
                owner->focusView();
                owner->FormKeyDown(key->key(), key->modifiers());
            }
            return true;
        default:
            return QWidget::eventFilter(watched, event);
    }
}

}  // namespace vetra
