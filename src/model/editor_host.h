#pragma once

#include "model/tree_node.h"

namespace vetra {

// The window-side steps of the editing commands. The document window fills
// them in; without a window (tests, the command line) they do nothing, and the
// model is complete without them.
class TTree_Editor_Host {
  public:
    virtual ~TTree_Editor_Host() = default;
    // Lay out and repaint the current view.
    virtual void refreshView() {}
    // Expand the node's ancestors and scroll it into view.
    virtual void makeVisible(TTree_Node& /*node*/) {}
    virtual void openCaptionEditor(TTree_Node& /*node*/) {}
    // Take the caption editor's text and hide it.
    virtual void commitCaptionEditor() {}
    // The node is about to leave the tree: close every view other than the
    // current one whose root is the node or, with `wholeSubtree`, lies inside
    // its subtree.
    virtual void closeViewsOf(const TTree_Node& /*node*/, bool /*wholeSubtree*/) {}
    // The current view's root is about to leave the tree: make the main view
    // the current one.
    virtual void showMainView() {}
};

}  // namespace vetra
