#include "ui/form_edit_node.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>

#include "export/frame_rich_edit.h"
#include "platform/text_codec.h"
#include "platform/text_mode.h"
#include "rtf/rtf_reader.h"
#include "store/content_store.h"
#include "store/options.h"
#include "ui/dialog_script.h"
#include "ui/message_box.h"
#include "ui/ui_text.h"

namespace vetra {
namespace {

QPointer<TForm_Edit_Node>& dialogSlot() {
    static QPointer<TForm_Edit_Node> dialog;
    return dialog;
}

constexpr int kMax_Caption_Characters = 300;

}  // namespace

TForm_Edit_Node& TForm_Edit_Node::instance() {
    QPointer<TForm_Edit_Node>& dialog = dialogSlot();
    if (dialog.isNull()) dialog = new TForm_Edit_Node;
    return *dialog;
}

bool TForm_Edit_Node::exists() {
    return !dialogSlot().isNull();
}

void TForm_Edit_Node::destroyInstance() {
    delete dialogSlot().data();
}

TForm_Edit_Node::TForm_Edit_Node() {
    setObjectName("Form_Edit_Node");
    setWindowTitle(uiText("編輯節點"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    resize(760, 560);
    Messages_ = std::make_unique<TMessage_Box_Messages>(this);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    auto* panel = new QWidget(this);
    panel->setObjectName("Panel_Top");
    panel->setFixedHeight(51);
    panel->setAutoFillBackground(true);
    QPalette panelColors = panel->palette();
    panelColors.setColor(QPalette::Window, colorFromBgr(0xE0ECEC));
    panel->setPalette(panelColors);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(6, 4, 6, 4);
    row->addWidget(new QLabel(uiText("標題"), panel));
    Edit_Name = new QLineEdit(panel);
    Edit_Name->setObjectName("Edit_Name");
    Edit_Name->setMaxLength(kMax_Caption_Characters);
    row->addWidget(Edit_Name, 3);
    row->addWidget(new QLabel(uiText("連接"), panel));
    Edit_Url = new QLineEdit(panel);
    Edit_Url->setObjectName("Edit_Url");
    row->addWidget(Edit_Url, 3);
    auto makeButton = [&](const char* name, const QString& caption, std::string_view hint) {
        auto* button = new QToolButton(panel);
        button->setObjectName(name);
        button->setText(caption);
        if (!hint.empty()) button->setToolTip(uiText(hint));
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        row->addWidget(button);
        return button;
    };
    SpeedButton_Open = makeButton("SpeedButton_Open", QStringLiteral("…"), "選擇文件");
    SpeedButton_Visit = makeButton("SpeedButton_Visit", QStringLiteral("→"), "打開連接");
    Label_Color = new QLabel(panel);
    Label_Color->setObjectName("Label_Color");
    Label_Color->setFixedSize(25, 21);
    Label_Color->setFrameShape(QFrame::Box);
    Label_Color->setAutoFillBackground(true);
    Label_Color->setCursor(Qt::PointingHandCursor);
    Label_Color->setToolTip(uiText("節點顔色"));
    Label_Color->installEventFilter(this);
    row->addWidget(Label_Color);
    SpeedButton_Ok = makeButton("SpeedButton_Ok", uiText("確定"), {});
    SpeedButton_Cancel = makeButton("SpeedButton_Cancel", uiText("取消"), {});
    outer->addWidget(panel);

    RE = new TFrame_RichEdit(this);
    RE->setMessages(Messages_.get());
    outer->addWidget(RE, 1);
    for (QWidget* control : {static_cast<QWidget*>(Edit_Name), static_cast<QWidget*>(Edit_Url),
                             static_cast<QWidget*>(RE->RichEdit)})
        control->installEventFilter(this);

    connect(SpeedButton_Ok, &QToolButton::clicked, this, &TForm_Edit_Node::SpeedButton_OkClick);
    connect(SpeedButton_Cancel, &QToolButton::clicked, this, &QDialog::reject);
    connect(SpeedButton_Open, &QToolButton::clicked, this, &TForm_Edit_Node::SpeedButton_OpenClick);
    connect(SpeedButton_Visit, &QToolButton::clicked, this,
            &TForm_Edit_Node::SpeedButton_VisitClick);
    connect(RE, &TFrame_RichEdit::swatchColorChosen, this, [this](const QColor& color) {
        if (Options_ == nullptr) return;
        Options_->Doc_Edit_Font_Color = bgrFromColor(color);
        Options_->save();
    });
    connect(this, &QDialog::finished, this, [this](int result) {
        TDone done = std::move(Done_);
        Done_ = nullptr;
        TTree_Node* node = Node_;
        Node_ = nullptr;
        if (done) done(result == QDialog::Accepted, node);
    });
}

TContent_Store* TForm_Edit_Node::store() const {
    return Store_ != nullptr ? Store_ : contentStore();
}

TUser_Messages& TForm_Edit_Node::messages() {
    return *Messages_;
}

void TForm_Edit_Node::setLabelColor(int32_t color) {
    Color_ = color;
    QPalette colors = Label_Color->palette();
    colors.setColor(QPalette::Window, colorFromBgr(color));
    Label_Color->setPalette(colors);
}

void TForm_Edit_Node::loadNode(const TTree_Node& node) {
    RE->initialise();
    if (Options_ != nullptr) {
        RE->setBackground(colorFromBgr(Options_->Doc_Edit_Color));
        RE->setSwatchColor(colorFromBgr(Options_->Doc_Edit_Font_Color));
    }
    Edit_Name->setText(nodeTextToQString(node.Caption.view()));
    Edit_Url->setText(node.Link.isPresent() ? nodeTextToQString(node.Link.view()) : QString());
    RE->clearNote();
    std::string bytes;
    TContent_Store* working = store();
    if (node.Work_Size > 0 && working != nullptr &&
        working->read(node.Work_Offset, node.Work_Size, bytes))
        RE->loadNote(bytes);
    else if (node.Note_Excerpt.isPresent())
        RE->loadPlainText(node.Note_Excerpt.view());
    RE->setModified(false);
    setLabelColor(node.Color_Caption);
    Edit_Name->setFocus();
    RE->setCaretPosition(node.Note_Caret);
    Select_Caption_ = node.Caption.view() == newNodeCaption();
    selectCaptionIfNew();
    Taken_.reset();
}

void TForm_Edit_Node::selectCaptionIfNew() {
    // Showing the window may select the focused edit's text by itself; the
    // caption is selected only when it is the new-node caption.
    if (Select_Caption_)
        Edit_Name->selectAll();
    else
        Edit_Name->deselect();
}

void TForm_Edit_Node::editNode(TTree_Node& node, QWidget* parent, TDone done) {
    if (isVisible()) {
        // One node at a time: a second request while the dialog is open is refused.
        if (done) done(false, &node);
        return;
    }
    if (parent != nullptr && parentWidget() != parent) setParent(parent, windowFlags());
    loadNode(node);
    Node_ = &node;
    Done_ = std::move(done);
    setModal(true);
    if (TDialog_Script::active() != nullptr) {
        // A script goes on while the dialog is open and closes it with keys.
        show();
        activateWindow();
        Edit_Name->setFocus();
        selectCaptionIfNew();
        return;
    }
    QTimer::singleShot(0, this, [this] { selectCaptionIfNew(); });
    exec();
}

void TForm_Edit_Node::forgetSubtree(const TTree_Node& node, bool wholeSubtree) {
    if (Node_ == nullptr) return;
    if (Node_ == &node || (wholeSubtree && isInSubtree(&node, Node_))) Node_ = nullptr;
}

bool TForm_Edit_Node::takeNote() {
    Taken_.reset();
    if (!RE->isModified()) return true;
    TContent_Store* working = store();
    std::optional<int32_t> offset;
    std::string rtf = RE->noteRtf();
    if (working != nullptr) offset = working->append(rtf);
    if (!offset) {
        // Closing now would drop the note the user typed.
        messages().warning("無法保存筆記，請重試或複製筆記內容");
        return false;
    }
    TTaken_Note taken;
    taken.Offset = *offset;
    taken.Size = static_cast<int32_t>(rtf.size());
    std::string plain = RE->plainTextInCodePage();
    taken.Excerpt = plain.substr(0, excerptLength(plain));
    Taken_ = std::move(taken);
    return true;
}

void TForm_Edit_Node::SpeedButton_OkClick() {
    if (Edit_Name->text().trimmed().isEmpty()) {
        messages().warning("名稱不能爲空");
        return;
    }
    if (!takeNote()) return;
    accept();
}

void TForm_Edit_Node::applyToNode(TTree_Node& node) {
    int replaced = 0;
    std::string caption = qStringToNodeText(Edit_Name->text(), &replaced);
    node.setCaption(caption);
    node.setLink(qStringToNodeText(Edit_Url->text()));
    if (RE->isModified() && !Taken_) takeNote();
    if (Taken_) {
        node.Work_Offset = Taken_->Offset;
        node.Work_Size = Taken_->Size;
        node.Content_Dirty = 1;
        node.setExcerpt(Taken_->Excerpt);
        Taken_.reset();
    }
    node.Color_Caption = Color_;
    node.Note_Caret = RE->caretPosition();
    RE->setModified(false);
    if (replaced > 0)
        message_box::warning(this, "標題中有 %d 個字符無法以當前編碼保存，已換成“?”",
                             {QString::number(replaced)});
}

void TForm_Edit_Node::keyPressEvent(QKeyEvent* event) {
    if (handleDialogKey(event)) return;
    // Plain Enter belongs to the control that has the focus, never to a default button.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) return;
    QDialog::keyPressEvent(event);
}

bool TForm_Edit_Node::handleDialogKey(QKeyEvent* event) {
    const bool control = event->modifiers() & Qt::ControlModifier;
    const bool alt = event->modifiers() & Qt::AltModifier;
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && (control || alt))
        SpeedButton_OkClick();
    else if (key == Qt::Key_Escape)
        reject();
    else if (control && key == Qt::Key_F)
        RE->findCommand();
    else if (key == Qt::Key_F3)
        RE->findNextCommand();
    else if (control && key == Qt::Key_T)
        RE->replaceCommand();
    else
        return false;
    return true;
}

bool TForm_Edit_Node::eventFilter(QObject* watched, QEvent* event) {
    // The dialog sees its keys before the control that has the focus.
    if (event->type() == QEvent::KeyPress && watched != Label_Color &&
        handleDialogKey(static_cast<QKeyEvent*>(event)))
        return true;
    if (watched == Label_Color && event->type() == QEvent::MouseButtonRelease) {
        Label_ColorClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TForm_Edit_Node::Label_ColorClick() {
    QColor chosen;
    if (TDialog_Script* script = TDialog_Script::active())
        chosen = QColor(script->takeAnswer().value_or(QString()));
    else
        chosen = QColorDialog::getColor(colorFromBgr(Color_), this);
    if (chosen.isValid()) setLabelColor(bgrFromColor(chosen));
}

QString TForm_Edit_Node::linkForFile(const QString& path, const QString& programDirectory) {
    QString base = programDirectory;
    while (base.endsWith('/') && base.size() > 1) base.chop(1);
    if (!base.isEmpty() && path.startsWith(base) && path.size() > base.size() &&
        path[base.size()] == '/')
        return "./" + path.mid(base.size() + 1);
    return path;
}

void TForm_Edit_Node::SpeedButton_OpenClick() {
    QString path;
    if (TDialog_Script* script = TDialog_Script::active())
        path = script->takeAnswer().value_or(QString());
    else
        path = QFileDialog::getOpenFileName(
            this, {}, {},
            uiText("所有文件") +
                " (*);;Word (*.doc);;Pdf (*.pdf);;Zip File (*.zip);;Rar File (*.rar)");
    if (path.isEmpty()) return;
    Edit_Url->setText(linkForFile(path, QString::fromStdString(programDirectory())));
}

void TForm_Edit_Node::SpeedButton_VisitClick() {
    QString link = Edit_Url->text().trimmed();
    if (link.isEmpty()) return;
    if (Link_Opener) Link_Opener(link);
}

bool TForm_Edit_Node::loadNoteHidden(TTree_Node& node, TFile* documentFile) {
    TContent_Store* working = store();
    if (node.Work_Size <= 0 && node.Content_Size > 0 && working != nullptr)
        loadNote(node, documentFile, *working);
    // New nodes carry an empty excerpt: that is no note.
    bool hasExcerpt = node.Note_Excerpt.isPresent() && !node.Note_Excerpt.isEmpty();
    if (node.Work_Size <= 0 && !hasExcerpt) return false;
    RE->initialise();
    RE->clearNote();
    std::string bytes;
    if (node.Work_Size > 0 && working != nullptr &&
        working->read(node.Work_Offset, node.Work_Size, bytes))
        RE->loadNote(bytes);
    else if (hasExcerpt)
        RE->loadPlainText(node.Note_Excerpt.view());
    else
        return false;
    return true;
}

std::optional<std::vector<std::string>> TForm_Edit_Node::noteLines(TTree_Node& node,
                                                                   TFile* documentFile) {
    if (!loadNoteHidden(node, documentFile)) return std::nullopt;
    return RE->plainTextLines();
}

bool TForm_Edit_Node::copyNoteToClipboard(TTree_Node& node, TFile* documentFile) {
    if (!loadNoteHidden(node, documentFile)) return false;
    RE->copyAllAsRichText();
    return true;
}

std::optional<std::vector<std::string>> noteLinesOf(TTree_Node& node, TFile* documentFile) {
    TContent_Store* working = contentStore();
    if (node.Work_Size <= 0 && node.Content_Size > 0 && working != nullptr)
        loadNote(node, documentFile, *working);
    std::string bytes;
    if (node.Work_Size > 0 && working != nullptr &&
        working->read(node.Work_Offset, node.Work_Size, bytes)) {
        TRtf_Document note;
        int codePage = activeTextMode() == kTextModeTraditional ? 950 : 936;
        if (readRtf(bytes, note, {codePage}) == TRtf_Read_Status::Not_Rtf)
            note = documentFromPlainText(codePageToUtf8(bytes, activeTextMode()).text);
        return plainTextLines(note);
    }
    if (!node.Note_Excerpt.isPresent() || node.Note_Excerpt.isEmpty()) return std::nullopt;
    return plainTextLines(
        documentFromPlainText(codePageToUtf8(node.Note_Excerpt.view(), activeTextMode()).text));
}

}  // namespace vetra
