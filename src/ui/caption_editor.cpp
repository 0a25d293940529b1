#include "ui/caption_editor.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <cmath>

#include "model/tree_node.h"
#include "platform/text_codec.h"
#include "platform/text_mode.h"
#include "ui/document_window.h"
#include "ui/image_view.h"
#include "ui/message_box.h"
#include "ui/status_line.h"
#include "ui/ui_text.h"

namespace vetra {
namespace {

// Past this length the editor takes the whole visible width at once instead
// of measuring the text on every key.
constexpr int kMeasured_Length = 2000;

bool isLineBreak(QChar c) {
    return c == '\n' || c == '\r' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}

// Characters of `text` that the active code page cannot hold.
int unstorableCount(const QString& text) {
    return utf8ToCodePage(text.toStdString(), activeTextMode()).replaced;
}

}  // namespace

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
    Edit_Caption = new QPlainTextEdit(this);
    Edit_Caption->setObjectName("Edit_Caption");
    Edit_Caption->setFrameShape(QFrame::NoFrame);
    Edit_Caption->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Edit_Caption->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Edit_Caption->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Edit_Caption->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    Edit_Caption->setTabChangesFocus(true);
    Edit_Caption->document()->setDocumentMargin(1);
    QPalette colors = Edit_Caption->palette();
    colors.setColor(QPalette::Base, colorFromBgr(0xF1F2F3));
    colors.setColor(QPalette::Text, Qt::blue);
    Edit_Caption->setPalette(colors);
    Edit_Caption->installEventFilter(this);
    connect(Edit_Caption->document(), &QTextDocument::contentsChange, this,
            [this](int position, int, int added) {
                if (Checking_ || added <= 0) return;
                // Handled once the change is complete (textChanged follows).
                if (Change_Position_ < 0) {
                    Change_Position_ = position;
                    Change_Added_ = added;
                } else {
                    int end = std::max(Change_Position_ + Change_Added_, position + added);
                    Change_Position_ = std::min(Change_Position_, position);
                    Change_Added_ = end - Change_Position_;
                }
            });
    connect(Edit_Caption, &QPlainTextEdit::textChanged, this, [this] {
        if (Checking_) return;
        if (Change_Position_ >= 0) {
            int position = Change_Position_, added = Change_Added_;
            Change_Position_ = -1;
            checkInsertedText(position, added);
        }
        fitToText();
    });
    hide();
}

void TForm_Caption::showFor(TForm_Qo_Tree& owner, TTree_Node& node, QPoint viewportPosition,
                            double zoom) {
    commit();
    QWidget* host = owner.imageView()->viewport();
    if (parentWidget() != host) setParent(host);
    const TLayout_Cache& c = node.Layout;
    Caption_Area_ = QRect(viewportPosition.x() + static_cast<int>(c.Text_Rect.x * zoom),
                          viewportPosition.y() + static_cast<int>(c.Text_Rect.y * zoom),
                          std::max(static_cast<int>(std::ceil(c.Text_Rect.width * zoom)), 24),
                          std::max(static_cast<int>(std::ceil(c.Text_Rect.height * zoom)), 16));
    QFont font = Edit_Caption->font();
    font.setPointSizeF(std::clamp(node.Font_Size, 1, 200) * zoom);
    font.setBold(node.Font_Style & 1);
    font.setItalic(node.Font_Style & 2);
    font.setUnderline(node.Font_Style & 4);
    Edit_Caption->setFont(font);
    Owner_ = &owner;
    Node_ = &node;
    Checking_ = true;
    Edit_Caption->setPlainText(nodeTextToQString(node.Caption.view()));
    Checking_ = false;
    Change_Position_ = -1;
    Reported_ = 0;
    Edit_Caption->selectAll();
    setModified(false);
    fitToText();
    show();
    raise();
    Edit_Caption->setFocus();
}

void TForm_Caption::setPendingText(const QString& text) {
    Edit_Caption->setPlainText(text);
    setModified(true);
}

