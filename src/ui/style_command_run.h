#pragma once

#include <cstdint>
#include <string_view>

#include "layout/style_commands.h"
#include "model/document_tree.h"
#include "ui/tool_window_target.h"

namespace vetra {

// Records each node's state into the document's undo history before a style
// command changes it: one group per command, opened with the first node, so a
// command that changes nothing leaves no empty group behind.
class TUndo_Style_Recorder : public TStyle_Change_Recorder {
  public:
    explicit TUndo_Style_Recorder(TTool_Window_Target& target) : Target_(target) {}
    void recordStyleChange(const TTree_Node& node) override;

  private:
    TTool_Window_Target& Target_;
    TUndo_Group* Group_ = nullptr;
};

// A style command of the document window: every selected visible node of
// the current view changes, each with its undo entry; then the view is laid
// out and repainted and the document marked modified. With no selected node
// nothing happens. Returns the number of nodes changed.
int32_t runStyleCommand(TTool_Window_Target& target, TStyle_Command command, int32_t value,
                        std::string_view fontName = {});

}  // namespace vetra
