#pragma once

class QWidget;

namespace vetra {

class TForm_Main_Vetra;
class TTool_Window_Target;

// Makes the overview map and the style panel of this run for the main frame
// (placed, sized and shown as the options say), and wires the frame's items
// `N_Map` (F5) and `N_Node_Attr` (F6) to show and hide them, with their check
// marks set when the tool menu opens, and enables the search items, which go
// to the active document window's `N_SearchClick`, `N_Search_NextClick` and
// `N_Search_PreClick`.
void installToolWindows(TForm_Main_Vetra& frame);

// Moves (and if need be shrinks) a top-level window so that it lies on the
// available area of the screen nearest to it: a place stored under another
// resolution or scale may lie off every screen.
void placeOnScreen(QWidget& window);

// The frame is going: the tool windows stop asking it for the active
// document window. Call first thing in the frame's destructor.
void detachToolWindows();

// Copies the places and visibility of both tool windows into the frame's
// options (before they are saved at exit).
void storeToolWindowPlaces();

// The active document window as a tool-window target: the active MDI child,
// or, while a tool window has the focus, the child that was active last.
TTool_Window_Target* activeToolTarget(const TForm_Main_Vetra& frame);

}  // namespace vetra
