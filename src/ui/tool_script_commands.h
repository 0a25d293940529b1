#pragma once

#include <QString>

#include "ui/tool_window_target.h"

namespace vetra {

class TForm_Map;
class TForm_Node_Style;

// The script commands of `vetra --run` that drive the tool windows. Each
// acts through the windows' own controls, as a user would.
//
// "search TEXT" is runSearchCommand (ui/search_commands.h).
//
// "style ROW VALUE": the panel is activated for `target` (the active
// document window), then the row's control opens its chooser and the entry
// for VALUE is clicked. Rows and values:
//   view 0..7           Auto, Tree_Main, Tree_Left, Tree_Right, List_Left,
//                       List_Right, Stru_Up, Stru_Down
//   link 0..4           Auto, Direct, Round_Direct, Rect, Round_Rect
//   edge 0..5           Auto, Round_Rect, Rect, Lozenge, Circle, Underline
//   edgewidth 0..5      outline width (0 Auto)
//   linkdownwidth 0..5  width of the connectors to the children
//   linkupwidth 0..5    width of the connector to the parent
//   fill, edgecolor, textcolor, linkupcolor, linkdowncolor COLOR
//                       COLOR is 0x00BBGGRR as documents store it, in hex
//                       with 0x or in decimal, or A (or -1) for Auto; a
//                       colour of neither row of swatches is taken as the
//                       " U" swatch takes the colour dialog's answer
//   font 0|1|2|4        Auto (clear), toggle bold, italic, underline
//   fontname NAME       the face name (the rest of the line)
// False, changing nothing, for an unknown row or a value the panel cannot
// choose; `error` then says why.
bool applyStyleRow(TForm_Node_Style& panel, TTool_Window_Target* target, const QString& row,
                   const QString& value, QString* error = nullptr);

// "map FX FY": follow mode is turned on as a click on the map would, then
// the active document window scrolls as for a mouse move at fractions
// (FX, FY) of the map's size. False when there is no document window.
bool mapFollowAt(TForm_Map& map, double fx, double fy);

class TScript_Runner;
class TForm_Main_Vetra;
// Teaches a script runner the lines "search TEXT", "style ROW VALUE" and
// "map FX FY".
void addToolScriptCommands(TScript_Runner& runner, TForm_Main_Vetra& frame);

}  // namespace vetra
