#pragma once

#include <memory>

#include "model/document_tree.h"
#include "model/tree_view.h"

namespace vetra {

// True when `node` stands in the document: it is the document root, or its
// parent (seen through the view's cut) holds it.
bool standsInTree(const TDocument_Tree& doc, const TCurrent_View& view, const TTree_Node* node);

// Puts `replacement` where `node` stands: in its parent's child list at its
// index, or as the document root. When `node` was the view root the
// replacement becomes the view root (with its parent link cut); the main view
// always follows the document root. Returns `node`'s subtree, now detached.
// Requires: standsInTree(doc, view, node).
std::unique_ptr<TTree_Node> replaceInTree(TDocument_Tree& doc, TCurrent_View& view,
                                          TTree_Node* node,
                                          std::unique_ptr<TTree_Node> replacement);

}  // namespace vetra
