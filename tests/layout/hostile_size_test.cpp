// Documents and metrics far outside what the editor makes: every value a
// layout produces stays inside the range it promises, and painting stays
// bounded. Run under the sanitizers, an overflow anywhere fails the test.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>

#include "layout/fixed_metrics_canvas.h"
#include "layout/hit_test.h"
#include "layout/layout_engine.h"
#include "layout/node_measure.h"
#include "layout/node_paint.h"
#include "layout/recording_canvas.h"
#include "layout/style_codes.h"
#include "layout/tree_builder.h"
#include "layout/view_paint.h"

namespace vetra {
namespace {

using testing::addChild;
using testing::makeNode;

// Metrics of an absurd font: every string has the same given size.
class THuge_Metrics_Canvas : public TFixed_Metrics_Canvas {
  public:
    THuge_Metrics_Canvas(int32_t width, int32_t height) : Width_(width), Height_(height) {}
    int32_t textWidth(std::string_view) override { return Width_; }
    int32_t textHeight(std::string_view) override { return Height_; }

  private:
    int32_t Width_, Height_;
};

int64_t count(const std::string& text, const std::string& prefix) {
    int64_t found = 0;
    for (size_t at = 0; (at = text.find(prefix, at)) != std::string::npos; ++at)
        if (at == 0 || text[at - 1] == '\n') ++found;
    return found;
}

bool within(int64_t value) {
    return value >= -kMax_Extent && value <= kMax_Extent;
}

// Every cached extent and position of every visible node lies in range.
void expectExtentsInRange(TTree_Node& root, const std::string& name) {
    forEachVisiblePlaced(root, [&](TTree_Node& node, TNode_Point at) {
        const TLayout_Cache& c = node.Layout;
        EXPECT_TRUE(c.Block_Width >= 0 && c.Block_Width <= kMax_Extent) << name;
        EXPECT_TRUE(c.Block_Height >= 0 && c.Block_Height <= kMax_Extent) << name;
        EXPECT_TRUE(c.Box_Width >= 0 && c.Box_Width <= 4 * kMax_Text_Extent) << name;
        EXPECT_TRUE(c.Box_Height >= 0 && c.Box_Height <= 4 * kMax_Text_Extent) << name;
        EXPECT_TRUE(within(c.Block_Pos.x) && within(c.Block_Pos.y)) << name;
        EXPECT_TRUE(within(at.x) && within(at.y)) << name;
    });
}

// A root of the view style (0: the default) with `count` children, or with a
// chain of `count` levels below it.
std::unique_ptr<TTree_Node> fan(int32_t style, int count, bool chain = false) {
    auto root = makeNode("root");
    if (style != 0) root->setViewStyle(style);
    TTree_Node* tail = root.get();
    for (int i = 0; i < count; ++i) {
        TTree_Node* child = addChild(*tail, "node");
        if (chain) tail = child;
    }
    return root;
}

TEST(HostileSizes, LayoutsStayInRange) {
    const struct {
        const char* name;
        int32_t textWidth, textHeight;
        std::function<std::unique_ptr<TTree_Node>()> build;
        bool widthReachesLimit, heightReachesLimit;
    } cases[] = {
        // clang-format off
        {"a row of 64 boxes each 2^30 px wide", 1 << 30, 16, [] { return fan(kView_Stru_Down, 64); }, true, false},
        {"a list of 200 boxes each 2^30 px high", 8, 1 << 30, [] { return fan(kView_List_Right, 200); }, false, true},
        {"a Tree_Right chain of 300 levels, metrics at the int limit", INT_MAX, INT_MAX, [] { return fan(kView_Tree_Right, 300, true); }, true, false},
        {"Tree_Main with 500 children on each side, huge both ways", 1 << 28, 1 << 28, [] { return fan(0, 1000); }, false, true},
        // clang-format on
        {"lozenges and circles grow past the text limit", INT_MAX, INT_MAX,
         [] {
             auto root = makeNode("shapes");
             root->Edge_Style = kEdge_Lozenge;
             // Long enough to wrap: two line heights are added.
             addChild(*root, "a circle with a caption on two lines")->Edge_Style = kEdge_Circle;
             addChild(*root, "lozenge")->Edge_Style = kEdge_Lozenge;
             return root;
         },
         false, false},
    };
    for (const auto& c : cases) {
        auto root = c.build();
        THuge_Metrics_Canvas metrics(c.textWidth, c.textHeight);
        TView_Picture picture;
        relayoutView(metrics, *root, 0, 0, picture);
        expectExtentsInRange(*root, c.name);
        EXPECT_EQ(root->Layout.Block_Width == kMax_Extent, c.widthReachesLimit) << c.name;
        EXPECT_EQ(root->Layout.Block_Height == kMax_Extent, c.heightReachesLimit) << c.name;
        EXPECT_TRUE(picture.Width >= 10 && picture.Width <= kMax_Extent) << c.name;
        EXPECT_TRUE(picture.Height >= 10 && picture.Height <= kMax_Extent) << c.name;

        // Painting the far corner and hit-testing there stays in range too.
        TRecording_Canvas canvas(&metrics);
        const int32_t right = picture.Width, bottom = picture.Height;
        paintViewPicture(canvas, *root, picture, {}, {right - 2000, bottom - 2000, right, bottom});
        EXPECT_FALSE(canvas.text().empty()) << c.name;
        hitSubtree(*root, right - 1, bottom - 1);
    }
}

TEST(HostileSizes, MegabyteCaptionMakesABoxOfTheLimitWidth) {
    auto root = makeNode("root");
    TTree_Node* child = addChild(*root, std::string(5 << 20, 'x'));
    testing::layoutFixed(*root);
    EXPECT_EQ(child->Layout.Text_Rect.width, kMax_Text_Extent);
    EXPECT_EQ(child->Layout.Box_Width, kMax_Text_Extent + 4 + 2 + 1);
}

// Widths outside 0..5 come only from damaged or hand-made files: they are
// drawn and measured as the nearest width in range and stay stored as read.
TEST(HostileSizes, LineWidthsOutOfRangeAreTakenAsTheNearestInRange) {
    const struct {
        const char* name;
        int32_t stored, usedAs, storedAfterPainting;
    } cases[] = {
        {"the largest int draws five rings' width", INT_MAX, 5, INT_MAX},
        {"six is drawn as five", 6, 5, 6},
        {"the smallest int is Auto, stored back as 1 when painted", INT_MIN, 0, 1},
        {"minus one is Auto too", -1, 0, 1},
        {"three stays three", 3, 3, 3},
    };
    for (const auto& c : cases) {
        auto expected = makeNode("node");
        expected->Edge_Style = kEdge_Rect;
        expected->Edge_Width = c.usedAs;
        auto node = makeNode("node");
        node->Edge_Style = kEdge_Rect;
        node->Edge_Width = c.stored;
        testing::layoutFixed(*expected);
        testing::layoutFixed(*node);
        EXPECT_EQ(node->Layout, expected->Layout) << c.name;

        TRecording_Canvas canvas;
        paintNode(canvas, *node, {0, 0}, {});
        EXPECT_EQ(count(canvas.text(), "rect "), std::max(c.usedAs, 1) + 1) << c.name;
        EXPECT_EQ(node->Edge_Width, c.storedAfterPainting) << c.name;
    }
}

}  // namespace
}  // namespace vetra
