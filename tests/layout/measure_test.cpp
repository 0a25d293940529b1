#include <gtest/gtest.h>

#include "layout/fixed_metrics_canvas.h"
#include "layout/node_measure.h"
#include "layout/style_codes.h"
#include "layout/tree_builder.h"

namespace vetra {
namespace {

using testing::addChild;
using testing::makeNode;

// Box measuring with fixed metrics (8 px a byte, 16 px a line): every value
// worked out by hand from the measuring rules.
TEST(Measure, BoxesByEdgeStyle) {
    const struct {
        const char* name;
        int32_t edgeStyle, edgeWidth;
        bool link, children;
        TNode_Rect text, linkRect, marker;
        int32_t width, height;
    } cases[] = {
        // clang-format off
        {"auto: margin 2, no outline",     kEdge_Auto,       1, false, false, {2, 3, 24, 17},  {26, 11, 0, 0},  {26, 11, 0, 0},  31, 26},
        {"round rect with link, marker",   kEdge_Round_Rect, 2, true,  true,  {9, 5, 24, 17},  {33, 8, 11, 11}, {45, 8, 11, 11}, 68, 31},
        {"marker follows text, no link",   kEdge_Rect,       1, false, true,  {8, 4, 24, 17},  {32, 12, 0, 0},  {32, 7, 11, 11}, 54, 28},
        {"lozenge doubles the box",        kEdge_Lozenge,    1, false, false, {17, 15, 24, 17}, {41, 24, 0, 0}, {41, 24, 0, 0},  61, 51},
        {"circle grows by fractions",      kEdge_Circle,     1, false, false, {5, 8, 24, 17},  {29, 17, 0, 0},  {29, 17, 0, 0},  38, 37},
        {"underline, width 0 measured as 1", kEdge_Underline, 0, false, false, {8, 4, 24, 17}, {32, 12, 0, 0},  {32, 12, 0, 0},  43, 28},
        {"unknown edge style is auto",     9,                1, false, false, {2, 3, 24, 17},  {26, 11, 0, 0},  {26, 11, 0, 0},  31, 26},
        // clang-format on
    };
    TFixed_Metrics_Canvas canvas;
    for (const auto& c : cases) {
        auto node = makeNode("abc");
        node->Edge_Style = c.edgeStyle;
        node->Edge_Width = c.edgeWidth;
        if (c.link) node->setLink("x");
        if (c.children) addChild(*node, "child");
        measureNode(canvas, *node);
        const TLayout_Cache& got = node->Layout;
        EXPECT_EQ(got.Text_Rect, c.text) << c.name;
        EXPECT_EQ(linkRect(*node), c.linkRect) << c.name;
        EXPECT_EQ(markerRect(*node), c.marker) << c.name;
        EXPECT_EQ(got.Box_Width, c.width) << c.name;
        EXPECT_EQ(got.Box_Height, c.height) << c.name;
    }
}

TEST(Measure, CaptionWrapsPastTheLimit) {
    const struct {
        const char* name;
        std::string caption;
        bool hasParent;
        TText_Size size;
    } cases[] = {
        {"13 bytes on the root stay on one line", std::string(13, 'a'), false, {104, 17}},
        {"14 bytes on the root wrap 7 + 7", std::string(14, 'a'), false, {56, 36}},
        {"20 bytes below the root stay on one line", std::string(20, 'a'), true, {160, 17}},
        {"21 bytes below the root wrap 11 + 10", std::string(21, 'a'), true, {88, 36}},
        {"an empty caption is one empty line", "", false, {0, 17}},
    };
    TFixed_Metrics_Canvas canvas;
    for (const auto& c : cases) {
        auto parent = makeNode("p");
        TTree_Node* node = addChild(*parent, c.caption);
        if (!c.hasParent) node = parent.get(), node->setCaption(c.caption);
        EXPECT_EQ(measureCaption(canvas, *node), c.size) << c.name;
    }
}

TEST(Measure, FirstLineNeverCutsATwoByteCharacter) {
    const struct {
        const char* name;
        std::string caption;
        size_t first;
    } cases[] = {
        // clang-format off
        {"11th byte begins a character", std::string(10, 'a') + "\xB0\xA1" + std::string(9, 'b'), 10},
        {"character ends on the limit", std::string(9, 'a') + "\xB0\xA1" + std::string(10, 'b'), 11},
        {"all two-byte characters", std::string("\xB0\xA1\xB0\xA1\xB0\xA1\xB0\xA1\xB0\xA1\xB0\xA1" "\xB0\xA1"), 6},
        {"lead byte at the very end", std::string(2, 'a') + "\xB0", 2},
        // clang-format on
    };
    for (const auto& c : cases) EXPECT_EQ(firstLineLength(c.caption), c.first) << c.name;
}

TEST(Measure, FontSizeFollowsDepthInTheView) {
    auto root = testing::buildTree("r(c(g(d)))");
    TTree_Node *child = root->child(0), *grandchild = child->child(0),
               *deeper = grandchild->child(0);
    testing::layoutFixed(*root);
    EXPECT_EQ(root->Font_Size, 18);
    EXPECT_EQ(child->Font_Size, 13);
    EXPECT_EQ(grandchild->Font_Size, 10);
    EXPECT_EQ(deeper->Font_Size, 10);
    // A sub-view's root is a layout root of its own: 18 points, wrap at 13.
    grandchild->setCaption(std::string(14, 'x'));
    grandchild->Parent = nullptr;
    testing::layoutFixed(*grandchild);
    EXPECT_EQ(grandchild->Font_Size, 18);
    EXPECT_EQ(grandchild->Layout.Text_Rect.height, 36);
    grandchild->Parent = child;
}

}  // namespace
}  // namespace vetra
