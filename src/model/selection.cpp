#include "model/selection.h"

namespace vetra {

std::vector<TTree_Node*> selectedList(TTree_Node& viewRoot) {
    std::vector<TTree_Node*> selected;
    std::vector<TTree_Node*> pending{&viewRoot};
    while (!pending.empty()) {
        TTree_Node* node = pending.back();
        pending.pop_back();
        if (node->Selected) selected.push_back(node);
        if (!node->Expanded) continue;
        for (int32_t i = node->childCount(); i-- > 0;) pending.push_back(node->child(i));
    }
    return selected;
}

TTree_Node* currentNode(TTree_Node& viewRoot) {
    std::vector<TTree_Node*> selected = selectedList(viewRoot);
    return selected.size() == 1 ? selected.front() : nullptr;
}

std::vector<TTree_Node*> eraseList(TTree_Node& viewRoot) {
    if (viewRoot.Selected) return {&viewRoot};
    return selectedList(viewRoot);
}

}  // namespace vetra
