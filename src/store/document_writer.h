#pragma once

#include <vector>

#include "model/tree_node.h"
#include "platform/file.h"
#include "store/content_store.h"

namespace vetra {

// Writes a whole document into an open file, empty or an older version of
// the same document, in place:
//   1. the file is extended with zero bytes to the index bound of the tree;
//   2. notes pass, pre-order: a changed note (Content_Dirty) is read from the
//      content store, compressed when it is over 512 bytes and zlib shrinks
//      it, and written over its old bytes when they lie behind the index room
//      and are at least as long as the note, else appended; an unchanged note
//      that lies inside the index room is moved to the end of the file;
//   3. the index (the root's record with every node nested) is written at
//      offset 0, with `viewRoots` flagged, and the file is flushed.
// Every seek, read, write and flush is checked. A node's note fields change
// only once its note is safely written, so after a failure the tree still
// describes the file and the same call can be made again.
//
// A changed note without a working copy (Work_Size 0) has nothing new to
// write: the node keeps its stored note.
bool writeDocument(TFile& file, TTree_Node& root, const std::vector<const TTree_Node*>& viewRoots,
                   TContent_Store* store);

// Steps 1 and 2 alone, for a caller that writes the index itself (and may
// pass the index bound it has computed already).
bool writeNotes(TFile& file, TTree_Node& root, TContent_Store* store, int64_t bound = -1);

// Writes `count` zero bytes at `offset`.
bool writeZeros(TFile& file, int64_t offset, int64_t count);

}  // namespace vetra
