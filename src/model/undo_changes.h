#pragma once

#include <vector>

#include "model/undo_history.h"

namespace vetra {

// The nodes whose own fields or list of children change when `group` is
// taken back, found before it is: the parent that gets an erased subtree
// back, both parents of a move, the parent that loses a created node, the
// node whose content is restored. A layout of those subtrees and the path
// down to them is all the undo needs. Nodes that leave the tree are not
// listed. `complete` is false when a record reaches the top of its tree (a
// changed root): the caller lays out the whole view. With `childLists`, the
// nodes whose list of children alone changes go there instead.
std::vector<TTree_Node*> nodesChangedByUndo(TUndo_Group& group, bool& complete,
                                            std::vector<TTree_Node*>* childLists = nullptr);

}  // namespace vetra
