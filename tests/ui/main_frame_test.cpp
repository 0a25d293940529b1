#include "ui/main_frame.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMdiArea>
#include <QtTest/QTest>

#include "store/options.h"
#include "ui/color_palette.h"
#include "ui/dialog_script.h"

namespace vetra {
namespace {

// Stands in for a document window: counts the handlers the frame calls.
class TFake_Document_Window : public QWidget {
    Q_OBJECT
  public:
    TFake_Document_Window(QString fileName, bool allowClose)
        : File_Name_(std::move(fileName)), Allow_Close_(allowClose) {
        setObjectName("Form_Qo_Tree_Fake");
    }
    QStringList calls;
    Q_INVOKABLE QString fileName() const { return File_Name_; }
    Q_INVOKABLE bool closeQuery() {
        calls << "closeQuery";
        return Allow_Close_;
    }
    Q_INVOKABLE bool hasUndoHistory() const { return false; }
  public slots:
    void N_CreateClick() { calls << "N_CreateClick"; }
    void N_EraseClick() { calls << "N_EraseClick"; }
    void N_SaveClick() { calls << "N_SaveClick"; }
    void N_Node_Set_ColorClick() { calls << "N_Node_Set_ColorClick"; }
    void N_Expand_To_3Click() { calls << "N_Expand_To_3Click"; }

  private:
    QString File_Name_;
    bool Allow_Close_;
};

struct TFrame_Fixture {
    QList<TFake_Document_Window*> windows;
    TOptions options{1920, 1080};
    std::unique_ptr<TForm_Main_Vetra> frame;
    QList<bool> allowClose;

    TFrame_Fixture() {
        options.File_Name = ::testing::TempDir() + "vetra_frame_test/qoopt.qoo";
        options.Program_Directory = "/opt/vetra";
        frame = std::make_unique<TForm_Main_Vetra>(
            options, [this](TForm_Main_Vetra&, const QString& path) -> QWidget* {
                if (path == "missing.vt") return nullptr;
                bool allow = allowClose.isEmpty() ? true : allowClose.takeFirst();
                auto* window = new TFake_Document_Window(path, allow);
                windows << window;
                return window;
            });
    }
    QAction* action(const char* name) { return frame->findChild<QAction*>(name); }
};

TEST(MainFrame, CommandsGoToTheActiveDocumentWindow) {
    TFrame_Fixture f;
    f.frame->openDocument("a.vt");
    ASSERT_EQ(f.windows.size(), 1);
    f.action("N_Create")->trigger();
    f.action("N_Cut")->trigger();  // Cut erases, through the window's erase handler
    f.action("N_Expand_To_3")->trigger();
    f.action("ToolButton_Save")->trigger();
    EXPECT_EQ(f.windows[0]->calls,
              QStringList({"N_CreateClick", "N_EraseClick", "N_Expand_To_3Click", "N_SaveClick"}));

    f.frame->openDocument("a.vt");
    EXPECT_EQ(f.windows.size(), 1) << "an open file is brought to the front, not opened twice";
    f.frame->openDocument("missing.vt");
    EXPECT_EQ(f.frame->documentWindows().size(), 1);
}

TEST(MainFrame, PaletteClickSetsTheDefaultColourAndColoursTheSelection) {
    TFrame_Fixture f;
    f.frame->openDocument("a.vt");
    auto* swatch = f.frame->findChild<TColor_Swatch*>("Def_Color_9");
    ASSERT_NE(swatch, nullptr);
    QTest::mouseClick(swatch, Qt::LeftButton);
    EXPECT_EQ(f.frame->defaultColor(), 0x0000FF);
    EXPECT_EQ(f.windows[0]->calls, QStringList({"N_Node_Set_ColorClick"}));

    TDialog_Script script;
    TDialog_Script::activate(&script);
    script.queueAnswer("0x00FF00");
    QTest::mouseDClick(f.frame->findChild<TColor_Swatch*>("Label_User_Def_Color"), Qt::LeftButton);
    TDialog_Script::activate(nullptr);
    EXPECT_EQ(f.frame->defaultColor(), 0x00FF00);
    EXPECT_EQ(f.options.User_Def_Color, 0x00FF00) << "a chosen colour goes into the options";
}

TEST(MainFrame, RecentFileMenuHidesOpenFilesAndEmptySlots) {
    TFrame_Fixture f;
    f.options.Recent_Files[0] = "/docs/open.vt";
    f.options.Recent_Files[2] = "./help.vt";
    f.frame->openDocument("/docs/open.vt");
    f.frame->rebuildRecentFiles();
    EXPECT_FALSE(f.action("N_Recent_File_0")->isVisible()) << "open in a window";
    EXPECT_FALSE(f.action("N_Recent_File_1")->isVisible()) << "empty slot";
    EXPECT_TRUE(f.action("N_Recent_File_2")->isVisible());
    EXPECT_TRUE(f.action("N_Recent_File_Sep")->isVisible());
    f.action("N_Recent_File_2")->trigger();
    ASSERT_EQ(f.windows.size(), 2);
    EXPECT_EQ(f.windows[1]->fileName(), "/opt/vetra/help.vt");

    f.options.Recent_Files[2].clear();
    f.frame->rebuildRecentFiles();
    EXPECT_FALSE(f.action("N_Recent_File_Sep")->isVisible()) << "nothing listed";
}

TEST(MainFrame, ExitStopsAtTheFirstCancelledPrompt) {
    TFrame_Fixture f;
    f.allowClose = {true, false};
    f.frame->openDocument("first.vt");
    f.frame->openDocument("second.vt");
    f.frame->show();
    f.action("N_Exit")->trigger();
    EXPECT_TRUE(f.frame->isVisible()) << "the second window refused";
    EXPECT_EQ(f.windows[1]->calls, QStringList({"closeQuery"}));
    EXPECT_TRUE(f.windows[0]->calls.isEmpty()) << "the last window is asked first";
}

}  // namespace
}  // namespace vetra

#include "main_frame_test.moc"
