#include <gtest/gtest.h>

#include "layout/style_codes.h"
#include "store/options.h"
#include "tests/ui/fake_target.h"
#include "ui/dialog_script.h"
#include "ui/form_node_style.h"
#include "ui/search_commands.h"
#include "ui/tool_script_commands.h"

namespace vetra {
namespace {

using test::TFake_Target;

TEST(ToolScript, StyleRowsDriveThePanel) {
    TOptions options(1920, 1080);
    TFake_Target window;
    TTree_Node* node = testing::addChild(*window.View_Root, "n");
    node->setSelected(true);
    TForm_Node_Style panel(options, {}, nullptr);
    panel.show();
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
        EXPECT_TRUE(applyStyleRow(panel, &window, row.row, row.value, &error))
            << row.row << " " << row.value << ": " << error.toStdString();
        EXPECT_EQ(node->*row.field, row.expected) << row.row << " " << row.value;
    }
    EXPECT_TRUE(applyStyleRow(panel, &window, "fontname", "DejaVu Sans"));
    EXPECT_EQ(node->fontName(), "DejaVu Sans");

    const struct {
        const char* row;
        const char* value;
    } refused[] = {{"view", "8"},     {"edge", "-1"},  {"edgewidth", "6"}, {"font", "3"},
                   {"fill", "green"}, {"colour", "1"}, {"fontname", " "},  {"link", ""}};
    const int groups = window.Doc.Undo.count();
    for (const auto& row : refused) {
        QString error;
        EXPECT_FALSE(applyStyleRow(panel, &window, row.row, row.value, &error))
            << row.row << " " << row.value;
        EXPECT_FALSE(error.isEmpty()) << row.row;
    }
    EXPECT_EQ(window.Doc.Undo.count(), groups) << "refused rows change nothing";
}

}  // namespace
}  // namespace vetra
