#include "layout/view_hover.h"

#include "layout/hit_test.h"
#include "layout/layout_engine.h"

namespace vetra {

TPicture_Rect hoverArea(const TTree_Node& node) {
    // The outline and the ellipses around the link indicator and the marker
    // lie inside the box; the 2-pixel pen reaches one pixel past them, and a
    // third pixel allows for smoothing.
    constexpr int64_t kReach = 3;
    const TNode_Point at = absolutePosition(node);
    return {clampExtent(at.x - kReach), clampExtent(at.y - kReach),
            clampExtent(int64_t{at.x} + node.Layout.Box_Width + kReach),
            clampExtent(int64_t{at.y} + node.Layout.Box_Height + kReach)};
}

TPicture_Rect eraseHover(TView_Picture& picture) {
    TPicture_Rect area;
    if (picture.Hover_Drawn && picture.Hover_Node != nullptr) area = hoverArea(*picture.Hover_Node);
    picture.Hover_Drawn = false;
    picture.Hover_Node = nullptr;
    picture.Hover_Part = kPart_None;
    return area;
}

THover_Change updateHover(TView_Picture& picture, TTree_Node& root, int32_t x, int32_t y,
                          int32_t scrollX, int32_t scrollY, int32_t buttonWidth,
                          int32_t buttonHeight) {
    THover_Change change;
    const TNode_Hit hit = hitSubtree(root, x, y);
    if (hit.node == picture.Hover_Node && (hit.node == nullptr || hit.part == picture.Hover_Part))
        return change;

    change.changed = true;
    change.erased = eraseHover(picture);
    picture.Hover_Node = hit.node;
    picture.Hover_Part = hit.part;
    picture.Last_Mouse = {x, y};
    if (hit.node == nullptr) return change;

    // Only a drawn highlight sets the flag: with no node there is nothing
    // that erasing could draw again.
    picture.Hover_Drawn = true;
    change.drawn = hoverArea(*hit.node);
    const TNode_Point at = absolutePosition(*hit.node);
    const TNode_Rect& text = hit.node->Layout.Text_Rect;
    change.showButton = true;
    change.buttonLeft = clampExtent(int64_t{at.x} - scrollX - buttonWidth);
    change.buttonTop =
        clampExtent(int64_t{at.y} + text.y + (int64_t{text.height} - buttonHeight) / 2 - scrollY);
    return change;
}

}  // namespace vetra
