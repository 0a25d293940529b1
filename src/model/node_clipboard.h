#pragma once

#include <memory>
#include <vector>

#include "model/tree_node.h"

namespace vetra {

// The program's own clipboard of detached subtrees, shared by all document
// windows for the whole run. It owns its subtrees; the system clipboard never
// carries nodes.
class TNode_Clipboard {
  public:
    void clear() { Subtrees_.clear(); }
    void append(std::unique_ptr<TTree_Node> subtree) { Subtrees_.push_back(std::move(subtree)); }
    bool empty() const { return Subtrees_.empty(); }
    int32_t count() const { return static_cast<int32_t>(Subtrees_.size()); }
    const TTree_Node& subtree(int32_t index) const { return *Subtrees_[index]; }
    TTree_Node& subtree(int32_t index) { return *Subtrees_[index]; }

  private:
    std::vector<std::unique_ptr<TTree_Node>> Subtrees_;
};

// The process-wide clipboard, created empty at first use.
TNode_Clipboard& nodeClipboard();

}  // namespace vetra
