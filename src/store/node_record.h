#pragma once

#include <cstdint>
#include <vector>

#include "model/tree_node.h"
#include "platform/file.h"

namespace vetra {

enum class TRead_Error {
    None,
    NotADocument,  // wrong magic: the reader says nothing to the user
    NewerVersion,  // "該文件需要更高版本的軟件打開"
    Damaged,       // bad length, cut short, or a child count the file cannot hold
    CannotRead,    // the file system failed
};

// Reads the node record at the file's position into `root` (freshly
// constructed) and its whole subtree; nodes flagged as view roots are appended
// to `viewRoots` in file order. Captions and excerpts are converted to the
// active text mode. On success the file is positioned behind the subtree. On
// failure the tree is partly filled and the caller discards it.
bool readNodeTree(TFile& file, TTree_Node& root, std::vector<TTree_Node*>& viewRoots,
                  TRead_Error& error);

// Writes the record of `root` and its subtree at the file's position, in the
// active text mode; nodes in `viewRoots` get the view-root flag. Fails on the
// first write that fails and then writes nothing more.
bool writeNodeTree(TFile& file, const TTree_Node& root,
                   const std::vector<const TTree_Node*>& viewRoots);

// Bytes reserved for the index of the subtree: never less than its records.
int64_t indexBound(const TTree_Node& root);

}  // namespace vetra
