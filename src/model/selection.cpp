#include "model/selection.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace vetra {
namespace {

// Above this many selected nodes in the program, sorting them costs more
// than a walk over a view.
constexpr size_t kListed_Limit = 256;

// The child indices leading from the view root to the node, when the node
// is visible from it: the root itself, or reached from it through expanded
// nodes, each really holding the next (a removed subtree keeps its old
// Parent). Pre-order is the lexicographic order of these paths.
std::optional<std::vector<int32_t>> visiblePath(const TTree_Node& viewRoot,
                                                const TTree_Node& node) {
    std::vector<int32_t> path;
    for (const TTree_Node* at = &node; at != &viewRoot; at = at->Parent) {
        const TTree_Node* up = at->Parent;
        if (up == nullptr || !up->Expanded) return std::nullopt;
        const int32_t index = up->indexOfChild(at);
        if (index < 0) return std::nullopt;
        path.push_back(index);
    }
    std::reverse(path.begin(), path.end());
    return path;
}

// Adds the selected visible nodes to `out` in pre-order, found from the
// program's list of selected nodes; false, adding nothing, when so many are
// selected that a walk over the view is the cheaper way.
bool appendSelectedFromList(TTree_Node& viewRoot, std::vector<TTree_Node*>& out) {
    std::vector<TTree_Node*> selected;
    if (!listSelectedNodes(kListed_Limit, selected)) return false;
    std::vector<std::pair<std::vector<int32_t>, TTree_Node*>> found;
    for (TTree_Node* node : selected)
        if (auto path = visiblePath(viewRoot, *node)) found.emplace_back(std::move(*path), node);
    std::sort(found.begin(), found.end());
    for (const auto& entry : found) out.push_back(entry.second);
    return true;
}

}  // namespace

std::vector<TTree_Node*> selectedList(TTree_Node& viewRoot) {
    std::vector<TTree_Node*> selected;
    if (appendSelectedFromList(viewRoot, selected)) return selected;
    std::vector<TTree_Node*> pending{&viewRoot};
    while (!pending.empty()) {
        TTree_Node* node = pending.back();
        pending.pop_back();
        if (node->selected()) selected.push_back(node);
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
    if (viewRoot.selected()) return {&viewRoot};
    return selectedList(viewRoot);
}

}  // namespace vetra
