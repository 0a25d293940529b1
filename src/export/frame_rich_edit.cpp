#include "export/frame_rich_edit.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QColorDialog>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QImageReader>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPrintDialog>
#include <QPointer>
#include <QPrinter>
#include <QTextBlock>
#include <QTextList>

#include "export/find_replace_dialog.h"
#include "export/note_text_document.h"
#include "platform/text_codec.h"
#include "platform/text_mode.h"
#include "rtf/rtf_reader.h"
#include "rtf/rtf_writer.h"

namespace vetra {
namespace {

constexpr int kMin_Font_Size = 1;
constexpr int kMax_Font_Size = 1638;

int noteCodePage() {
    return activeTextMode() == kTextModeTraditional ? 950 : 936;
}

QString programDirectory() {
    return QCoreApplication::applicationDirPath();
}

}  // namespace

void TRich_Edit_Control::focusInEvent(QFocusEvent* event) {
    QTextEdit::focusInEvent(event);
    emit entered();
}

void TRich_Edit_Control::keyPressEvent(QKeyEvent* event) {
    bool control = event->modifiers() & Qt::ControlModifier;
    bool keypad = event->modifiers() & Qt::KeypadModifier;
    bool separator = keypad && (event->key() == Qt::Key_Comma || event->key() == Qt::Key_Period);
    if (event->key() == Qt::Key_F2 || (control && event->key() == Qt::Key_Q) ||
        (control && separator)) {
        emit colorKeyPressed();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

int charsetOfFont(const QString& family) {
    const QList<QFontDatabase::WritingSystem> systems = QFontDatabase::writingSystems(family);
    if (systems.contains(QFontDatabase::SimplifiedChinese)) return 134;
    if (systems.contains(QFontDatabase::TraditionalChinese)) return 136;
    return 0;
}

TFrame_RichEdit::TFrame_RichEdit(QWidget* parent) : QWidget(parent) {
    setObjectName("RE");
    buildToolBar();
    connectCommands();
}

TFrame_RichEdit::~TFrame_RichEdit() = default;

void TFrame_RichEdit::initialise() {
    if (Initialised_) return;
    Initialised_ = true;
    {
        QSignalBlocker block(FontName);
        FontName->clear();
        QStringList families = QFontDatabase::families();
        // Vertical faces ("@" names) are for vertical writing, not notes.
        families.erase(std::remove_if(families.begin(), families.end(),
                                      [](const QString& f) { return f.startsWith('@'); }),
                       families.end());
        families.sort();
        FontName->addItems(families);
    }
    QString face =
        activeTextMode() == kTextModeTraditional ? QStringLiteral("Arial") : QStringLiteral("宋体");
    QTextCharFormat format;
    format.setFontFamilies(QStringList{face});
    format.setFontPointSize(10);
    {
        QSignalBlocker block(FontName);
        FontName->setEditText(face);
        FontSize->setText(QStringLiteral("10"));
    }
    QFont base(face);
    base.setPointSize(10);
    RichEdit->document()->setDefaultFont(base);
    RichEdit->mergeCurrentCharFormat(format);
}

void TFrame_RichEdit::loadNote(std::string_view bytes) {
    if (!looksLikeRtf(bytes)) {
        loadPlainText(bytes);
        return;
    }
    TRtf_Document note;
    readRtf(bytes, note, {noteCodePage()});
    showNote(note);
}

void TFrame_RichEdit::loadPlainText(std::string_view codePageText) {
    TConverted_Text utf8 = codePageToUtf8(codePageText, activeTextMode());
    showNote(documentFromPlainText(utf8.text));
}

void TFrame_RichEdit::clearNote() {
    showNote(TRtf_Document{});
}

void TFrame_RichEdit::showNote(const TRtf_Document& note) {
    // A new document is filled away from the control and then handed to it:
    // the control lays the note out once instead of after every paragraph,
    // and the undo history starts empty.
    // The control deletes a document it made itself when it is given another.
    QPointer<QTextDocument> old = RichEdit->document();
    auto* fresh = new QTextDocument(RichEdit);
    fresh->setObjectName("NoteDocument");
    fresh->setDefaultFont(old->defaultFont());
    fresh->setDocumentMargin(old->documentMargin());
    fresh->setUndoRedoEnabled(false);
    if (!note.Paragraphs.empty()) loadNoteIntoTextDocument(note, *fresh);
    fresh->setUndoRedoEnabled(true);
    fresh->setModified(false);
    {
        QSignalBlocker block(RichEdit);
        RichEdit->setDocument(fresh);
    }
    if (!old.isNull() && old->parent() == RichEdit && old->objectName() == "NoteDocument")
        old->deleteLater();
    RichEdit->moveCursor(QTextCursor::Start);
    syncToolBar();
}

TRtf_Document TFrame_RichEdit::noteDocument() const {
    return noteFromTextDocument(*RichEdit->document());
}

std::string TFrame_RichEdit::noteRtf() const {
    TRtf_Write_Options options;
    options.Code_Page = noteCodePage();
    if (activeTextMode() == kTextModeTraditional) options.Default_Font = "Arial";
    return writeRtf(noteDocument(), options);
}

std::vector<std::string> TFrame_RichEdit::plainTextLines() const {
    return vetra::plainTextLines(noteDocument());
}

std::string TFrame_RichEdit::plainTextInCodePage(int* replaced) const {
    QString text = RichEdit->document()->toPlainText();
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    text.remove(QChar::ObjectReplacementCharacter);
    QByteArray utf8 = text.toUtf8();
    TConverted_Text converted =
        utf8ToCodePage({utf8.constData(), static_cast<size_t>(utf8.size())}, activeTextMode());
    if (replaced != nullptr) *replaced = converted.replaced;
    return converted.text;
}

void TFrame_RichEdit::copyAllAsRichText() const {
    auto* mime = new QMimeData;
    std::string rtf = noteRtf();
    QByteArray bytes(rtf.data(), static_cast<qsizetype>(rtf.size()));
    mime->setData(QStringLiteral("text/rtf"), bytes);
    mime->setData(QStringLiteral("application/rtf"), bytes);
    mime->setHtml(RichEdit->document()->toHtml());
    mime->setText(RichEdit->document()->toPlainText());
    QApplication::clipboard()->setMimeData(mime);
}

void TFrame_RichEdit::setCaretPosition(int position) {
    QTextCursor cursor = RichEdit->textCursor();
    int end = RichEdit->document()->characterCount() - 1;
    cursor.setPosition(qBound(0, position, qMax(0, end)));
    RichEdit->setTextCursor(cursor);
}

void TFrame_RichEdit::setSwatchColor(const QColor& color) {
    Swatch_Color_ = color;
    QPalette palette = ScrollBox_Font->palette();
    palette.setColor(QPalette::Window, color);
    ScrollBox_Font->setPalette(palette);
}

void TFrame_RichEdit::setBackground(const QColor& color) {
    QPalette palette = RichEdit->palette();
    palette.setColor(QPalette::Base, color);
    RichEdit->setPalette(palette);
}

void TFrame_RichEdit::setFileName(const QString& name) {
    File_Name_ = name;
    setWindowTitle(QStringLiteral("%1 - %2").arg(QFileInfo(name).fileName(),
                                                 QApplication::applicationDisplayName()));
}

bool TFrame_RichEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ScrollBox_Font && event->type() == QEvent::MouseButtonRelease) {
        chooseSwatchColor();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TFrame_RichEdit::mergeFormat(const QTextCharFormat& format) {
    QTextCursor cursor = RichEdit->textCursor();
    cursor.mergeCharFormat(format);
    RichEdit->mergeCurrentCharFormat(format);
}

void TFrame_RichEdit::applySwatchColor() {
    QTextCharFormat format;
    format.setForeground(Swatch_Color_);
    mergeFormat(format);
}

void TFrame_RichEdit::chooseSwatchColor() {
    QColor chosen = QColorDialog::getColor(Swatch_Color_, this);
    if (!chosen.isValid()) return;
    setSwatchColor(chosen);
    applySwatchColor();
    emit swatchColorChosen(chosen);
}

void TFrame_RichEdit::syncToolBar() {
    Updating_ = true;
    QTextCharFormat format = RichEdit->currentCharFormat();
    BoldButton->setChecked(format.fontWeight() >= QFont::DemiBold);
    ItalicButton->setChecked(format.fontItalic());
    UnderlineButton->setChecked(format.fontUnderline());
    BulletsButton->setChecked(RichEdit->textCursor().currentList() != nullptr);
    double points = format.fontPointSize();
    if (points <= 0) points = RichEdit->document()->defaultFont().pointSizeF();
    if (points > 0) FontSize->setText(QString::number(qRound(points)));
    QStringList families = format.fontFamilies().toStringList();
    FontName->setEditText(families.isEmpty() ? RichEdit->document()->defaultFont().family()
                                             : families.first());
    Qt::Alignment alignment = RichEdit->alignment();
    QToolButton* align = alignment & Qt::AlignHCenter ? CenterAlign
                         : alignment & Qt::AlignRight ? RightAlign
                                                      : LeftAlign;
    align->setChecked(true);
    Updating_ = false;
}

void TFrame_RichEdit::fontNameChanged(int index) {
    if (Updating_ || index < 0) return;
    QTextCharFormat format;
    // The entry's character set, asked of the font database when it is chosen.
    format.setProperty(QTextFormat::UserProperty + 1, charsetOfFont(FontName->itemText(index)));
    format.setFontFamilies(QStringList{FontName->itemText(index)});
    mergeFormat(format);
}

void TFrame_RichEdit::applyFontSizeText() {
    if (Updating_) return;
    bool ok = false;
    int size = FontSize->text().trimmed().toInt(&ok);
    if (!ok || size == 0) return;
    if (size < kMin_Font_Size || size > kMax_Font_Size) {
        if (Messages_ != nullptr) Messages_->information("The number must be between 1 and 1638.");
        size = size < kMin_Font_Size ? kMin_Font_Size : kMax_Font_Size;
        FontSize->setText(QString::number(size));
    }
    QTextCharFormat format;
    format.setFontPointSize(size);
    mergeFormat(format);
}

void TFrame_RichEdit::stepFontSize(int delta) {
    int size = qBound(kMin_Font_Size, FontSize->text().toInt() + delta, kMax_Font_Size);
    FontSize->setText(QString::number(size));
    applyFontSizeText();
}

bool TFrame_RichEdit::openFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    QByteArray bytes = file.readAll();
    std::string_view view(bytes.constData(), static_cast<size_t>(bytes.size()));
    if (looksLikeRtf(view)) {
        loadNote(view);
    } else {
        // Text files on this desktop are UTF-8; others are read in the active code page.
        QString text = QString::fromUtf8(bytes);
        if (text.contains(QChar::ReplacementCharacter)) {
            loadPlainText(view);
        } else {
            showNote(documentFromPlainText(text.toStdString()));
        }
    }
    setFileName(path);
    RichEdit->setFocus();
    RichEdit->document()->setModified(false);
    return true;
}

bool TFrame_RichEdit::saveToFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    QByteArray bytes;
    if (path.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive)) {
        bytes = RichEdit->document()->toPlainText().toUtf8();
    } else {
        std::string rtf = noteRtf();
        bytes = QByteArray(rtf.data(), static_cast<qsizetype>(rtf.size()));
    }
    if (file.write(bytes) != bytes.size() || !file.flush()) return false;
    setFileName(path);
    return true;
}

