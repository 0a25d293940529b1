#include <gtest/gtest.h>

#include <QListWidget>
#include <QToolButton>
#include <QtTest/QTest>

#include "layout/style_codes.h"
#include "store/options.h"
#include "tests/ui/fake_target.h"
#include "ui/color_palette.h"
#include "ui/dialog_script.h"
#include "ui/form_node_style.h"
#include "ui/style_choosers.h"
#include "ui/style_icons.h"
#include "ui/tool_script_commands.h"

namespace vetra {
namespace {

using test::TFake_Target;

// A panel over a window whose root has children a (selected) and b, and c
// under b; the panel is activated for that window.
struct TPanel_Fixture {
    TOptions options{1920, 1080};
    TFake_Target window;
    TTree_Node *a, *b, *c;
    std::unique_ptr<TForm_Node_Style> panel;
    TTool_Window_Target* active = &window;

    TPanel_Fixture() {
        options.File_Name = ::testing::TempDir() + "vetra_panel_test/qoopt.qoo";
        options.Tree_Design_Color = 0x123456;
        a = testing::addChild(*window.View_Root, "a");
        b = testing::addChild(*window.View_Root, "b");
        c = testing::addChild(*b, "c");
        a->setSelected(true);
        panel = std::make_unique<TForm_Node_Style>(
            options, [this] { return active; }, nullptr);
        panel->show();
        panel->activateFor(&window);
    }
    void click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }
    bool showing(QWidget* chooser) { return !chooser->isHidden(); }
};

bool sameIcon(QToolButton* button, const QPixmap& picture) {
    return button->icon().pixmap(picture.size()).toImage() ==
           picture.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

TEST(StylePanel, ShowsTheFirstSelectedNode) {
    TPanel_Fixture f;
    TTree_Node& n = *f.b;
    n.setSelected(true);  // a comes first in pre-order
    f.a->View_Style = kView_Auto;
    f.a->View_Style_Used = kView_Tree_Left;  // drawn as Tree_Left, chosen Auto
    f.a->Edge_Style = kEdge_Lozenge;
    f.a->Edge_Width = 4;
    f.a->Link_Up_Width = 9;  // read from a file; no chooser entry
    f.a->Color_Fill = kColor_Auto;
    f.a->Color_Edge = 0x00FF00;
    f.a->Font_Style = kFont_Bold | kFont_Underline;
    f.a->setFontName("Sans");
    f.panel->activateFor(&f.window);

    EXPECT_TRUE(sameIcon(f.panel->SpeedButton_View_Style, viewStyleIcon(0)))
        << "Auto, not Tree_Left";
    EXPECT_TRUE(sameIcon(f.panel->SpeedButton_Edge_Style, edgeStyleIcon(kEdge_Lozenge)));
    EXPECT_TRUE(sameIcon(f.panel->SpeedButton_Edge_Width, widthIcon(4)));
    EXPECT_TRUE(sameIcon(f.panel->SpeedButton_Link_Up_Width, widthIcon(-1))) << "question mark";
    EXPECT_EQ(f.panel->Label_Color_Fill->text(), " A");
    EXPECT_EQ(f.panel->Label_Color_Fill->color(), 0x123456) << "Auto shows the background";
    EXPECT_EQ(f.panel->Label_Color_Edge->text(), " ");
    EXPECT_EQ(f.panel->Label_Color_Edge->color(), 0x00FF00);
    EXPECT_FALSE(f.panel->SpeedButton_Font_Auto->isChecked());
    EXPECT_TRUE(f.panel->SpeedButton_Font_Bold->isChecked());
    EXPECT_FALSE(f.panel->SpeedButton_Font_Italic->isChecked());
    EXPECT_TRUE(f.panel->SpeedButton_Font_Underline->isChecked());
    EXPECT_EQ(f.panel->Label_Font->text(), "Sans");
}

TEST(StylePanel, ChoosersOpenAtTheirPlacesAndApplyToEverySelectedNode) {
    TPanel_Fixture f;
    f.b->setSelected(true);
    f.c->setSelected(true);  // c is visible: b is expanded
    TForm_Node_Style* p = f.panel.get();
    using N = TTree_Node;
    const struct {
        const char* name;
        QWidget* opener;
        QWidget* chooser;
        QPoint at;
        const char* entry;
        int32_t TTree_Node::*field;
        int32_t value;
    } rows[] = {
        // clang-format off
        {"view style", p->SpeedButton_View_Style, p->View_Style_Chooser, {5, 40}, "SpeedButton_View_Style_Stru_Down", &N::View_Style, kView_Stru_Down},
        {"link style", p->SpeedButton_Link_Style, p->Link_Style_Chooser, {5, 83}, "SpeedButton_Link_Style_Round_Direct", &N::Link_Style, kLink_Round_Direct},
        {"link-down width", p->SpeedButton_Link_Down_Width, p->Width_Chooser, {55, 83}, "SpeedButton_Width_2", &N::Link_Down_Width, 2},
        {"edge style", p->SpeedButton_Edge_Style, p->Edge_Style_Chooser, {5, 128}, "SpeedButton_Edge_Style_Circle", &N::Edge_Style, kEdge_Circle},
        {"edge width", p->SpeedButton_Edge_Width, p->Width_Chooser, {55, 128}, "SpeedButton_Width_5", &N::Edge_Width, 5},
        {"link-up width", p->SpeedButton_Link_Up_Width, p->Width_Chooser, {5, 235}, "SpeedButton_Width_3", &N::Link_Up_Width, 3},
        {"fill colour", p->Label_Color_Fill, p->Color_Chooser, {1, 40}, "Label_Color_Swatch_4", &N::Color_Fill, 0x00FF00},
        {"link-down colour", p->Label_Color_Link_Down, p->Color_Chooser, {1, 83}, "Label_Color_Swatch_17", &N::Color_Link_Down, 0x6DE7FF},
        {"edge colour", p->Label_Color_Edge, p->Color_Chooser, {1, 128}, "Label_Color_Swatch_0", &N::Color_Edge, kColor_Auto},
        {"caption colour", p->Label_Color_Caption, p->Color_Chooser, {1, 193}, "Label_Color_Swatch_31", &N::Color_Caption, 0x846B9D},
        {"link-up colour", p->Label_Color_Link_Up, p->Color_Chooser, {1, 235}, "Label_Color_Swatch_2", &N::Color_Link_Up, 0x0000FF},
        // clang-format on
    };
    int groups = 0;
    for (const auto& row : rows) {
        f.click(row.opener);
        ASSERT_TRUE(f.showing(row.chooser)) << row.name;
        EXPECT_EQ(row.chooser->pos(), row.at) << row.name;
        f.click(row.chooser->findChild<QWidget*>(row.entry));
        for (TTree_Node* node : {f.a, f.b, f.c})
            EXPECT_EQ(node->*row.field, row.value) << row.name << " " << node->Caption.view();
        EXPECT_NE(f.window.View_Root->*row.field == row.value && row.value != 0, true)
            << row.name << ": the unselected root keeps its value";
        EXPECT_TRUE(f.showing(row.chooser)) << row.name << ": choosing leaves it open";
        ++groups;
        ASSERT_EQ(f.window.Doc.Undo.count(), groups) << row.name;
        TUndo_Group* group = f.window.Doc.Undo.newest();
        ASSERT_EQ(group->count(), 3) << row.name << ": one entry per node";
        EXPECT_EQ(group->record(0).Node, f.a) << row.name;
        EXPECT_EQ(group->record(2).Node, f.c) << row.name;
    }
    EXPECT_EQ(f.window.Refreshes, groups);
    EXPECT_EQ(f.window.Doc.Modified, 1);
    EXPECT_EQ(f.panel->Label_Color_Link_Up->color(), 0x0000FF) << "the node is shown again";
}

TEST(StylePanel, OneChooserAtATimeAndClicksOutsideCloseThem) {
    TPanel_Fixture f;
    f.click(f.panel->SpeedButton_View_Style);
    f.click(f.panel->SpeedButton_Edge_Style);
    EXPECT_FALSE(f.showing(f.panel->View_Style_Chooser));
    EXPECT_TRUE(f.showing(f.panel->Edge_Style_Chooser));
    f.click(f.panel->findChild<QWidget*>("Label_Edge"));
    EXPECT_FALSE(f.showing(f.panel->Edge_Style_Chooser)) << "a row label closes the choosers";
    f.click(f.panel->Label_Font);
    EXPECT_TRUE(f.showing(f.panel->ListBox_Font));
    EXPECT_EQ(f.panel->ListBox_Font->geometry(),
              QRect(45, f.panel->Label_Font->y() - 170, 130, 170));
    QTest::mouseClick(f.panel.get(), Qt::LeftButton, {}, QPoint(185, 300));
    EXPECT_FALSE(f.showing(f.panel->ListBox_Font)) << "the background closes them";
    f.click(f.panel->SpeedButton_View_Style);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(f.panel->View_Style_Chooser, &leave);
    EXPECT_FALSE(f.showing(f.panel->View_Style_Chooser)) << "leaving the view style chooser";
}

TEST(StylePanel, BoldTogglesEachNodesOwnFlag) {
    TPanel_Fixture f;
    f.b->setSelected(true);
    f.a->Font_Style = kFont_Bold;
    f.b->Font_Style = kFont_Italic;
    f.click(f.panel->SpeedButton_Font_Bold);
    EXPECT_EQ(f.a->Font_Style, 0);
    EXPECT_EQ(f.b->Font_Style, kFont_Bold | kFont_Italic);
    EXPECT_FALSE(f.panel->SpeedButton_Font_Bold->isChecked()) << "shows a, now plain";
    EXPECT_TRUE(f.panel->SpeedButton_Font_Auto->isChecked());
    f.click(f.panel->SpeedButton_Font_Auto);
    EXPECT_EQ(f.b->Font_Style, 0);
}

TEST(StylePanel, UserColourAndFontList) {
    TPanel_Fixture f;
    TDialog_Script script;
    TDialog_Script::activate(&script);
    script.queueAnswer("0x336699");
    f.click(f.panel->Label_Color_Caption);
    f.click(f.panel->Color_Chooser->swatch(TColor_Chooser::kPer_Row));
    EXPECT_EQ(f.a->Color_Caption, 0x336699);
    EXPECT_EQ(f.panel->Color_Chooser->swatch(TColor_Chooser::kPer_Row)->color(), 0x336699);
    f.click(f.panel->Color_Chooser->swatch(TColor_Chooser::kPer_Row));  // dialog cancelled
    EXPECT_EQ(f.a->Color_Caption, 0x336699);
    TDialog_Script::activate(nullptr);

    QListWidget* list = f.panel->ListBox_Font;
    f.click(f.panel->Label_Font);  // the faces are read on first use
    ASSERT_GT(list->count(), 0);
    for (int i = 0; i < list->count(); ++i) {
        EXPECT_FALSE(list->item(i)->text().startsWith('@'));
        if (i == 0) continue;
        EXPECT_LE(
            QString::compare(list->item(i - 1)->text(), list->item(i)->text(), Qt::CaseInsensitive),
            0);
    }
    QListWidgetItem* item = list->item(list->count() - 1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
    EXPECT_EQ(QString::fromStdString(std::string(f.a->fontName())), item->text());
    EXPECT_EQ(f.panel->Label_Font->text(), item->text());
    EXPECT_FALSE(f.showing(list));
}

TEST(StylePanel, WithoutATargetOrASelectionNothingChanges) {
    TPanel_Fixture f;
    f.active = nullptr;
    f.panel->activateFor(nullptr);
    f.click(f.panel->SpeedButton_Edge_Style);
    f.click(f.panel->Edge_Style_Chooser->buttonFor(kEdge_Rect));
    EXPECT_EQ(f.a->Edge_Style, 0);
    EXPECT_TRUE(f.window.Doc.Undo.empty());

    // With a window but no selected node: no undo group, no refresh.
    f.panel->activateFor(&f.window);
    f.a->setSelected(false);
    f.panel->chooseViewStyle(kView_Tree_Right);
    EXPECT_TRUE(f.window.Doc.Undo.empty());
    EXPECT_EQ(f.window.Refreshes, 0);

    // A window that closes takes itself out of the panel.
    auto other = std::make_unique<TFake_Target>();
    TTree_Node* node = testing::addChild(*other->View_Root, "x");
    node->setSelected(true);
    f.panel->activateFor(other.get());
    other.reset();
    EXPECT_EQ(f.panel->target(), nullptr);
    f.panel->chooseEdgeStyle(kEdge_Rect);  // must not touch the closed window
}

// The script's style rows reach the selected node through the panel.
TEST(StylePanel, ScriptStyleRowsDriveThePanel) {
    TPanel_Fixture f;
    TForm_Node_Style& panel = *f.panel;
    TTool_Window_Target* window = &f.window;
    TTree_Node* node = f.a;
    const struct {
        const char* row;
        const char* value;
        int32_t TTree_Node::*field;
        int32_t expected;
    } rows[] = {
        {"view", "7", &TTree_Node::View_Style, kView_Stru_Down},
        {"link", "2", &TTree_Node::Link_Style, kLink_Round_Direct},
        {"edge", "4", &TTree_Node::Edge_Style, kEdge_Circle},
        {"edgewidth", "3", &TTree_Node::Edge_Width, 3},
        {"linkdownwidth", "0", &TTree_Node::Link_Down_Width, 0},
        {"linkupwidth", "5", &TTree_Node::Link_Up_Width, 5},
        {"fill", "0x00FF00", &TTree_Node::Color_Fill, 0x00FF00},
        {"fill", "A", &TTree_Node::Color_Fill, kColor_Auto},
        {"edgecolor", "0x123456", &TTree_Node::Color_Edge, 0x123456},  // not a swatch
        {"textcolor", "255", &TTree_Node::Color_Caption, 0x0000FF},
        {"linkupcolor", "-1", &TTree_Node::Color_Link_Up, kColor_Auto},
        {"linkdowncolor", "0xFFFFFF", &TTree_Node::Color_Link_Down, 0xFFFFFF},
        {"font", "1", &TTree_Node::Font_Style, kFont_Bold},
        {"font", "4", &TTree_Node::Font_Style, kFont_Bold | kFont_Underline},
        {"font", "0", &TTree_Node::Font_Style, 0},
    };
    for (const auto& row : rows) {
        QString error;
        EXPECT_TRUE(applyStyleRow(panel, window, row.row, row.value, &error))
            << row.row << " " << row.value << ": " << error.toStdString();
        EXPECT_EQ(node->*row.field, row.expected) << row.row << " " << row.value;
    }
    EXPECT_TRUE(applyStyleRow(panel, window, "fontname", "DejaVu Sans"));
    EXPECT_EQ(node->fontName(), "DejaVu Sans");

    const struct {
        const char* row;
        const char* value;
    } refused[] = {{"view", "8"},     {"edge", "-1"},  {"edgewidth", "6"}, {"font", "3"},
                   {"fill", "green"}, {"colour", "1"}, {"fontname", " "},  {"link", ""}};
    const int groups = f.window.Doc.Undo.count();
    for (const auto& row : refused) {
        QString error;
        EXPECT_FALSE(applyStyleRow(panel, window, row.row, row.value, &error))
            << row.row << " " << row.value;
        EXPECT_FALSE(error.isEmpty()) << row.row;
    }
    EXPECT_EQ(f.window.Doc.Undo.count(), groups) << "refused rows change nothing";
}

}  // namespace
}  // namespace vetra
