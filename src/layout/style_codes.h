#pragma once

#include <cstdint>

namespace vetra {

// View_Style codes: how a node's subtree is arranged.
enum TView_Style_Code : int32_t {
    kView_Auto = 0,
    kView_Tree_Main = 1,
    kView_Tree_Left = 2,
    kView_Tree_Right = 3,
    kView_List_Left = 4,
    kView_List_Right = 5,
    kView_Stru_Up = 6,
    kView_Stru_Down = 7,
};

// Edge_Style codes: the outline shape.
enum TEdge_Style_Code : int32_t {
    kEdge_Auto = 0,
    kEdge_Round_Rect = 1,
    kEdge_Rect = 2,
    kEdge_Lozenge = 3,
    kEdge_Circle = 4,
    kEdge_Underline = 5,
};

// Link_Style codes: the connector shape to the children.
enum TLink_Style_Code : int32_t {
    kLink_Auto = 0,
    kLink_Direct = 1,
    kLink_Round_Direct = 2,
    kLink_Rect = 3,
    kLink_Round_Rect = 4,
};

// The engine code a View_Style_Used selects: Auto and unknown codes lay out
// as Tree_Main.
inline int32_t engineCode(int32_t viewStyleUsed) {
    return viewStyleUsed >= kView_Tree_Main && viewStyleUsed <= kView_Stru_Down ? viewStyleUsed
                                                                                : kView_Tree_Main;
}

// The connector style an engine gives a node whose Link_Style is Auto.
inline int32_t defaultLinkStyle(int32_t engine) {
    return engine <= kView_Tree_Right ? kLink_Round_Rect : kLink_Rect;
}

// Caption size in points by depth in the view (the view's root has depth 1).
inline int32_t fontSizeForDepth(int32_t depth) {
    if (depth <= 1) return 18;
    if (depth == 2) return 13;
    return 10;
}

// Widths the style panel offers for outlines and connectors: 0 (Auto) to 5.
// A document may carry any value; drawing and measuring take the nearest one
// in this range, so a damaged width cannot overflow the box arithmetic or
// draw billions of outline rings. The stored value is left as it is.
inline constexpr int32_t kMax_Line_Width = 5;
inline int32_t lineWidthUsed(int32_t stored) {
    return stored < 0 ? 0 : stored > kMax_Line_Width ? kMax_Line_Width : stored;
}

// Captions longer than this (in bytes) wrap onto two lines.
inline int32_t wrapLimit(bool hasParent) {
    return hasParent ? 20 : 13;
}

// Background of the drawing when the options say nothing else.
inline constexpr int32_t kDefault_Tree_Design_Color = 0xF9F4F3;

}  // namespace vetra
