#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "model/ptr_array.h"
#include "model/tree_node.h"

namespace vetra {

// One view of a document window: a subtree shown as a tree of its own, with
// the state kept while another view is shown. The window owns its views (the
// main view first) and their tabs.
struct TNode_View {
    TTree_Node* Saved_Parent =
        nullptr;  // the root's parent in the document; null for the main view
    TTree_Node* Root = nullptr;
    TPtr_Array<TTree_Node> Saved_Selection;
    TPtr_Array<TTree_Node> Saved_Collapsed;
    int32_t Picture_Width = 10;
    int32_t Picture_Height = 10;
    int32_t Scroll_X = 0;
    int32_t Scroll_Y = 0;
};

// Makes the view's root a layout root and restores its expansion and
// selection: the root is detached from its parent, the subtree's selection
// cleared, every node expanded except those saved as collapsed (nodes
// without children are always expanded), and the saved selection inside the
// subtree selected again. The caller then repaints and restores the scroll
// positions Scroll_X and Scroll_Y.
void showView(TNode_View& view);

// Saves the view's state before another is shown (or the view is closed, or
// the document saved): scroll positions and picture size as given, every
// collapsed node of the subtree, the visible selected nodes; then reattaches
// the root to Saved_Parent.
void leaveView(TNode_View& view, int32_t scrollX, int32_t scrollY, int32_t pictureWidth,
               int32_t pictureHeight);

// Saves the expansion and selection a view starts with, so that the first
// showing restores them.
void saveViewState(TNode_View& view);

// The views of one document window, the main view first.
class TView_List {
  public:
    int32_t count() const { return static_cast<int32_t>(Views_.size()); }
    TNode_View* view(int32_t index) const { return Views_[index].get(); }
    TNode_View* current() const { return Current_; }
    void setCurrent(TNode_View* view) { Current_ = view; }

    // The view whose root is `node`, or null.
    TNode_View* findView(const TTree_Node* node) const;
    // The existing view of `node`, or a new one appended (parent saved,
    // picture 10 x 10, scroll 0, 0). `created` tells which.
    TNode_View* newView(TTree_Node* node, bool* created = nullptr);
    // Reattaches the root and removes the view, moving the last view into
    // its place. When it was current, the main view becomes current (the
    // caller shows it). Returns false for a view not in the list.
    bool closeView(TNode_View* view);

  private:
    std::vector<std::unique_ptr<TNode_View>> Views_;
    TNode_View* Current_ = nullptr;
};

}  // namespace vetra