void TForm_Caption::fitToText() {
    QWidget* host = parentWidget();
    if (host == nullptr || Caption_Area_.isEmpty()) return;
    // Wider as the text grows, up to the right edge of the visible drawing;
    // then taller, wrapping, so the whole caption stays in sight.
    const int available = std::max(Caption_Area_.width(), host->width() - Caption_Area_.x() - 4);
    const QString text = Edit_Caption->toPlainText();
    const QFontMetrics metrics(Edit_Caption->font());
    int width = available;
    if (text.size() < kMeasured_Length)
        width = std::clamp(metrics.horizontalAdvance(text) + 8, Caption_Area_.width(), available);
    Edit_Caption->setFixedWidth(width);
    const int lines = std::max(1, static_cast<int>(Edit_Caption->document()->size().height()));
    const int height = std::max(Caption_Area_.height(), lines * metrics.lineSpacing() + 4);
    Edit_Caption->setFixedHeight(height);
    setGeometry(Caption_Area_.x(), Caption_Area_.y(), width, height);
    Edit_Caption->verticalScrollBar()->setValue(0);
}

void TForm_Caption::checkInsertedText(int position, int added) {
    QTextCursor cursor(Edit_Caption->document());
    cursor.setPosition(position);
    cursor.setPosition(std::min(position + added, Edit_Caption->document()->characterCount() - 1),
                       QTextCursor::KeepAnchor);
    QString inserted = cursor.selectedText();
    QString fixed = inserted;
    for (QChar& c : fixed)
        if (isLineBreak(c)) c = ' ';
    int unstorable = unstorableCount(fixed);
    if (unstorable > 0 && activeTextMode() == kTextModeTraditional) {
        // A simplified character Big5 lacks is typed as its traditional form.
        QString traditional = QString::fromStdString(simplifiedToTraditional(fixed.toStdString()));
        int left = unstorableCount(traditional);
        if (left < unstorable) {
            fixed = traditional;
            unstorable = left;
        }
    }
    const int room = kMax_Characters - (Edit_Caption->document()->characterCount() - 1 -
                                        static_cast<int>(inserted.size()));
    const bool tooLong = fixed.size() > room;
    if (tooLong) fixed.truncate(std::max(room, 0));
    if (fixed != inserted) {
        Checking_ = true;
        cursor.insertText(fixed);
        Checking_ = false;
        Edit_Caption->setTextCursor(cursor);
    }
    if (tooLong && Owner_ != nullptr)
        showStatusMessage(Owner_,
                          uiText("標題最多 %1 個字符，多出的部分沒有加入").arg(kMax_Characters));
    if (unstorable > 0 && Owner_ != nullptr) {
        Reported_ += unstorable;
        message_box::warning(Owner_, "標題中有 %d 個字符無法以當前編碼保存，已換成“?”",
                             {QString::number(unstorable)});
        Edit_Caption->setFocus();
    }
}

void TForm_Caption::commit() {
    if (Owner_.isNull() || Node_ == nullptr || !isModified()) return;
    setModified(false);
    QString text = Edit_Caption->toPlainText();
    if (text.isEmpty()) return;
    int replaced = 0;
    std::string bytes = qStringToNodeText(text, &replaced);
    Node_->setCaption(bytes);
    Owner_->captionCommitted();
    // Characters reported while typing are not reported twice.
    if (replaced > Reported_) {
        message_box::warning(Owner_, "標題中有 %d 個字符無法以當前編碼保存，已換成“?”",
                             {QString::number(replaced - Reported_)});
    }
    Reported_ = 0;
}

bool TForm_Caption::isShownIn(const TForm_Qo_Tree* owner) const {
    return isVisible() && Owner_ == owner;
}

void TForm_Caption::forgetSubtree(const TTree_Node& node) {
    if (Node_ != nullptr && isInSubtree(&node, Node_)) {
        Node_ = nullptr;
        setModified(false);
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
            setModified(false);
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
