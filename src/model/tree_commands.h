#pragma once

#include <cstdint>
#include <string_view>

#include "model/document_tree.h"
#include "model/editor_host.h"
#include "model/node_clipboard.h"
#include "model/tree_view.h"
#include "model/user_prompts.h"

namespace vetra {

// Everything a structural command touches. The window builds one for its
// current view; tests build one around a bare document.
struct TEdit_Context {
    TDocument_Tree& Doc;
    TCurrent_View& View;
    TTree_Editor_Host& Host;
    TUser_Messages& Messages;
    TNode_Clipboard& Clipboard;
    // The palette's default colour, given to new nodes.
    int32_t New_Node_Color = 0xCE8AEF;
};

// The most children one node may have: a document file cannot hold more.
// Commands that would pass it refuse and say so (kToo_Many_Children).
inline constexpr int32_t kMax_Children = 409600;
inline constexpr std::string_view kToo_Many_Children = "一個節點最多有 409600 個子節點，不能再添加";
// True, after telling the user, when `parent` cannot take `added` more children.
bool refusesMoreChildren(TEdit_Context& ctx, const TTree_Node& parent, int64_t added);

// A node with the defaults, the caption "新節點" and the given colour.
std::unique_ptr<TTree_Node> makeNewNode(int32_t color);

// The commands return true when they changed something. Those that change the
// tree record one undo group, refresh the view and set the modified flag;
// moving among siblings, expanding and undo leave the flag alone.

// Appends a new child to the current node and opens the caption editor on it.
bool createChild(TEdit_Context& ctx);
// Puts a new node between the current node and its parent.
bool createParent(TEdit_Context& ctx);
// Removes the current node's parent, which must have no other child.
bool eraseParent(TEdit_Context& ctx);
// Replaces the clipboard with copies of the selected subtrees.
void copySelection(TEdit_Context& ctx);
// Copies, then erases the erase list (the erase and cut commands).
bool eraseSelection(TEdit_Context& ctx);
// Appends copies of the clipboard's subtrees to the current node.
bool pasteClipboard(TEdit_Context& ctx);
bool moveUp(TEdit_Context& ctx);
bool moveDown(TEdit_Context& ctx);
// True when the erase list may be dropped onto `target`: for every node of
// the list, the target is not the node, not inside it and not its parent.
bool canDropOnto(TEdit_Context& ctx, const TTree_Node* target);
bool dropOnto(TEdit_Context& ctx, TTree_Node* target);
bool toggleExpanded(TEdit_Context& ctx);
// Expands `level` levels from the current node, or from the view root.
void expandToLevelCommand(TEdit_Context& ctx, int level);
// Takes back the newest undo group; the view root may change with it.
bool undoLastCommand(TEdit_Context& ctx);
// Applies again the newest group undo took back, with the same nodes in the
// same places and the selection it had; any new command drops what is left.
bool redoLastUndo(TEdit_Context& ctx);

// Records the content of each node before a style, colour or dialog change,
// in one group. The caller then changes the nodes and sets modified.
void recordContentChange(TDocument_Tree& doc, const std::vector<TTree_Node*>& nodes);

}  // namespace vetra
