#pragma once

#include <cstdint>
#include <memory>

#include "model/tree_node.h"
#include "model/undo_history.h"

namespace vetra {

// The part of a document that the editing commands work on: the tree (owned
// through its root), the undo history and the modified flag. The document
// store's TTree_Doc adds the file.
class TDocument_Tree {
  public:
    TDocument_Tree() : Root(std::make_unique<TTree_Node>()) {}
    virtual ~TDocument_Tree() = default;
    TDocument_Tree(const TDocument_Tree&) = delete;
    TDocument_Tree& operator=(const TDocument_Tree&) = delete;

    TTree_Node* root() const { return Root.get(); }

    // A copy that leaves the document (for the node clipboard or another
    // document) must not depend on this document's file: the store loads its
    // notes into the content store and marks them to be written again. A
    // document without a file has nothing to do.
    virtual void prepareDetachedCopy(TTree_Node& /*copy*/) {}

    std::unique_ptr<TTree_Node> Root;
    TUndo_History Undo;
    int32_t Modified = 0;
};

}  // namespace vetra
