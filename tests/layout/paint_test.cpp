#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <sstream>

#include "layout/fixed_metrics_canvas.h"
#include "layout/layout_engine.h"
#include "layout/node_paint.h"
#include "layout/recording_canvas.h"
#include "layout/style_codes.h"
#include "layout/tree_builder.h"
#include "layout/view_paint.h"

namespace vetra {
namespace {

using testing::addChild;
using testing::layoutFixed;
using testing::makeNode;
using testing::showFixed;

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

std::vector<std::string> linesStartingWith(const std::string& text, const std::string& prefix) {
    std::vector<std::string> out;
    for (const auto& line : lines(text))
        if (line.rfind(prefix, 0) == 0) out.push_back(line);
    return out;
}

// Lays the node out on its own and paints it at `at`.
std::string painted(TTree_Node& node, TNode_Point at = {0, 0}) {
    layoutFixed(node);
    TRecording_Canvas canvas;
    paintNode(canvas, node, at, {});
    return canvas.text();
}

TEST(Paint, RingColoursFadeTowardWhite) {
    const struct {
        const char* name;
        int32_t edge, width;
        std::vector<int32_t> rings;
    } cases[] = {
        {"red 128, width 3", 0x000080, 3, {0x000080, 0x5555AA, 0xAAAAD4, 0xFFFFFE}},
        {"auto colour keeps -1 in every ring", -1, 2, {-1, -1, -1}},
        {"white stays white", 0xFFFFFF, 1, {0xFFFFFF, 0xFFFFFF}},
        {"steps never carry", 0x00FF00, 2, {0x00FF00, 0x7FFF7F, 0xFEFFFE}},
    };
    for (const auto& c : cases)
        for (int32_t i = 0; i <= c.width; ++i)
            EXPECT_EQ(ringColor(c.edge, c.width, i), c.rings[i]) << c.name << " ring " << i;
}

// Connector shapes between a child box at (0, 0) with anchor A and a parent
// box at (0, 0) with anchor B.
TEST(Paint, ConnectorShapes) {
    const struct {
        const char* name;
        int32_t linkStyle;
        TNode_Point a, b;
        const char* calls;
    } cases[] = {
        // clang-format off
        {"level: straight in Round_Rect", kLink_Round_Rect, {100, 10}, {50, 10}, "move_to 100 10\nline_to 50 10"},
        {"level: straight in Round_Direct", kLink_Round_Direct, {100, 10}, {50, 10}, "move_to 100 10\nline_to 50 10"},
        {"vertical: straight in Rect", kLink_Rect, {5, 0}, {5, 40}, "move_to 5 0\nline_to 5 40"},
        {"direct", kLink_Direct, {0, 0}, {20, 30}, "move_to 0 0\nline_to 20 30"},
        {"rect: corner at parent x, child y", kLink_Rect, {0, 0}, {20, 30}, "move_to 0 0\nline_to 20 0\nline_to 20 30"},
        {"round direct, parent right below", kLink_Round_Direct, {0, 0}, {20, 30}, "arc -20 0 20 60 20 30 0 0"},
        {"round direct, parent left below", kLink_Round_Direct, {40, 0}, {20, 30}, "arc 20 0 60 60 40 0 20 30"},
        {"round direct, parent right above", kLink_Round_Direct, {0, 30}, {20, 0}, "arc -20 -30 20 30 0 30 20 0"},
        {"round direct, parent left above", kLink_Round_Direct, {40, 30}, {20, 0}, "arc 20 -30 60 30 20 0 40 30"},
        {"round rect, parent right below", kLink_Round_Rect, {0, 0}, {20, 30}, "move_to 0 0\nline_to 17 0\nmove_to 20 4\nline_to 20 30\narc 12 0 20 8 20 4 16 0"},
        {"round rect, parent left below", kLink_Round_Rect, {40, 0}, {20, 30}, "move_to 40 0\nline_to 24 0\nmove_to 20 3\nline_to 20 30\narc 20 0 29 8 25 0 20 4"},
        {"round rect, parent right above", kLink_Round_Rect, {0, 30}, {20, 0}, "move_to 0 30\nline_to 16 30\nmove_to 20 26\nline_to 20 0\narc 12 22 21 30 16 30 21 26"},
        {"round rect, parent left above", kLink_Round_Rect, {40, 30}, {20, 0}, "move_to 40 30\nline_to 23 30\nmove_to 20 26\nline_to 20 0\narc 20 22 28 31 20 26 25 31"},
        {"auto link style draws nothing", kLink_Auto, {0, 0}, {20, 30}, ""},
        // clang-format on
    };
    for (const auto& c : cases) {
        auto parent = makeNode("p");
        parent->View_Style_Used = kView_Tree_Right;
        parent->Link_Style_Used = c.linkStyle;
        TTree_Node* child = addChild(*parent, "c");
        child->Layout.Parent_Anchor = c.b;
        TRecording_Canvas canvas;
        paintConnector(canvas, *child, {0, 0}, c.a, {0, 0});
        std::string expected = "pen_width 1\npen_color 00800000";
        if (*c.calls) expected += std::string("\n") + c.calls;
        EXPECT_EQ(canvas.text(), expected) << c.name;
    }
}

// The child's own width and colour, else its parent's; widths are drawn at
// least one and at most five pixels wide, whatever a file holds.
TEST(Paint, ConnectorPenFromChildOrParent) {
    const struct {
        const char* name;
        int32_t upWidth, downWidth, upColor;
        const char* pen;
    } cases[] = {
        // clang-format off
        {"inherited", 0, 3, kColor_Auto, "pen_width 3\npen_color 00123456"},
        {"own", 2, -4, 0x00FF00, "pen_width 2\npen_color 0000FF00"},
        {"at least one", 0, -4, 0x00FF00, "pen_width 1\npen_color 0000FF00"},
        {"own width past the range", 1000000, 0, kColor_Auto, "pen_width 5\n"},
        {"parent's width past the range", 0, INT_MAX, kColor_Auto, "pen_width 5\n"},
        {"negative own width: the parent's is not used", INT_MIN, 3, kColor_Auto, "pen_width 1\n"},
        // clang-format on
    };
    for (const auto& c : cases) {
        auto parent = makeNode("p");
        parent->Link_Style_Used = kLink_Direct;
        parent->Link_Down_Width = c.downWidth;
        parent->Color_Link_Down = 0x123456;
        TTree_Node* child = addChild(*parent, "c");
        child->Link_Up_Width = c.upWidth;
        child->Color_Link_Up = c.upColor;
        TRecording_Canvas canvas;
        paintConnector(canvas, *child, {0, 0}, {0, 0}, {0, 0});
        EXPECT_EQ(canvas.text().rfind(c.pen, 0), 0u) << c.name << "\n" << canvas.text();
    }
}

TEST(Paint, StruDownRectConnectorDropsFromBelowTheParent) {
    auto root = testing::buildTree("r(a,bb)");
    root->setViewStyle(kView_Stru_Down);
    const TView_Picture picture = showFixed(*root);
    TRecording_Canvas canvas;
    paintSubtree(canvas, *root, {}, {0, 0, picture.Width, picture.Height});
    // Root box at (26, 20), 26 x 26; child "a" at (20, 66), 15 wide.
    const std::string text = canvas.text();
    EXPECT_NE(text.find("move_to 39 51\nline_to 27 51\nline_to 27 66"), std::string::npos) << text;
}

// An outline of width 0 is drawn one pixel wide and the node keeps the 1;
// the layout stores it before measuring, so painting leaves the box (and
// the layout around it) as laid out.
TEST(Paint, EdgeWidthZeroIsMeasuredAndDrawnAsOne) {
    auto node = makeNode("abc");
    node->Edge_Style = kEdge_Rect;
    node->Edge_Width = 0;
    layoutFixed(*node);
    EXPECT_EQ(node->Edge_Width, 1);
    const int32_t width = node->Layout.Box_Width, height = node->Layout.Box_Height;
    TRecording_Canvas canvas;
    paintNode(canvas, *node, {0, 0}, {});
    EXPECT_EQ(node->Layout.Box_Width, width);
    EXPECT_EQ(node->Layout.Box_Height, height);
    // Two rings, drawn inside the box shrunk by the width + 2.
    auto rects = linesStartingWith(canvas.text(), "rect ");
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects[0], "rect 0 0 " + std::to_string(width - 3) + " " + std::to_string(height - 3));
}

TEST(Paint, LozengeOfAutoColourIsWhiteInEveryRing) {
    auto node = makeNode("abc");
    node->Edge_Style = kEdge_Lozenge;
    node->Edge_Width = 2;
    node->Color_Edge = -1;
    const std::string text = painted(*node);
    auto pens = linesStartingWith(text, "pen_color");
    ASSERT_EQ(pens.size(), 3u);
    for (const auto& pen : pens) EXPECT_EQ(pen, "pen_color 00FFFFFF");
    EXPECT_EQ(linesStartingWith(text, "line_to").size(), 3u * 2 * 4);
}

TEST(Paint, AutoEdgeDrawsNeitherOutlineNorFill) {
    auto node = makeNode("abc");
    node->Color_Fill = 0x00FF00;
    EXPECT_EQ(painted(*node, {5, 7}),
              "brush_style solid\nbrush_color 0000FF00\npen_mode copy\nfont 18 0 \"宋体\"\n"
              "font_color 000000FF\npen_width 1\nbrush_color 00000000\nbrush_style clear\n"
              "text 7 10 \"abc\"\npen_width 1");
}

TEST(Paint, MarkerShowsMinusWhenExpandedAndPlusWhenCollapsed) {
    const struct {
        const char* name;
        bool children, expanded;
        size_t bars;
    } cases[] = {
        {"no children: no marker", false, true, 0},
        {"expanded: minus", true, true, 3},
        {"collapsed: minus and plus", true, false, 6},
    };
    for (const auto& c : cases) {
        auto node = makeNode("n");
        if (c.children) addChild(*node, "c");
        layoutFixed(*node);
        node->Expanded = c.expanded;
        TRecording_Canvas canvas;
        paintNode(canvas, *node, {0, 0}, {});
        EXPECT_EQ(linesStartingWith(canvas.text(), "line_to").size(), c.bars) << c.name;
        EXPECT_EQ(linesStartingWith(canvas.text(), "ellipse").size(), c.children ? 1u : 0u)
            << c.name;
    }
}

TEST(Paint, LinkIndicatorDrawsItsGlyph) {
    auto node = makeNode("n");
    node->setLink("http://example.org/");
    auto pixels = linesStartingWith(painted(*node), "pixel");
    ASSERT_EQ(pixels.size(), 32u);
    const TNode_Rect r = linkRect(*node);
    EXPECT_EQ(pixels[0],
              "pixel " + std::to_string(r.x + 4) + " " + std::to_string(r.y + 4) + " 00F1F1F1");
    EXPECT_EQ(pixels[1],
              "pixel " + std::to_string(r.x + 3) + " " + std::to_string(r.y + 5) + " 00FF0000");
}

// Painting only an exposed area gives the same drawing there as painting
// everything: a node is left out only when nothing of it reaches the area.
TEST(Paint, ExposedAreaPaintsEveryNodeThatReachesIt) {
    auto root = testing::randomTree(11, {.nodes = 300, .maxDepth = 7, .staleCache = false});
    const TView_Picture picture = showFixed(*root);
    TRecording_Canvas all;
    paintSubtree(all, *root, {}, {0, 0, picture.Width, picture.Height});
    std::set<std::string> allTexts;
    for (const auto& line : linesStartingWith(all.text(), "text")) allTexts.insert(line);
    std::set<std::string> tiled;
    const int32_t tile = 97;
    size_t drawnLines = 0;
    for (int32_t x = 0; x < picture.Width; x += tile) {
        for (int32_t y = 0; y < picture.Height; y += tile) {
            TRecording_Canvas part;
            paintSubtree(part, *root, {}, {x, y, x + tile, y + tile});
            drawnLines += lines(part.text()).size();
            for (const auto& line : linesStartingWith(part.text(), "text")) tiled.insert(line);
        }
    }
    EXPECT_EQ(tiled, allTexts);
    TRecording_Canvas corner;
    paintSubtree(corner, *root, {}, {0, 0, 1, 1});
    EXPECT_LT(lines(corner.text()).size(), lines(all.text()).size() / 4);
}

TEST(Paint, SelectionHighlightSurroundsTheBox) {
    auto root = makeNode("abc");
    root->setSelected(true);
    root->Edge_Width = 2;
    const TView_Picture picture = showFixed(*root);
    EXPECT_TRUE(picture.Selection_Drawn);
    TRecording_Canvas canvas;
    drawSelectionHighlight(canvas, *root, {0, 0, picture.Width, picture.Height});
    const TNode_Point at = absolutePosition(*root);
    const int32_t w = root->Layout.Box_Width - 4, h = root->Layout.Box_Height - 4;
    auto rects = linesStartingWith(canvas.text(), "round_rect");
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects[0], "round_rect " + std::to_string(at.x - 2) + " " + std::to_string(at.y - 2) +
                            " " + std::to_string(at.x + w + 2) + " " +
                            std::to_string(at.y + h + 2) + " 10 10");
    EXPECT_EQ(lines(canvas.text())[0], "pen_mode xor");
}

TEST(Paint, ViewIsCentredInALargerClientArea) {
    auto root = makeNode("abc");
    TFixed_Metrics_Canvas metrics;
    TView_Picture picture;
    relayoutView(metrics, *root, 400, 300, picture);
    EXPECT_EQ(picture.Width, 400);
    EXPECT_EQ(picture.Height, 300);
    EXPECT_EQ(root->Layout.Block_Pos.x, (400 - root->Layout.Block_Width) / 2);
    relayoutView(metrics, *root, 0, 0, picture);
    EXPECT_EQ(picture.Width, root->Layout.Block_Width + 40);
    EXPECT_EQ(root->Layout.Block_Pos, (TNode_Point{20, 20}));
}

}  // namespace
}  // namespace vetra
