#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "layout/fixed_metrics_canvas.h"
#include "layout/layout_engine.h"
#include "layout/recording_canvas.h"
#include "layout/tree_builder.h"
#include "layout/view_hover.h"

namespace vetra {
namespace {

using testing::addChild;
using testing::makeNode;

bool isEmpty(const TPicture_Rect& r) {
    return r.left >= r.right || r.top >= r.bottom;
}

bool contains(const TPicture_Rect& area, const TTree_Node& node) {
    const TNode_Point at = absolutePosition(node);
    return area.left < at.x && area.top < at.y && at.x + node.Layout.Box_Width < area.right &&
           at.y + node.Layout.Box_Height < area.bottom;
}

// The pointer moves over a root with a marker, a child with a link and a
// plain child; each step says what the window sees.
TEST(Hover, FollowsThePointerOverNodesAndParts) {
    auto root = testing::buildTree("root(linked,plain)");
    TTree_Node* linked = root->child(0);
    linked->setLink("http://example.org/");
    TView_Picture picture = testing::showFixed(*root);
    auto inside = [](const TTree_Node* node, const TNode_Rect& r) {
        const TNode_Point at = absolutePosition(*node);
        return TNode_Point{at.x + r.x + r.width / 2, at.y + r.y + r.height / 2};
    };
    auto corner = [](const TTree_Node* node, int32_t dx, int32_t dy) {
        const TNode_Point at = absolutePosition(*node);
        return TNode_Point{at.x + dx, at.y + dy};
    };
    const TNode_Point rootBox = corner(root.get(), 1, 1);
    const TNode_Point rootBoxAgain = corner(root.get(), 3, 2);
    const TNode_Point rootMarker = inside(root.get(), markerRect(*root));
    const TNode_Point link = inside(linked, linkRect(*linked));
    const TNode_Point linkedFarCorner =
        corner(linked, linked->Layout.Box_Width, linked->Layout.Box_Height);
    const TNode_Point empty{1, 1};

    const struct {
        const char* name;
        TNode_Point at;
        bool changed;
        const TTree_Node* node;
        int32_t part;
        bool erases, draws;
    } steps[] = {
        // clang-format off
        {"empty space with nothing hovered: nothing happens", empty, false, nullptr, kPart_None, false, false},
        {"onto the root's box", rootBox, true, root.get(), kPart_Box, false, true},
        {"within the same box: nothing happens", rootBoxAgain, false, root.get(), kPart_Box, false, false},
        {"onto the root's marker: same node, new part", rootMarker, true, root.get(), kPart_Marker, true, true},
        {"onto the link indicator of a child", link, true, linked, kPart_Link, true, true},
        {"the box's far corner is inside (bounds inclusive)", linkedFarCorner, true, linked, kPart_Box, true, true},
        {"off every node: the highlight comes off", empty, true, nullptr, kPart_None, true, false},
        {"still off: nothing happens", {2, 2}, false, nullptr, kPart_None, false, false},
        // clang-format on
    };
    for (const auto& s : steps) {
        const THover_Change change = updateHover(picture, *root, s.at.x, s.at.y, 0, 0);
        EXPECT_EQ(change.changed, s.changed) << s.name;
        EXPECT_EQ(picture.Hover_Node, s.node) << s.name;
        EXPECT_EQ(picture.Hover_Part, s.part) << s.name;
        EXPECT_EQ(picture.Hover_Drawn, s.node != nullptr) << s.name;
        EXPECT_EQ(!isEmpty(change.erased), s.erases) << s.name;
        EXPECT_EQ(!isEmpty(change.drawn), s.draws) << s.name;
        EXPECT_EQ(change.showButton, s.draws) << s.name;
        if (s.draws) {
            EXPECT_TRUE(contains(change.drawn, *s.node)) << s.name;
            EXPECT_EQ(picture.Last_Mouse, s.at) << s.name;
        }
    }
}

// Moving off every node leaves the flag off, so neither a repaint nor an
// erase draws a highlight for a node that is not there.
TEST(Hover, NoHighlightIsPaintedAfterMovingOffTheNodes) {
    auto root = makeNode("root");
    addChild(*root, "child");
    TFixed_Metrics_Canvas metrics;
    TView_Picture picture;
    relayoutView(metrics, *root, 0, 0, picture);
    const TPicture_Rect all{0, 0, picture.Width, picture.Height};
    auto paintsHover = [&] {
        TRecording_Canvas canvas;
        paintViewPicture(canvas, *root, picture, {}, all);
        return canvas.text().find("brush_color 00202020") != std::string::npos;
    };
    const TNode_Point at = absolutePosition(*root);
    updateHover(picture, *root, at.x + 1, at.y + 1, 0, 0);
    EXPECT_TRUE(paintsHover());
    updateHover(picture, *root, 0, 0, 0, 0);
    EXPECT_FALSE(paintsHover());
    EXPECT_TRUE(isEmpty(eraseHover(picture)));

    updateHover(picture, *root, at.x + 1, at.y + 1, 0, 0);
    EXPECT_FALSE(isEmpty(eraseHover(picture)));
    EXPECT_EQ(picture.Hover_Node, nullptr);
    EXPECT_FALSE(paintsHover());

    // A repaint forgets the hovered node: the next move over it draws again.
    updateHover(picture, *root, at.x + 1, at.y + 1, 0, 0);
    relayoutView(metrics, *root, 0, 0, picture);
    EXPECT_FALSE(picture.Hover_Drawn);
    EXPECT_TRUE(updateHover(picture, *root, at.x + 1, at.y + 1, 0, 0).changed);
}

}  // namespace
}  // namespace vetra
