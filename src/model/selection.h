#pragma once

#include <vector>

#include "model/tree_node.h"

namespace vetra {

// Selection inside a view. Visible nodes are the view root and every node
// reached from it through expanded nodes; all walks are in pre-order.

// Every selected visible node, including those below other selected nodes.
// Found from the program's list of selected nodes at the cost of their
// depths; walks the view only when very many nodes are selected.
std::vector<TTree_Node*> selectedList(TTree_Node& viewRoot);
// The only selected visible node, or none when zero or several are selected.
TTree_Node* currentNode(TTree_Node& viewRoot);
// The view root alone when it is selected, else the selected list.
std::vector<TTree_Node*> eraseList(TTree_Node& viewRoot);

}  // namespace vetra
