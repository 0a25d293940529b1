#pragma once

#include <memory>
#include <string>

#include "layout/canvas.h"
#include "layout/view_paint.h"
#include "model/tree_node.h"

namespace vetra {

// A document read for a command-line command, with its main view laid out
// as the editor lays it out with no visible area.
struct TView_Document {
    std::unique_ptr<TTree_Node> root;
    TView_Picture picture;
};

// Reads the document; on failure prints the reason to stderr and returns null.
std::unique_ptr<TView_Document> readViewDocument(const std::string& path);

// Lays out the main view (the document root always expanded; the other
// nodes as stored) on the canvas's metrics.
void layoutMainView(TView_Document& document, TCanvas& metrics);

}  // namespace vetra
