#pragma once

#include <cstdint>

#include "layout/canvas.h"
#include "model/tree_node.h"

namespace vetra {

// What painting needs besides the nodes.
struct TPaint_Options {
    int32_t background = 0xF9F4F3;  // drawing background; Auto fills take it
};

// Draws one laid-out node at its absolute position `at`: outline rings and
// fill, caption, the connector to its parent, link indicator and marker. An
// Edge_Width of 0 (or less) is stored back as 1, as measuring does.
void paintNode(TCanvas& canvas, TTree_Node& node, TNode_Point at, const TPaint_Options& options);

// The connector from the node to its parent, as painting draws it; `at` and
// `parentAt` are the absolute positions of the two boxes, `ownEnd` the
// connector's end on the node's box relative to it (its ownAnchor).
void paintConnector(TCanvas& canvas, const TTree_Node& node, TNode_Point at, TNode_Point ownEnd,
                    TNode_Point parentAt);

// Colour of outline ring `ring` of a node with edge colour `edge` and width
// `width` (at least 1): each component steps toward white.
int32_t ringColor(int32_t edge, int32_t width, int32_t ring);

}  // namespace vetra
