#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "store/tree_doc.h"

namespace vetra {

// Opens the document and sets up its views as the window does: the main view
// on the root, then a view for each stored sub-view root, expanded 4 levels.
// On failure prints "無法打開文件 %s" to standard error.
bool openAsEditor(TTree_Doc& doc, const std::string& path,
                  std::vector<const TTree_Node*>& viewRoots);

// The node at "r" or "r.i.j..." (child indexes from the root), or none when
// the path leads nowhere.
TTree_Node* findNodeByPath(TTree_Node& root, std::string_view path);

}  // namespace vetra
