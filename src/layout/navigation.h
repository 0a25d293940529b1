#pragma once

#include "model/tree_node.h"

namespace vetra {

// Arrow-key navigation between laid-out nodes, following the view styles:
// the node an arrow key moves to from `node`, or null. Each first looks among
// the node's own children when its own style lays them out in that
// direction, then moves by the parent's style (sibling or parent).
TTree_Node* Node_Down(TTree_Node* node);
TTree_Node* Node_Up(TTree_Node* node);
TTree_Node* Node_Right(TTree_Node* node);
TTree_Node* Node_Left(TTree_Node* node);

enum class TNav_Direction { Left, Right, Up, Down };

// The expanded node's child nearest in the direction, measured between
// reference points (top-left corners, moved to the horizontal centre for
// axis 1 and to the vertical centre for axis 2); children on the wrong side
// and distances of 10000 or more do not count; the first wins a tie.
TTree_Node* nearestChild(TTree_Node* node, TNav_Direction direction, int axis);

}  // namespace vetra
