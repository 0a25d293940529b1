#pragma once

#include <string>

#include "export/html_page.h"
#include "model/tree_node.h"

namespace vetra {

// The plain text of a note (RTF or plain), lines joined by CR LF.
std::string notePlainText(std::string_view note);

// The image-map page for the laid-out view of `root`, whose block is placed
// where the picture `imageName` has it: every visible node below the root
// becomes an area over its caption with the node's note (or caption) as its
// tooltip and its link, when it is a safe one, as its address.
std::string htmlMapText(TTree_Node& root, TNote_Reader& notes, const std::string& imageName);
bool writeHtmlMap(TTree_Node& root, TNote_Reader& notes, const std::string& path,
                  const std::string& imageName);

}  // namespace vetra
