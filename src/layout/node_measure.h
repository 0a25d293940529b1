#pragma once

#include <cstdint>
#include <string_view>

#include "layout/canvas.h"
#include "model/tree_node.h"

namespace vetra {

class TText_Measure_Cache;

// Bytes of the first caption line when a caption of `length` bytes wraps: the
// longest prefix of at most (length + 1) / 2 bytes that does not cut a
// two-byte character (codePageCharacterLength).
size_t firstLineLength(std::string_view caption);

// True when the caption is drawn on two lines.
bool captionWraps(const TTree_Node& node);

// Largest caption width or height measuring passes on: a caption of
// megabytes makes a box this wide, and the box arithmetic cannot overflow.
inline constexpr int32_t kMax_Text_Extent = 1 << 24;

// Width and height of the caption block as measuring defines them.
struct TText_Size {
    int32_t width = 0;
    int32_t height = 0;
    friend bool operator==(const TText_Size&, const TText_Size&) = default;
};

// Sets the canvas font to the node's caption font.
void setCaptionFont(TCanvas& canvas, const TTree_Node& node);

// Measures the caption on the canvas (setting its font first); each extent
// is cut to kMax_Text_Extent.
TText_Size measureCaption(TCanvas& canvas, const TTree_Node& node);

// Fills Box_Width, Box_Height and Text_Rect from the
// node's own fields. With a cache, a caption measured before in the same font
// is not measured again and the canvas font is then left as it was.
void measureNode(TCanvas& canvas, TTree_Node& node, TText_Measure_Cache* cache = nullptr);

// Fills the box fields from a caption size; the part of measuring that needs
// no canvas.
void measureBox(TTree_Node& node, TText_Size text);

// The link indicator and the expand/collapse marker, relative to the node
// box, as measuring placed them: right of the caption, centred in the box.
// Empty (zero wide) when the node has no link, or no children.
TNode_Rect linkRect(const TTree_Node& node);
TNode_Rect markerRect(const TTree_Node& node);

}  // namespace vetra
