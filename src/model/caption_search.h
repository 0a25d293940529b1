#pragma once

#include <string_view>

#include "model/tree_node.h"

namespace vetra {

// Finding nodes by caption inside the current view of a document window.
// The walk is pre-order over the whole subtree of the view root, collapsed
// branches included, and never leaves that subtree: in a sub-view the rest
// of the document is out of reach even when the root's parent link is set.

// True when `text` occurs in `caption` starting on a character boundary.
// Captions are GBK or Big5 bytes, where a byte of 0x81 to 0xFE begins a
// two-byte character; a plain byte search would let the Latin letter "A"
// match the second byte of a Chinese character. Case-sensitive; an empty
// text matches every caption.
bool captionContains(std::string_view caption, std::string_view text);

enum class TSearch_Direction { Forward, Backward };

// The first node, from the view root itself onward, whose caption contains
// `text`; null when none does.
TTree_Node* findFirstMatch(TTree_Node& viewRoot, std::string_view text);

// Steps from `start` (a node of the view) in `direction`, never testing
// `start` itself: with an empty text the first node reached is the answer,
// otherwise the first one whose caption contains the text. Null at the end
// of the walk: there is no wrap-around, and the view root has nothing before
// it. Requires: `start` lies in the subtree of `viewRoot`.
TTree_Node* findNextMatch(TTree_Node& viewRoot, TTree_Node& start, std::string_view text,
                          TSearch_Direction direction);

// Where search next and previous start: the only selected visible node, or
// the view root when none or several are selected.
TTree_Node& searchStartNode(TTree_Node& viewRoot);

// Makes `found` the only selected node of the view and expands each of its
// ancestors up to the view root. True when one of them was collapsed (the
// view must then be laid out again).
bool selectFoundNode(TTree_Node& viewRoot, TTree_Node& found);

}  // namespace vetra
