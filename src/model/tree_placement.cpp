#include "model/tree_placement.h"

namespace vetra {

bool standsInTree(const TDocument_Tree& doc, const TCurrent_View& view, const TTree_Node* node) {
    if (node == nullptr) return false;
    if (node == doc.root()) return true;
    const TTree_Node* parent = view.realParent(node);
    return parent != nullptr && parent->indexOfChild(node) >= 0;
}

std::unique_ptr<TTree_Node> replaceInTree(TDocument_Tree& doc, TCurrent_View& view,
                                          TTree_Node* node,
                                          std::unique_ptr<TTree_Node> replacement) {
    TTree_Node* placed = replacement.get();
    std::unique_ptr<TTree_Node> taken;
    if (node == doc.root()) {
        taken = std::move(doc.Root);
        doc.Root = std::move(replacement);
        placed->Parent = nullptr;
        placed->Depth = 1;
    } else {
        TTree_Node* parent = view.realParent(node);
        int32_t index = parent->indexOfChild(node);
        taken = parent->removeChild(node);
        parent->insertChild(std::move(replacement), index);
    }
    taken->Parent = nullptr;
    if (view.Root == node) {
        view.Root = placed;
        view.cutParentLink();
    }
    if (view.Is_Main_View) view.Root = doc.root();
    return taken;
}

}  // namespace vetra
