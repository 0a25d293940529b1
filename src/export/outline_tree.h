#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "export/outline_item.h"
#include "model/tree_node.h"

namespace vetra {

class TContent_Store;
class TTree_Doc;

// Nodes made from an outline: captions and links in the active code page,
// notes as RTF working copies in `store` (marked to be written at the next
// save; none when `store` is null), folded entries collapsed, colours kept.
struct TOutline_Nodes {
    std::vector<std::unique_ptr<TTree_Node>> Subtrees;  // one per top entry
    // Characters the active code page could not hold, each now "?".
    int Replaced = 0;
};
TOutline_Nodes nodesFromOutline(const TOutline& outline, int32_t defaultColor,
                                TContent_Store* store);

// The whole outline as one tree: its single top entry, or a root captioned
// `rootCaption` (UTF-8) above several. Null for an empty outline.
std::unique_ptr<TTree_Node> treeFromOutline(TOutline_Nodes nodes, std::string_view rootCaption,
                                            int32_t defaultColor, int& replaced);

// The subtree at `root` as an outline, notes as plain text (read through
// `doc`, which loads stored notes into the content store) unless the
// format has no place for them.
TOutline outlineFromTree(TTree_Node& root, TTree_Doc& doc, bool withNotes = true);

}  // namespace vetra