void TFrame_RichEdit::openCommand() {
    QString path = QFileDialog::getOpenFileName(
        this, {}, programDirectory(),
        QStringLiteral("Rich Text Files (*.RTF *.rtf);;Text Files (*.TXT *.txt)"));
    if (path.isEmpty()) return;
    if (!openFile(path) && Messages_ != nullptr)
        Messages_->warning("無法打開文件 %s", path.toStdString());
}

void TFrame_RichEdit::saveCommand() {
    QFileDialog dialog(this, {}, programDirectory(),
                       QStringLiteral("Rich Text Files (*.RTF *.rtf);;Text Files (*.TXT *.txt)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("rtf"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    QString path = dialog.selectedFiles().first();
    if (!saveToFile(path) && Messages_ != nullptr) Messages_->warning("無法創建文件");
}

void TFrame_RichEdit::printCommand() {
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
    printer.setDocName(File_Name_);
    RichEdit->print(&printer);
}

void TFrame_RichEdit::insertPictureCommand() {
    QString path = QFileDialog::getOpenFileName(
        this, {}, {},
        QStringLiteral("BMP(*.bmp);;JPEG(*.jpg *.jpeg);;PNG(*.png);;(*.bmp *.jpg *.jpeg *.png)"));
    if (path.isEmpty()) return;
    if (!insertPicture(path) && Messages_ != nullptr)
        Messages_->warning("無法讀取圖片 %s", path.toStdString());
}

bool TFrame_RichEdit::insertPicture(const QString& path) {
    QString name = QFileInfo(path).fileName();
    bool jpeg = name.size() > 4 && name.endsWith(QStringLiteral(".jpg"), Qt::CaseInsensitive);
    QImageReader reader(path, jpeg ? QByteArray("JPEG") : QByteArray());
    reader.setAutoTransform(true);
    QImage image = reader.read();
    if (image.isNull()) return false;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImage flat = image.convertToFormat(QImage::Format_RGB888);
    if (!flat.save(&buffer, "BMP")) return false;
    QTextCursor cursor = RichEdit->textCursor();
    bool inserted = insertPictureAt(cursor, std::string(bytes.constData(), bytes.size()));
    RichEdit->viewport()->update();
    return inserted;
}

void TFrame_RichEdit::standardiseSpacing() {
    RichEdit->selectAll();
    QTextBlockFormat format;
    format.setTopMargin(60 / 15.0);
    format.setBottomMargin(60 / 15.0);
    format.setProperty(QTextFormat::UserProperty + 2, 60);
    format.setProperty(QTextFormat::UserProperty + 3, 60);
    format.setLineHeight(100, QTextBlockFormat::ProportionalHeight);
    RichEdit->textCursor().mergeBlockFormat(format);
}

TFind_Dialog* TFrame_RichEdit::findDialog(bool withReplace) {
    QPointer<TFind_Dialog>& slot = withReplace ? Replace_Dialog_ : Find_Dialog_;
    if (slot.isNull()) {
        slot = new TFind_Dialog(this, withReplace);
        TFind_Dialog* dialog = slot;
        connect(dialog, &TFind_Dialog::findNext, this, [this, dialog] {
            Last_Find_ = dialog->findText();
            findText(Last_Find_);
        });
        connect(dialog, &TFind_Dialog::replaceOne, this,
                [this, dialog] { replaceOnce(dialog->findText(), dialog->replaceText()); });
        connect(dialog, &TFind_Dialog::replaceAll, this,
                [this, dialog] { replaceAll(dialog->findText(), dialog->replaceText()); });
    }
    return slot;
}

void TFrame_RichEdit::findCommand() {
    TFind_Dialog* dialog = findDialog(false);
    dialog->show();
    dialog->raise();
}

void TFrame_RichEdit::findNextCommand() {
    if (!Find_Dialog_.isNull() && !Find_Dialog_->findText().isEmpty())
        Last_Find_ = Find_Dialog_->findText();
    if (Last_Find_.isEmpty()) {
        findCommand();
        return;
    }
    findText(Last_Find_);
}

void TFrame_RichEdit::replaceCommand() {
    TFind_Dialog* dialog = findDialog(true);
    dialog->show();
    dialog->raise();
}

bool TFrame_RichEdit::findText(const QString& text) {
    QTextCursor current = RichEdit->textCursor();
    return findFrom(text, current.hasSelection() ? current.selectionEnd() : 0);
}

bool TFrame_RichEdit::findFrom(const QString& text, int start) {
    if (text.isEmpty()) return false;
    QTextCursor found = RichEdit->document()->find(text, start, QTextDocument::FindCaseSensitively);
    if (found.isNull()) return false;
    RichEdit->setFocus();
    RichEdit->setTextCursor(found);
    return true;
}

void TFrame_RichEdit::replaceOnce(const QString& text, const QString& replacement) {
    if (RichEdit->textCursor().selectedText() != text) findText(text);
    if (text.isEmpty() || RichEdit->textCursor().selectedText() != text) return;
    QTextCursor cursor = RichEdit->textCursor();
    cursor.insertText(replacement);
    findFrom(text, cursor.position());
}

void TFrame_RichEdit::replaceAll(const QString& text, const QString& replacement) {
    if (RichEdit->textCursor().selectedText() != text) findText(text);
    if (text.isEmpty() || RichEdit->textCursor().selectedText() != text) return;
    if (Messages_ == nullptr || !Messages_->confirmation("確定全部替換嗎？")) return;
    QTextCursor group = RichEdit->textCursor();
    group.beginEditBlock();
    // The replacement may contain the search text: each search starts after
    // the text just put in, so the loop always ends.
    while (RichEdit->textCursor().selectedText() == text) {
        QTextCursor cursor = RichEdit->textCursor();
        cursor.insertText(replacement);
        if (!findFrom(text, cursor.position())) break;
    }
    group.endEditBlock();
    if (!Replace_Dialog_.isNull()) Replace_Dialog_->close();
}

}  // namespace vetra
