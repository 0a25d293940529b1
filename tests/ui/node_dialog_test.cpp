// The node dialog opened from a document window: applying, undo, refusals,
// and a node erased while the dialog is open.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QtTest/QTest>
#include <filesystem>

#include "export/frame_rich_edit.h"
#include "rtf/rtf_test_support.h"
#include "store/content_store.h"
#include "tests/ui/window_fixture.h"
#include "ui/content_store_upkeep.h"
#include "ui/form_edit_node.h"
#include "ui/ui_text.h"

namespace vetra {
namespace {

// A window whose root has one child, selected.
struct TDialog_Fixture : test::TWindow_Fixture {
    TTree_Node* child = nullptr;

    TDialog_Fixture() : test::TWindow_Fixture("vetra_node_dialog_test") {
        select(window->currentRoot());
        window->N_CreateClick();
        window->commitCaptionEditor();
        child = window->currentRoot()->child(0);
        select(child);
    }
    ~TDialog_Fixture() {
        if (TForm_Edit_Node::exists()) dialog().reject();
    }
    TForm_Edit_Node& dialog() { return TForm_Edit_Node::instance(); }
    // Opens the dialog on the child and types a caption and a note.
    void edit(const QString& caption, const std::string& noteRtf) {
        window->N_EditClick();
        ASSERT_TRUE(dialog().isVisible());
        dialog().Edit_Name->setText(caption);
        if (!noteRtf.empty()) {
            dialog().frame().loadNote(noteRtf);
            dialog().frame().setModified(true);
        }
    }
};

TEST(NodeDialog, ConfirmedEditIsAppliedShownAgainAndUndone) {
    TDialog_Fixture f;
    f.edit(QStringLiteral("筆記"), test::readNoteFile("gbk_note.rtf"));
    f.dialog().frame().setCaretPosition(7);
    f.dialog().SpeedButton_Ok->click();
    EXPECT_FALSE(f.dialog().isVisible());
    EXPECT_EQ(nodeTextToQString(f.child->Caption.view()), QStringLiteral("筆記"))
        << "GBK holds traditional characters";
    EXPECT_EQ(f.child->Content_Dirty, 1);
    EXPECT_GT(f.child->Work_Size, 0);
    EXPECT_EQ(nodeTextToQString(f.child->Note_Excerpt.view()).left(4), QStringLiteral("中文筆記"));
    EXPECT_EQ(f.window->document().Modified, 1);
    EXPECT_EQ(f.window->document().Undo.count(), 2) << "the create, then the edit";

    // Opening again shows the note as it was applied.
    f.window->N_EditClick();
    EXPECT_EQ(f.dialog().frame().plainTextLines().front(), "中文筆記");
    EXPECT_EQ(f.dialog().frame().caretPosition(), 7) << "the caret comes back where it was left";
    f.dialog().reject();

    f.window->N_UndoClick();
    EXPECT_EQ(f.child->Caption.view(), newNodeCaption());
    EXPECT_EQ(f.child->Work_Size, 0);
}

TEST(NodeDialog, RefusesABlankCaptionAndCancelChangesNothing) {
    const struct {
        const char* name;
        const char* caption;
        bool ok;
        bool open;
        bool warned;
    } cases[] = {
        {"blanks only", "   ", true, true, true},
        {"empty", "", true, true, true},
        {"cancel", "changed", false, false, false},
    };
    for (const auto& c : cases) {
        TDialog_Fixture f;
        f.edit(QString::fromUtf8(c.caption), {});
        if (c.ok)
            f.dialog().SpeedButton_Ok->click();
        else
            QTest::keyClick(f.dialog().Edit_Name, Qt::Key_Escape);
        EXPECT_EQ(f.dialog().isVisible(), c.open) << c.name;
        EXPECT_EQ(f.script.messages().join('\n').contains(uiText("名稱不能爲空")), c.warned)
            << c.name;
        EXPECT_EQ(f.child->Caption.view(), newNodeCaption()) << c.name;
    }
}

TEST(NodeDialog, KeysConfirmAndTheNewCaptionIsSelected) {
    TDialog_Fixture f;
    f.window->N_EditClick();
    EXPECT_EQ(f.dialog().Edit_Name->selectedText(), f.dialog().Edit_Name->text())
        << "a new node's caption is selected so typing replaces it";
    f.dialog().Edit_Name->insert(QStringLiteral("題目"));  // typing replaces the selection
    f.script.queueAnswer("0x00FF00");
    QTest::mouseClick(f.dialog().Label_Color, Qt::LeftButton);
    QTest::keyClick(f.dialog().Edit_Name, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_FALSE(f.dialog().isVisible());
    EXPECT_EQ(nodeTextToQString(f.child->Caption.view()), QStringLiteral("題目"));
    EXPECT_EQ(f.child->Color_Caption, 0x00FF00);

    f.window->N_EditClick();
    EXPECT_FALSE(f.dialog().Edit_Name->hasSelectedText());
    QTest::keyClick(f.dialog().Edit_Name, Qt::Key_Return, Qt::AltModifier);
    EXPECT_FALSE(f.dialog().isVisible());
}

TEST(NodeDialog, ANodeErasedWhileTheDialogIsOpenIsNotWrittenAndTheNoteIsKept) {
    TDialog_Fixture f;
    f.edit(QStringLiteral("gone"), test::readNoteFile("big5_note.rtf"));
    f.select(f.child);
    f.window->N_EraseClick();  // a script's menu command reaches the window meanwhile
    ASSERT_EQ(f.window->currentRoot()->childCount(), 0);
    f.dialog().SpeedButton_Ok->click();
    EXPECT_TRUE(f.script.messages().join('\n').contains(
        uiText("該節點已被刪除，所編輯的筆記已複製到剪貼板")));
    EXPECT_TRUE(QApplication::clipboard()->mimeData()->text().contains(QStringLiteral("繁體中文")));
}

// A copy of a sample document that not even root can open for writing, or
// an empty name where the file system cannot mark files immutable.
std::string immutableCopy(const std::string& name) {
    std::string path = ::testing::TempDir() + name;
    std::filesystem::copy_file(std::string(VETRA_TEST_DATA) + "/mode1_notes.vt", path,
                               std::filesystem::copy_options::overwrite_existing);
    if (std::system(("chattr +i " + path + " 2>/dev/null").c_str()) != 0) return {};
    return path;
}

TEST(NodeDialog, EditsInAReadOnlyDocumentAreAppliedAndTheUserIsTold) {
    TDialog_Fixture f;
    std::string path = immutableCopy("vetra_read_only_note.vt");
    if (path.empty()) GTEST_SKIP() << "chattr +i is not available here";
    f.frame->openDocument(QString::fromStdString(path));
    auto* window = qobject_cast<TForm_Qo_Tree*>(f.frame->activeDocumentWindow());
    ASSERT_NE(window, f.window);
    TTree_Node* node = window->currentRoot()->child(1);
    window->currentRoot()->clearSelection();
    node->setSelected(true);
    window->N_EditClick();
    f.dialog().frame().loadNote(test::readNoteFile("gbk_note.rtf"));
    f.dialog().frame().setModified(true);
    f.dialog().SpeedButton_Ok->click();
    EXPECT_GT(node->Work_Size, 0) << "the note is kept in the document";
    EXPECT_EQ(window->document().Modified, 1);
    EXPECT_TRUE(f.script.messages().join('\n').contains(
        uiText("該文件以只讀方式打開，請用另存爲保存所作的修改")));
    std::system(("chattr -i " + path).c_str());
}

TEST(NodeDialog, ANoteEditedManyTimesDoesNotGrowTheStoreWithoutBound) {
    TDialog_Fixture f;
    contentStoreCompactionMinimum() = 64 << 10;
    TContent_Store* store = contentStore();
    ASSERT_NE(store, nullptr);
    const int64_t before = store->size();
    std::string big(10000, 'x');
    for (int edit = 0; edit < 200; ++edit) {
        f.edit(QStringLiteral("n"), writeRtf(documentFromPlainText(std::to_string(edit) + big)));
        f.dialog().SpeedButton_Ok->click();
        // Saving gives the working copies up, as the document store does.
        if (edit % 50 == 25) f.window->document().Undo.clear();
    }
    contentStoreCompactionMinimum() = int64_t{16} << 20;
    // Without compaction the store would hold two hundred copies of 10 kB.
    EXPECT_LT(store->size() - before, int64_t{600} << 10);
    f.window->N_EditClick();
    EXPECT_EQ(f.dialog().frame().plainTextLines().front().substr(0, 4), "199x");
    f.dialog().reject();
    f.window->N_UndoClick();
    f.window->N_EditClick();
    EXPECT_EQ(f.dialog().frame().plainTextLines().front().substr(0, 4), "198x")
        << "undo records follow their copies when the store is compacted";
}

}  // namespace
}  // namespace vetra
