#include "model/undo_changes.h"

namespace vetra {

std::vector<TTree_Node*> nodesChangedByUndo(TUndo_Group& group, bool& complete,
                                            std::vector<TTree_Node*>* childLists) {
    std::vector<TTree_Node*> changed;
    std::vector<TTree_Node*>& reshaped = childLists != nullptr ? *childLists : changed;
    complete = true;
    // The place where `node` stands: its parent, or the whole view at a root.
    auto placeOf = [&](TTree_Node* node) {
        if (node == nullptr || node->Parent == nullptr)
            complete = false;
        else
            reshaped.push_back(node->Parent);
    };
    for (int32_t i = 0; i < group.count(); ++i) {
        TUndo_Record& record = group.record(i);
        switch (record.Op) {
            case TUndo_Op::Erase:
                reshaped.push_back(record.A);
                break;
            case TUndo_Op::Erase_Parent:
                // The removed parent goes back above the node, in its place.
                placeOf(record.Node);
                break;
            case TUndo_Op::Move:
                reshaped.push_back(record.A);
                reshaped.push_back(record.B);
                break;
            case TUndo_Op::Create:
                placeOf(record.Node);
                break;
            case TUndo_Op::Create_Parent:
                // The added parent leaves; the node takes its place again.
                placeOf(record.Node != nullptr ? record.Node->Parent : nullptr);
                break;
            case TUndo_Op::Change:
                changed.push_back(record.Node);
                break;
        }
    }
    return changed;
}

}  // namespace vetra
