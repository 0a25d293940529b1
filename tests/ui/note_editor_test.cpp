// The note editor frame and the node dialog, through their real widgets.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QTextBlock>
#include <QTextList>
#include <QtTest/QTest>

#include "export/frame_rich_edit.h"
#include "model/recording_prompts.h"
#include "rtf/rtf_reader.h"
#include "rtf/rtf_test_support.h"
#include "rtf/rtf_writer.h"
#include "ui/form_edit_node.h"

namespace vetra {
namespace {

using test::readNoteFile;

struct TFrame_Fixture {
    test::TRecording_Messages messages;
    TFrame_RichEdit frame;
    TFrame_Fixture() { frame.setMessages(&messages); }
    void setText(const char* text) { frame.loadNote(writeRtf(documentFromPlainText(text))); }
    QString text() const { return frame.RichEdit->toPlainText(); }
};

TEST(NoteEditor, WindowsNotesSurviveTheEditor) {
    for (const char* file :
         {"gbk_note.rtf", "big5_note.rtf", "object_bitmap.rtf", "pict_pictures.rtf"}) {
        TFrame_RichEdit frame;
        std::string original = readNoteFile(file);
        frame.loadNote(original);
        TRtf_Document read = test::parsed(original);
        TRtf_Document shown = frame.noteDocument();
        EXPECT_EQ(plainTextLines(shown), plainTextLines(read)) << file;
        std::string saved = frame.noteRtf();
        // What the editor saves reads back as what it showed, and saving
        // that again gives the same bytes.
        EXPECT_EQ(test::parsed(saved), shown) << file << "\n" << saved;
        frame.loadNote(saved);
        EXPECT_EQ(frame.noteRtf(), saved) << file;
    }
}

TEST(NoteEditor, FormattingShowsAsWritten) {
    TFrame_RichEdit frame;
    frame.loadNote(readNoteFile("gbk_note.rtf"));
    QTextDocument* document = frame.RichEdit->document();
    QTextCursor red = document->find(QStringLiteral("红色粗体"));
    ASSERT_FALSE(red.isNull());
    EXPECT_EQ(red.charFormat().fontWeight(), QFont::Bold);
    EXPECT_EQ(red.charFormat().foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(red.charFormat().fontPointSize(), 14);
    EXPECT_EQ(document->findBlockByNumber(2).blockFormat().alignment() & Qt::AlignHCenter,
              Qt::AlignHCenter);
    EXPECT_NE(document->findBlockByNumber(4).textList(), nullptr);
    frame.loadNote(readNoteFile("object_bitmap.rtf"));
    QTextBlock block = frame.RichEdit->document()->firstBlock();
    bool hasImage = false;
    for (auto it = block.begin(); !it.atEnd(); ++it)
        hasImage |= it.fragment().charFormat().isImageFormat();
    EXPECT_TRUE(hasImage);
}

TEST(NoteEditor, FontSizeIsClampedWithAMessage) {
    const struct {
        const char* name;
        const char* typed;
        const char* shown;
        bool message;
        double points;
    } cases[] = {
        {"too large", "2000", "1638", true, 1638}, {"too small", "-5", "1", true, 1},
        {"zero is ignored", "0", "0", false, 10},  {"not a number", "ab", "ab", false, 10},
        {"in range", "24", "24", false, 24},
    };
    for (const auto& c : cases) {
        TFrame_Fixture f;
        f.frame.initialise();
        f.setText("abc");
        f.frame.RichEdit->selectAll();
        f.frame.FontSize->setText(c.typed);
        f.frame.applyFontSizeText();
        EXPECT_EQ(f.frame.FontSize->text(), c.shown) << c.name;
        EXPECT_EQ(f.messages.saw("The number must be between 1 and 1638."), c.message) << c.name;
        f.frame.RichEdit->selectAll();
        double points = f.frame.RichEdit->textCursor().charFormat().fontPointSize();
        EXPECT_EQ(points, c.points) << c.name;
    }
}

TEST(NoteEditor, FindIsCaseSensitiveAndStartsAtTheTopWithoutASelection) {
    TFrame_Fixture f;
    f.setText("Word word\nword");
    QTextCursor caret = f.frame.RichEdit->textCursor();
    caret.setPosition(12);
    f.frame.RichEdit->setTextCursor(caret);
    ASSERT_TRUE(f.frame.findText("word"));
    EXPECT_EQ(f.frame.RichEdit->textCursor().selectionStart(), 5) << "from the top, not the caret";
    ASSERT_TRUE(f.frame.findText("word"));
    EXPECT_EQ(f.frame.RichEdit->textCursor().selectionStart(), 10) << "then after the match";
    EXPECT_FALSE(f.frame.findText("word")) << "no wrap-around";
    EXPECT_FALSE(f.frame.findText("WORD"));
}

TEST(NoteEditor, ReplaceAllAsksFirst) {
    const struct {
        const char* name;
        bool confirm;
        const char* replacement;
        const char* result;
    } cases[] = {
        {"confirmed", true, "x", "x-x-x"},
        {"declined", false, "x", "ab-ab-ab"},
        {"replacement holds the search text", true, "abab", "abab-abab-abab"},
    };
    for (const auto& c : cases) {
        TFrame_Fixture f;
        f.setText("ab-ab-ab");
        f.messages.Confirm_Answers.push_back(c.confirm);
        f.frame.replaceAll("ab", c.replacement);
        EXPECT_EQ(f.text(), c.result) << c.name;
        EXPECT_TRUE(f.messages.saw("確定全部替換嗎？")) << c.name;
    }
}

TEST(NoteEditor, CopyAllPutsTheNoteOnTheClipboardAsRichText) {
    TFrame_Fixture f;
    f.frame.loadNote(readNoteFile("gbk_note.rtf"));
    f.frame.copyAllAsRichText();
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    QByteArray rtf = mime->data("text/rtf");
    EXPECT_TRUE(rtf.startsWith("{\\rtf1"));
    EXPECT_TRUE(mime->text().contains(QStringLiteral("红色粗体")));
}

TEST(NoteEditor, PicturesAreInsertedByTheirFileName) {
    QImage image(12, 8, QImage::Format_RGB888);
    image.fill(Qt::darkCyan);
    const QString dir = QString::fromStdString(::testing::TempDir());
    const struct {
        const char* name;
        const char* format;  // what the file really holds
        bool inserted;
    } cases[] = {
        {"photo.JPG", "JPEG", true},     {"a.jpg", "JPEG", true},
        {"png_named.jpg", "PNG", false},  // a name ending in .jpg is read as JPEG only
        {".jpg", "PNG", true},            // four characters: read as whatever it is
        {"b.bmp", "BMP", true},          {"c.png", "PNG", true},
    };
    for (const auto& c : cases) {
        QString path = dir + "/" + c.name;
        ASSERT_TRUE(image.save(path, c.format)) << c.name;
        TFrame_RichEdit frame;
        EXPECT_EQ(frame.insertPicture(path), c.inserted) << c.name;
        TRtf_Document note = test::parsed(frame.noteRtf());
        ASSERT_EQ(note.Pictures.size(), c.inserted ? 1u : 0u) << c.name;
        if (!c.inserted) continue;
        EXPECT_EQ(note.Pictures[0].Kind, TRtf_Picture_Kind::Bmp_File) << c.name;
        EXPECT_NE(frame.noteRtf().find("{\\*\\objdata"), std::string::npos) << c.name;
    }
}

TEST(NodeDialog, LinksUnderTheProgramDirectoryBecomeRelative) {
    const struct {
        const char* path;
        const char* link;
    } cases[] = {
        {"/opt/vetra/docs/a.doc", "./docs/a.doc"},  {"/opt/vetra/a.doc", "./a.doc"},
        {"/opt/vetra2/a.doc", "/opt/vetra2/a.doc"}, {"/opt/Vetra/a.doc", "/opt/Vetra/a.doc"},
        {"/home/u/a.doc", "/home/u/a.doc"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TForm_Edit_Node::linkForFile(c.path, "/opt/vetra"), c.link) << c.path;
}

}  // namespace
}  // namespace vetra
