#pragma once

#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "layout/canvas.h"
#include "layout/layout_engine.h"
#include "layout/view_paint.h"
#include "model/tree_node.h"

namespace vetra {

class TText_Measure_Cache;

// The nodes an edit changed, collected until the next layout of the view.
// A node is changed when its own fields (caption, styles, fonts, expansion)
// or its list of children changed; its whole subtree is then laid out again.
// Nodes that leave the tree are not listed: their old parent is.
//
// A node whose own fields stay as they are while children come, go or move
// is better listed with addChildList before the edit: it is then laid out
// from its children, of which only those it did not hold before are laid
// out whole; the others keep their subtrees' layouts.
class TLayout_Changes : public TLayout_Scope {
  public:
    void add(const TTree_Node* node) {
        if (node != nullptr) Changed_.insert(node);
    }
    // Call before the edit: remembers the node's children of now.
    void addChildList(const TTree_Node* node);
    bool empty() const { return Changed_.empty() && Child_Lists_.empty(); }
    void clear() {
        Changed_.clear();
        Path_.clear();
        Child_Lists_.clear();
    }

    // Settles the path from `root` down to the changed nodes; changed nodes
    // outside the subtree of `root` are dropped. False when nothing inside
    // it changed.
    bool settle(const TTree_Node& root);

    bool isChanged(const TTree_Node* node) const override { return Changed_.count(node) != 0; }
    bool isOnPath(const TTree_Node* node) const override { return Path_.count(node) != 0; }

  private:
    std::unordered_set<const TTree_Node*> Changed_;
    std::unordered_set<const TTree_Node*> Path_;
    // Nodes listed by addChildList, with their children of then.
    std::unordered_map<const TTree_Node*, std::unordered_set<const TTree_Node*>> Child_Lists_;
};

// `relayoutView` after the listed changes: only the changed subtrees, the
// path down to them and the places of the blocks beside that path are worked
// out again. The view and the picture come out exactly as from a full
// layout. Requires: `root` was laid out as a view before (by either
// function) and nothing outside the listed subtrees changed since. The
// changes are cleared.
void relayoutViewChanged(TCanvas& metrics, TTree_Node& root, TLayout_Changes& changes,
                         int32_t clientWidth, int32_t clientHeight, TView_Picture& picture,
                         TText_Measure_Cache* cache = nullptr);

}  // namespace vetra
