#pragma once

#include <cstdint>

#include "layout/canvas.h"
#include "layout/node_paint.h"
#include "model/tree_node.h"

namespace vetra {

class TPaint_Record;
class TText_Measure_Cache;

// A rectangle of the picture, right and bottom excluded.
struct TPicture_Rect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool meets(int64_t l, int64_t t, int64_t r, int64_t b) const {
        return l < right && left < r && t < bottom && top < b;
    }
};

// Hit-test parts of a node.
enum TNode_Part : int32_t { kPart_None = 0, kPart_Box = 1, kPart_Link = 2, kPart_Marker = 3 };

// The picture of the shown view. The picture is virtual: it has a logical
// size for scrolling and coordinates, and the window paints only the part
// that is exposed, from the nodes. The flags say which highlights are on the
// picture, with the on/off meaning of exclusive-or drawing.
struct TView_Picture {
    int32_t Width = 10;
    int32_t Height = 10;
    TTree_Node* Hover_Node = nullptr;
    int32_t Hover_Part = kPart_None;
    bool Hover_Drawn = false;
    bool Selection_Drawn = false;
    TNode_Point Last_Mouse;
};

// Lays out the view of `root` (its parent link is cleared: the root of a
// shown view is a layout root) and fits the picture: the drawing plus 20
// pixels each way, at least the visible client area, with the drawing centred.
// Forgets the hover highlight and marks the selection highlight drawn; the
// window then repaints what is visible.
void relayoutView(TCanvas& metrics, TTree_Node& root, int32_t clientWidth, int32_t clientHeight,
                  TView_Picture& picture, TText_Measure_Cache* cache = nullptr);
// The picture size and the root's place of `relayoutView`, after a layout.
void fitPictureToLayout(TTree_Node& root, int32_t clientWidth, int32_t clientHeight,
                        TView_Picture& picture);

// Paints the visible nodes of the subtree in pre-order, skipping subtrees
// whose block and connector lie outside `clip`. Walks without recursion.
void paintSubtree(TCanvas& canvas, TTree_Node& root, const TPaint_Options& options,
                  const TPicture_Rect& clip);

// Paints what the window shows of the picture inside `clip`: background,
// nodes, then the highlights whose flags are on. Each painted node is noted
// in `record` when one is given.
void paintViewPicture(TCanvas& canvas, TTree_Node& root, const TView_Picture& picture,
                      const TPaint_Options& options, const TPicture_Rect& clip,
                      TPaint_Record* record = nullptr);

// The two highlights, drawn in exclusive-or mode (a second drawing removes
// them). Only nodes meeting `clip` are drawn.
void drawSelectionHighlight(TCanvas& canvas, TTree_Node& root, const TPicture_Rect& clip);
void drawHoverHighlight(TCanvas& canvas, const TTree_Node& node, int32_t part);

// The 16 x 16 picture of the hover edit button.
void paintGeniusIcon(TCanvas& canvas, int32_t background);

}  // namespace vetra
