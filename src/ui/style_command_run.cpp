#include "ui/style_command_run.h"

namespace vetra {

void TUndo_Style_Recorder::recordStyleChange(const TTree_Node& node) {
    if (Group_ == nullptr) Group_ = &Target_.document().Undo.beginGroup();
    Target_.noteNodeChange(node);
    // The record keeps a clone of the content and the node to copy it back into.
    Group_->recordChange(const_cast<TTree_Node*>(&node));
}

int32_t runStyleCommand(TTool_Window_Target& target, TStyle_Command command, int32_t value,
                        std::string_view fontName) {
    TUndo_Style_Recorder recorder(target);
    const int32_t changed =
        applyStyleCommand(target.viewRoot(), command, value, fontName, &recorder);
    if (changed == 0) return 0;
    target.refreshView();
    target.document().Modified = 1;
    return changed;
}

}  // namespace vetra
