#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <string>

#include "layout/view_paint.h"
#include "model/document_tree.h"
#include "model/tree_node.h"

namespace vetra {

// One scroll bar of the area that shows a view picture.
struct TView_Scroll_Bar {
    bool visible = false;
    int32_t position = 0;
    int32_t maximum = 0;  // largest position: content extent minus the visible extent
    int32_t range = 0;    // extent of the scrolled content (Qt: maximum + page step)
};

struct TView_Scroll {
    TView_Scroll_Bar horizontal;
    TView_Scroll_Bar vertical;
};

// What the search commands, the style panel and the overview map need from a
// document window. The document window implements it; tests use a fake.
//
// Destroying a target (the document window closing) makes the tool windows
// forget it, so none of them keeps a dangling pointer.
class TTool_Window_Target {
  public:
    TTool_Window_Target() = default;
    virtual ~TTool_Window_Target();
    TTool_Window_Target(const TTool_Window_Target&) = delete;
    TTool_Window_Target& operator=(const TTool_Window_Target&) = delete;

    // The root of the current view. While the view is shown its parent link is
    // cut and its subtree carries the layout of the last refresh.
    virtual TTree_Node& viewRoot() = 0;

    // The document: style commands record into its undo history and set its
    // modified flag.
    virtual TDocument_Tree& document() = 0;

    // The view picture of the last refresh: its logical size (Width, Height)
    // is what the overview stretches onto the map and what follow mode
    // scrolls through.
    virtual const TView_Picture& viewPicture() = 0;

    // Lays out and repaints the current view, then updates the overview and
    // the caption (the document window's refresh).
    virtual void refreshView() = 0;
    // A node's own fields are about to change (a style command): the next
    // refresh may lay out its subtree again rather than the whole view.
    virtual void noteNodeChange(const TTree_Node& /*node*/) {}

    // Search found `node`: the selection already holds only that node and its
    // ancestors are expanded. Refresh when `relayout` (an ancestor was
    // collapsed), otherwise repaint the selection marks; scroll the node into
    // view and in the middle of the visible area; update the overview.
    virtual void revealNode(TTree_Node& node, bool relayout) = 0;
    // A short message for the status bar (a search without a match).
    virtual void showStatusMessage(const QString& /*text*/) {}

    // The scroll bars of the area showing the picture.
    virtual TView_Scroll viewScroll() = 0;

    // Sets the scroll positions (a bar that is not visible keeps its own) and
    // stores them in the current view's record (Scroll_X, Scroll_Y), so that
    // leaving and showing the view again keeps them.
    virtual void setViewScroll(int32_t x, int32_t y) = 0;

    // The document window's outer width and height; follow mode centres the
    // point under the mouse on it.
    virtual int32_t outerWidth() = 0;
    virtual int32_t outerHeight() = 0;

    // The window's search text: bytes in the active code page, empty in a
    // new window, replaced only by a confirmed search.
    virtual std::string& searchText() = 0;
};

// The active document window as a target, or null; the main frame supplies it.
using TTarget_Provider = std::function<TTool_Window_Target*()>;

namespace tool_window_detail {
// Called by ~TTool_Window_Target; each tool window registers a listener.
using TTarget_Gone = std::function<void(TTool_Window_Target*)>;
int addTargetGoneListener(TTarget_Gone listener);
void removeTargetGoneListener(int id);
}  // namespace tool_window_detail

}  // namespace vetra
