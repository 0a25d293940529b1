#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QtTest/QTest>

#include "layout/hit_test.h"
#include "layout/style_codes.h"
#include "store/options.h"
#include "tests/ui/fake_target.h"
#include "ui/document_window.h"
#include "ui/form_map.h"
#include "ui/form_node_style.h"
#include "ui/main_frame.h"
#include "ui/map_render.h"
#include "ui/tool_script_commands.h"
#include "ui/tool_windows.h"
#include "ui/ui_text.h"

namespace vetra {
namespace {

using test::TFake_Target;

struct TMap_Fixture {
    TOptions options{1920, 1080};
    TFake_Target window;
    TTool_Window_Target* active = &window;
    std::unique_ptr<TForm_Map> map;
    TMap_Fixture() {
        options.File_Name = ::testing::TempDir() + "vetra_map_test/qoopt.qoo";
        options.Map_Width = 200;
        options.Map_Height = 150;
        options.Tree_Design_Color = 0xF0F0F0;
        map = std::make_unique<TForm_Map>(
            options, [this] { return active; }, nullptr);
        map->show();
    }
    QRgb at(QPoint p) const { return map->Image_Map->Picture.pixel(p); }
};

// A map point inside the node's outline, scaled as the map scales the picture.
QPoint mapPointOf(const TTree_Node& node, const TView_Picture& picture, QSize map) {
    const TNode_Point at = absolutePosition(node);
    const double x = at.x + (node.Layout.Box_Width - node.Edge_Width - 2) / 2.0;
    const double y = at.y + (node.Layout.Box_Height - node.Edge_Width - 2) / 2.0;
    return QPoint(static_cast<int>(x * map.width() / picture.Width),
                  static_cast<int>(y * map.height() / picture.Height));
}

TEST(MapWindow, StretchesTheWholeViewOverTheMap) {
    for (TMap_Detail detail : {TMap_Detail::Full, TMap_Detail::Sketch}) {
        TMap_Fixture f;
        f.map->setDetail(detail);
        // A long row of filled boxes: a picture much wider than high.
        TTree_Node& root = *f.window.View_Root;
        root.setViewStyle(kView_Stru_Down);
        std::vector<TTree_Node*> boxes;
        for (int i = 0; i < 40; ++i) {
            TTree_Node* node = testing::addChild(root, "box number " + std::to_string(i));
            node->Edge_Style = kEdge_Rect;
            node->Color_Fill = 0x0000FF;  // red
            boxes.push_back(node);
        }
        f.window.relayout();
        ASSERT_GT(f.window.Picture.Width, 8 * f.window.Picture.Height);
        f.map->refreshFrom(&f.window);
        const QImage& picture = f.map->Image_Map->Picture;
        EXPECT_EQ(picture.size(), f.map->size());
        const char* name = detail == TMap_Detail::Full ? "full" : "sketch";
        for (TTree_Node* node : {boxes.front(), boxes[20], boxes.back()}) {
            const QPoint p = mapPointOf(*node, f.window.Picture, picture.size());
            EXPECT_NE(f.at(p), colorFromBgr(f.options.Tree_Design_Color).rgb())
                << name << ": a box of the row is drawn where the stretch puts it";
        }
        EXPECT_EQ(f.at({0, 0}), colorFromBgr(0xF0F0F0).rgb()) << name << ": margin";
        EXPECT_EQ(f.at({100, 145}), colorFromBgr(0xF0F0F0).rgb()) << name << ": below the row";
        // The row is stretched over the height too: boxes reach well below the middle.
        int lowest = 0;
        for (int y = 0; y < picture.height(); ++y)
            if (f.at({mapPointOf(*boxes[20], f.window.Picture, picture.size()).x(), y}) ==
                qRgb(0xFF, 0, 0))
                lowest = y;
        EXPECT_GT(lowest, picture.height() / 2) << name;
    }
}

TEST(MapWindow, FollowScrollArithmetic) {
    const struct {
        const char* name;
        double fx, fy;
        int32_t pw, ph, dw, dh;
        TView_Scroll_Bar h, v;
        std::pair<int32_t, int32_t> expected;
    } rows[] = {
        // clang-format off
        {"middle of the picture",        0.5, 0.5, 2000, 1000, 400, 300, {true, 7, 1600, 2000}, {true, 7, 700, 1000}, {800, 350}},
        {"top-left corner clamps to 0",  0.0, 0.0, 2000, 1000, 400, 300, {true, 7, 1600, 2000}, {true, 7, 700, 1000}, {0, 0}},
        {"bottom-right clamps to max",   1.0, 1.0, 2000, 1000, 400, 300, {true, 7, 1600, 2000}, {true, 7, 700, 1000}, {1600, 700}},
        {"hidden bar keeps its position", 0.5, 0.5, 2000, 300, 400, 300, {true, 7, 1600, 2000}, {false, 5, 0, 300}, {800, 5}},
        {"range differs from picture",   0.5, 0.5, 2000, 1000, 400, 300, {true, 0, 3000, 4000}, {true, 0, 700, 1000}, {1600, 350}},
        {"products truncate to zero", 0.3333, 0.1, 1000, 1000, 401, 301, {true, 0, 900, 1000},  {true, 0, 900, 1000}, {133, 0}},
        // clang-format on
    };
    for (const auto& row : rows) {
        TMap_Fixture f;
        f.window.Picture.Width = row.pw;
        f.window.Picture.Height = row.ph;
        f.window.Outer_Width = row.dw;
        f.window.Outer_Height = row.dh;
        f.window.Scroll = {row.h, row.v};
        EXPECT_TRUE(f.map->followScroll(row.fx, row.fy)) << row.name;
        ASSERT_EQ(f.window.Scrolled_To.size(), 1u) << row.name;
        EXPECT_EQ(f.window.Scrolled_To[0], row.expected) << row.name;
    }
}

TEST(MapWindow, ClicksToggleFollowModeAndMovesScrollOnlyInItWithAWindow) {
    TMap_Fixture f;
    f.window.Picture.Width = 2000;
    f.window.Picture.Height = 1500;
    f.window.Scroll = {{true, 0, 1600, 2000}, {true, 0, 1200, 1500}};
    auto move = [&](QPoint p) {
        QMouseEvent event(QEvent::MouseMove, p, f.map->Image_Map->mapToGlobal(p), Qt::NoButton,
                          Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(f.map->Image_Map, &event);
    };
    auto cursor = [&] { return f.map->Image_Map->cursor().shape(); };
    move({100, 75});
    EXPECT_TRUE(f.window.Scrolled_To.empty()) << "follow mode is off at first";
    EXPECT_EQ(cursor(), Qt::CrossCursor);
    QTest::mouseClick(f.map->Image_Map, Qt::LeftButton);
    EXPECT_TRUE(f.map->followMode());
    EXPECT_EQ(cursor(), Qt::PointingHandCursor);
    move({100, 75});
    ASSERT_EQ(f.window.Scrolled_To.size(), 1u);
    EXPECT_EQ(f.window.Scrolled_To[0], std::make_pair(800, 600));
    f.active = nullptr;
    move({10, 10});
    EXPECT_EQ(f.window.Scrolled_To.size(), 1u) << "no document window: nothing happens";
    EXPECT_FALSE(mapFollowAt(*f.map, 0.5, 0.5));
    QTest::mouseClick(f.map->Image_Map, Qt::LeftButton);
    EXPECT_FALSE(f.map->followMode()) << "a second click turns it off";
    EXPECT_EQ(cursor(), Qt::CrossCursor);
}

TEST(MapWindow, PlaceAndVisibilityGoToTheOptions) {
    TMap_Fixture f;
    f.map->resize(180, 120);
    f.map->toggle();
    EXPECT_FALSE(f.map->isVisible());
    EXPECT_EQ(f.options.Map_Visible, 0);
    f.map->toggle();
    f.map->storePlace();
    EXPECT_EQ(f.options.Map_Visible, 1);
    EXPECT_EQ(f.options.Map_Width, 180);
    EXPECT_EQ(f.options.Map_Height, 120);
    EXPECT_EQ(f.map->Image_Map->size(), QSize(180, 120)) << "the picture fills the window";
}

// A document window of the frame that is also a tool-window target.
class TFake_Document_Window : public QWidget, public TFake_Target {
  public:
    TFake_Document_Window() { setObjectName("Form_Qo_Tree_Fake"); }
};

TEST(ToolWindows, TheFrameMakesAndTogglesThem) {
    TOptions options(1920, 1080);
    options.File_Name = ::testing::TempDir() + "vetra_tools_frame/qoopt.qoo";
    options.Map_Visible = 0;
    options.Attr_Win_Visible = 1;
    TFake_Document_Window* document = nullptr;
    {
        TForm_Main_Vetra frame(options, [&](TForm_Main_Vetra&, const QString&) -> QWidget* {
            document = new TFake_Document_Window;
            return document;
        });
        ASSERT_NE(TForm_Map::instance(), nullptr);
        ASSERT_NE(TForm_Node_Style::instance(), nullptr);
        EXPECT_FALSE(TForm_Map::instance()->isVisible());
        EXPECT_TRUE(TForm_Node_Style::instance()->isVisible());
        for (const char* item :
             {"N_Map", "N_Node_Attr", "N_Search", "N_Search_Next", "N_Search_Pre"})
            EXPECT_TRUE(frame.findChild<QAction*>(item)->isEnabled()) << item;
        frame.findChild<QAction*>("N_Map")->trigger();
        EXPECT_TRUE(TForm_Map::instance()->isVisible());
        EXPECT_EQ(options.Map_Visible, 1);
        frame.findChild<QAction*>("N_Node_Attr")->trigger();
        EXPECT_FALSE(TForm_Node_Style::instance()->isVisible());
        EXPECT_EQ(options.Attr_Win_Visible, 0);

        EXPECT_EQ(activeToolTarget(frame), nullptr);
        frame.newDocument();
        EXPECT_EQ(activeToolTarget(frame), document);
    }
    EXPECT_EQ(TForm_Map::instance(), nullptr);
    EXPECT_EQ(TForm_Node_Style::instance(), nullptr);
}

// The tool windows come up on the screen whatever place was stored, stay
// above the frame only (never above its dialogs), and follow the active
// document window, showing nothing once the last one has closed.
TEST(ToolWindows, FollowTheActiveDocumentAndStayOnScreenBelowDialogs) {
    TOptions options{1920, 1080};
    options.File_Name = ::testing::TempDir() + "vetra_tool_windows_test/qoopt.qoo";
    options.Map_X = 50000;
    options.Map_Y = -40000;
    options.Map_Visible = options.Attr_Win_Visible = 1;
    TForm_Main_Vetra frame(options, createDocumentWindow);
    frame.show();
    frame.newDocument();
    QApplication::processEvents();
    TForm_Map* map = TForm_Map::instance();
    TForm_Node_Style* panel = TForm_Node_Style::instance();
    ASSERT_TRUE(map != nullptr && panel != nullptr);
    for (QWidget* tool : {static_cast<QWidget*>(map), static_cast<QWidget*>(panel)}) {
        EXPECT_FALSE(tool->windowFlags() & Qt::WindowStaysOnTopHint)
            << tool->objectName().toStdString();
        EXPECT_TRUE(tool->screen()->availableGeometry().contains(tool->frameGeometry()))
            << tool->objectName().toStdString();
    }
    EXPECT_TRUE(panel->isEnabled());
    frame.N_Close_AllClick();
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
    EXPECT_FALSE(panel->isEnabled()) << "no document: the panel shows nothing to change";
}

}  // namespace
}  // namespace vetra
