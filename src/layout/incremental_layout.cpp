#include "layout/incremental_layout.h"

#include <iterator>

namespace vetra {

void TLayout_Changes::addChildList(const TTree_Node* node) {
    if (node == nullptr || Child_Lists_.count(node) != 0) return;
    // The children of a collapsed node were not laid out with it, and may
    // have changed since; if the edit expands it, they are all laid out.
    if (!node->Expanded) {
        add(node);
        return;
    }
    Child_Lists_[node].insert(node->Children.begin(), node->Children.end());
}

bool TLayout_Changes::settle(const TTree_Node& root) {
    Path_.clear();
    // Puts `from`'s ancestors (and `from` too, with `self`) on the path; the
    // walk up stops at the first node already on it. False when the walk
    // never meets `root`: the node is not in this view.
    auto onPath = [&](const TTree_Node* from, bool self) {
        std::vector<const TTree_Node*> chain;
        if (self) chain.push_back(from);
        const TTree_Node* up = from;
        while (up != &root && up != nullptr && Path_.count(up) == 0) {
            up = up->Parent;
            if (up != nullptr) chain.push_back(up);
        }
        if (up == nullptr) return false;
        Path_.insert(chain.begin(), chain.end());
        return true;
    };
    // A listed node's new children are changed; the node itself is read from
    // its children, so it is on the path as if one of them had changed.
    bool reshaped = false;
    for (const auto& [node, before] : Child_Lists_) {
        for (const TTree_Node* child : node->Children)
            if (before.count(child) == 0) Changed_.insert(child);
        reshaped = onPath(node, true) || reshaped;
    }
    Child_Lists_.clear();
    for (auto at = Changed_.begin(); at != Changed_.end();)
        at = onPath(*at, false) ? std::next(at) : Changed_.erase(at);
    return reshaped || !Changed_.empty();
}

void relayoutViewChanged(TCanvas& metrics, TTree_Node& root, TLayout_Changes& changes,
                         int32_t clientWidth, int32_t clientHeight, TView_Picture& picture,
                         TText_Measure_Cache* cache) {
    root.Parent = nullptr;
    picture.Hover_Drawn = false;
    picture.Hover_Node = nullptr;
    picture.Hover_Part = kPart_None;
    picture.Selection_Drawn = false;
    if (changes.settle(root)) layoutSubtreeInScope(metrics, root, changes, cache);
    fitPictureToLayout(root, clientWidth, clientHeight, picture);
    changes.clear();
}

}  // namespace vetra
