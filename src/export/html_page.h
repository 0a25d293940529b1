#pragma once

#include <ctime>
#include <string>

#include "model/tree_node.h"
#include "platform/file.h"
#include "store/content_store.h"

namespace vetra {

// Reads the notes of the nodes being exported: the working copy, after
// loading the stored note into the content store when it has none yet.
class TNote_Reader {
  public:
    TNote_Reader(TFile* documentFile, TContent_Store* store)
        : Document_File_(documentFile), Store_(store) {}
    // The note's text; empty when the node has none or it cannot be read.
    std::string read(TTree_Node& node);

  private:
    TFile* Document_File_;
    TContent_Store* Store_;
};

// Writes `content` to `path`, each line feed as carriage return and line
// feed. False when the file cannot be created or written.
bool writeTextFile(const std::string& path, const std::string& content);

// The whole tree under `root` as one HTML page: each node a heading with its
// anchor, its note converted to HTML, its children in nested lists. Note
// pictures are written beside the page, named after the page's file name.
bool writeHtmlPage(TTree_Node& root, TNote_Reader& notes, const std::string& path);

// The page's text, for tests and the site export. `baseName` names the note
// pictures, written into `directory`.
std::string htmlPageText(TTree_Node& root, TNote_Reader& notes, const std::string& directory,
                         const std::string& baseName);

// The site: a frameset at `path`, a main index of the first-level nodes, a
// sub-index of every node below the root and the document page, named after
// `path` without its extension. `now` gives the frame names. False when the
// frameset page cannot be created (nothing is written then).
bool writeHtmlSite(TTree_Node& root, TNote_Reader& notes, const std::string& path, std::time_t now);

}  // namespace vetra
