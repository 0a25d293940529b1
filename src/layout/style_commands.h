#pragma once

#include <cstdint>
#include <string_view>

#include "model/tree_node.h"

namespace vetra {

// The style commands of a document window; each changes one field of every
// selected visible node of the current view.
enum class TStyle_Command {
    View_Style,       // 0..7, set view style
    Link_Style,       // 0..4, set link style
    Edge_Style,       // 0..5
    Edge_Width,       // 0..5
    Link_Up_Width,    // 0..5
    Link_Down_Width,  // 0..5
    Color_Fill,       // -1 for Auto
    Color_Edge,
    Color_Caption,  // also the colour palette's command
    Color_Link_Up,
    Color_Link_Down,
    Font_Style,  // 0 clears, 1, 2 or 4 toggles
    Font_Name,   // the face name argument
};

// Receives each node's state before a style command changes it, so that the
// undo history can record a style-change entry. The document's undo history
// implements it; null records nothing.
class TStyle_Change_Recorder {
  public:
    virtual ~TStyle_Change_Recorder() = default;
    virtual void recordStyleChange(const TTree_Node& node) = 0;
};

// Applies the command to the selected nodes of the view of `root`, in
// pre-order, visiting only expanded nodes' children; each node is recorded
// before it changes. Returns the number of nodes changed: with none the
// caller stops; otherwise it lays out and repaints the view.
int32_t applyStyleCommand(TTree_Node& root, TStyle_Command command, int32_t value,
                          std::string_view fontName, TStyle_Change_Recorder* recorder);

// The change of one command on one node.
void applyStyle(TTree_Node& node, TStyle_Command command, int32_t value, std::string_view fontName);

}  // namespace vetra
