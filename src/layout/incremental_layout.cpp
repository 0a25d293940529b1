#include "layout/incremental_layout.h"

namespace vetra {

void TLayout_Changes::addChildList(const TTree_Node* node) {
    if (node == nullptr || Child_Lists_.count(node) != 0) return;
    Child_Lists_[node].insert(node->Children.begin(), node->Children.end());
}

bool TLayout_Changes::settle(const TTree_Node& root) {
    Path_.clear();
    // A listed node's new children are changed; the node itself is read from
    // its children, so it is on the path as if one of them had changed.
    std::vector<const TTree_Node*> reshaped;
    for (const auto& [node, before] : Child_Lists_) {
        for (const TTree_Node* child : node->Children)
            if (before.count(child) == 0) Changed_.insert(child);
        reshaped.push_back(node);
    }
    Child_Lists_.clear();
    bool inView = false;
    for (const TTree_Node* node : reshaped) {
        std::vector<const TTree_Node*> chain{node};
        const TTree_Node* up = node;
        while (up != &root && up != nullptr && Path_.count(up) == 0) {
            up = up->Parent;
            if (up != nullptr) chain.push_back(up);
        }
        if (up == nullptr) continue;  // not in this view
        Path_.insert(chain.begin(), chain.end());
        inView = true;
    }
    for (auto at = Changed_.begin(); at != Changed_.end();) {
        // The walk up stops at the first node already on the path.
        std::vector<const TTree_Node*> chain;
        const TTree_Node* up = *at;
        while (up != &root && up != nullptr && Path_.count(up) == 0) {
            up = up->Parent;
            if (up != nullptr) chain.push_back(up);
        }
        if (up == nullptr) {
            at = Changed_.erase(at);  // not in this view
            continue;
        }
        Path_.insert(chain.begin(), chain.end());
        ++at;
    }
    return inView || !Changed_.empty();
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
