#include "layout/incremental_layout.h"

namespace vetra {

bool TLayout_Changes::settle(const TTree_Node& root) {
    Path_.clear();
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
    return !Changed_.empty();
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
