#pragma once

#include <QPixmap>
#include <cstdint>

namespace vetra {

// The small pictures of the style panel, one per option, drawn here so that
// the panel reads at a glance: a miniature of each arrangement, connector,
// outline and line width. A code the panel cannot choose (read from a file)
// gets a question mark.

inline constexpr QSize kView_Icon_Size{40, 26};
inline constexpr QSize kLink_Icon_Size{30, 22};
inline constexpr QSize kEdge_Icon_Size{26, 22};
inline constexpr QSize kWidth_Icon_Size{20, 14};

// View_Style 0..7: Auto, Tree_Main, Tree_Left, Tree_Right, List_Left,
// List_Right, Stru_Up, Stru_Down.
QPixmap viewStyleIcon(int32_t code);
// Link_Style 0..4: Auto, Direct, Round_Direct, Rect, Round_Rect.
QPixmap linkStyleIcon(int32_t code);
// Edge_Style 0..5: Auto, Round_Rect, Rect, Lozenge, Circle, Underline.
QPixmap edgeStyleIcon(int32_t code);
// Widths 0..5: Auto, then 1 to 5 pixels.
QPixmap widthIcon(int32_t width);

}  // namespace vetra
