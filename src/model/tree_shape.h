#pragma once

#include <cstdint>

namespace vetra {

// How many times the shape of any tree in the program has changed: a child
// added or removed, or a node's children destroyed. A figure that follows
// the shape alone (the node count in the status bar) is counted again only
// when this has moved since, never on a selection move or a caption edit.
uint64_t treeShapeChanges();

}  // namespace vetra
