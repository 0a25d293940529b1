#pragma once

#include "model/tree_node.h"

namespace vetra {

// The view of the document window that the commands act on. While the view is
// current its root's Parent is cut to none, so the shown subtree behaves as a
// whole tree; the real parent (still holding the root in its child list) is
// remembered here. The main view's root is the document root and has no real
// parent.
//
// Invariant kept by every command and by undo: Root->Parent is none and
// Saved_Parent is the node whose child list holds Root (none for the document
// root). A command that replaces the view root moves the cut to the new root.
struct TCurrent_View {
    TTree_Node* Root = nullptr;
    TTree_Node* Saved_Parent = nullptr;
    bool Is_Main_View = true;

    // Before an operation on the whole document (save, exports) the root is
    // linked to its parent again; afterwards it is cut once more.
    void restoreParentLink() const {
        if (Root != nullptr) Root->Parent = Saved_Parent;
    }
    void cutParentLink() const {
        if (Root != nullptr) Root->Parent = nullptr;
    }
    // The node's parent in the document, seeing through the cut.
    TTree_Node* realParent(const TTree_Node* node) const {
        return node == Root ? Saved_Parent : node->Parent;
    }
};

}  // namespace vetra
