#pragma once

#include <cstdint>

#include "layout/view_paint.h"
#include "model/tree_node.h"

namespace vetra {

// Size of the hover edit button the window shows beside the hovered node.
inline constexpr int32_t kHover_Button_Size = 16;

// What a hover update changed. The highlights are not drawn into a stored
// bitmap: the window repaints `erased` and `drawn` (picture coordinates;
// empty rectangles have left == right), and its paint draws the hover
// highlight from the picture's flags (paintViewPicture).
struct THover_Change {
    bool changed = false;     // the hovered node or part changed
    TPicture_Rect erased;     // where the old highlight was, to repaint
    TPicture_Rect drawn;      // where the new highlight is, to repaint
    bool showButton = false;  // a node was hit: show the edit button at
    int32_t buttonLeft = 0;   // (buttonLeft, buttonTop), coordinates of the
    int32_t buttonTop = 0;    // visible area; otherwise leave it as it is
};

// The pointer moved to picture point (x, y) in the view of `root`, scrolled
// by (scrollX, scrollY). When the node or part under the pointer is the one
// already hovered, or nothing is under it and nothing was hovered, nothing
// changes. Otherwise the old highlight is taken off, the new node, part and
// position are stored, and the new highlight is put on when a node was hit;
// the edit button then goes with its right edge on the node's left edge,
// centred on the caption. Moving off every node leaves no highlight on and
// the flag off, and leaves the button where it was (the pointer can reach
// it there).
THover_Change updateHover(TView_Picture& picture, TTree_Node& root, int32_t x, int32_t y,
                          int32_t scrollX, int32_t scrollY,
                          int32_t buttonWidth = kHover_Button_Size,
                          int32_t buttonHeight = kHover_Button_Size);

// Takes the hover highlight off when it is on and forgets the hovered node.
// Returns the area to repaint (empty when nothing was on).
TPicture_Rect eraseHover(TView_Picture& picture);

// The area the hover highlight of a node covers, pen and ellipses included.
TPicture_Rect hoverArea(const TTree_Node& node);

}  // namespace vetra
