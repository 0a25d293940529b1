#pragma once

#include <QButtonGroup>
#include <QColor>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPointer>
#include <QTextEdit>
#include <QToolButton>
#include <QWidget>
#include <string>
#include <string_view>
#include <vector>

#include "model/user_prompts.h"
#include "rtf/rtf_document.h"

namespace vetra {

class TFind_Dialog;

// The note's text control: hands focus-in and the colour keys to the frame.
class TRich_Edit_Control : public QTextEdit {
    Q_OBJECT
  public:
    using QTextEdit::QTextEdit;

  signals:
    void entered();
    void colorKeyPressed();

  protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

// The editor of a node's note: a tool bar of formatting commands over the
// rich-text control. Notes go in and out as RTF.
class TFrame_RichEdit : public QWidget {
    Q_OBJECT
  public:
    explicit TFrame_RichEdit(QWidget* parent = nullptr);
    ~TFrame_RichEdit() override;

    // The one-time set-up: the font list, the default font. Also run when
    // the control first gets the focus.
    void initialise();
    // Where the size message and the replace-all question go; null: nowhere
    // (the message is not shown and replace all is not confirmed).
    void setMessages(TUser_Messages* messages) { Messages_ = messages; }

    // The note. Bytes that are not RTF are read as plain text in the active
    // code page. Clears the modified flag.
    void loadNote(std::string_view bytes);
    void loadPlainText(std::string_view codePageText);
    void clearNote();
    std::string noteRtf() const;
    TRtf_Document noteDocument() const;
    std::vector<std::string> plainTextLines() const;
    // The plain text in the active code page, paragraphs joined by "\r\n",
    // and how many characters the code page could not hold.
    std::string plainTextInCodePage(int* replaced = nullptr) const;
    // Puts the whole note on the system clipboard as rich text.
    void copyAllAsRichText() const;

    bool isModified() const { return RichEdit->document()->isModified(); }
    void setModified(bool modified) { RichEdit->document()->setModified(modified); }
    int caretPosition() const { return RichEdit->textCursor().position(); }
    void setCaretPosition(int position);

    QColor swatchColor() const { return Swatch_Color_; }
    void setSwatchColor(const QColor& color);
    void setBackground(const QColor& color);

    // Commands the dialog routes keys to.
    void findCommand();
    void findNextCommand();
    void replaceCommand();
    // Find from the end of the selection (or from the start of the text);
    // always case-sensitive. False when there is no match.
    bool findText(const QString& text);
    void replaceOnce(const QString& text, const QString& replacement);
    void replaceAll(const QString& text, const QString& replacement);
    // Adds the picture file at the selection; false when it does not load.
    bool insertPicture(const QString& path);
    void standardiseSpacing();
    // Sets the selection's size from the FontSize text, clamping it to 1..1638.
    void applyFontSizeText();

    QString fileName() const { return File_Name_; }
    void setFileName(const QString& name);
    bool saveToFile(const QString& path);
    bool openFile(const QString& path);

    TRich_Edit_Control* RichEdit = nullptr;
    QToolButton *OpenButton = nullptr, *SaveButton = nullptr, *PrintButton = nullptr,
                *UndoButton = nullptr, *CutButton = nullptr, *CopyButton = nullptr,
                *PasteButton = nullptr;
    QComboBox* FontName = nullptr;
    QLineEdit* FontSize = nullptr;
    QToolButton *UpDown1_Up = nullptr, *UpDown1_Down = nullptr;
    QFrame* ScrollBox_Font = nullptr;
    QToolButton *BoldButton = nullptr, *ItalicButton = nullptr, *UnderlineButton = nullptr;
    QToolButton *LeftAlign = nullptr, *CenterAlign = nullptr, *RightAlign = nullptr;
    QToolButton* BulletsButton = nullptr;
    QToolButton *SpeedButton_Insert_Pict = nullptr, *SpeedButton_Find = nullptr,
                *SpeedButton_Replace = nullptr, *SpeedButton_Space_Std = nullptr;

  signals:
    // The user picked a colour with the swatch.
    void swatchColorChosen(const QColor& color);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildToolBar();
    void showNote(const TRtf_Document& note);
    void connectCommands();
    void syncToolBar();
    void mergeFormat(const QTextCharFormat& format);
    void applySwatchColor();
    void chooseSwatchColor();
    void openCommand();
    void saveCommand();
    void printCommand();
    void insertPictureCommand();
    void fontNameChanged(int index);
    void stepFontSize(int delta);
    TFind_Dialog* findDialog(bool withReplace);
    // The search after a replacement goes on behind the text put in, so a
    // replacement that contains the search text cannot loop for ever.
    bool findFrom(const QString& text, int start);

    bool Updating_ = false;
    bool Initialised_ = false;
    QString File_Name_;
    QColor Swatch_Color_{128, 0, 128};
    QButtonGroup* Align_Group_ = nullptr;
    TUser_Messages* Messages_ = nullptr;
    QPointer<TFind_Dialog> Find_Dialog_;
    QPointer<TFind_Dialog> Replace_Dialog_;
    QString Last_Find_;
};

// The character set a font of the screen writes: 134 for fonts with
// simplified Chinese, 136 for traditional, else 0.
int charsetOfFont(const QString& family);

}  // namespace vetra
