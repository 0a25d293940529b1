#pragma once

#include <vector>

#include "model/tree_node.h"
#include "store/content_store.h"
#include "store/save_journal.h"

namespace vetra {

// Saves a document in place as writeDocument does, behind a rollback
// journal: the bytes the save will overwrite are journaled and synced first,
// the document is written and synced, then the journal is deleted. Of the
// index only the parts that changed are journaled and written, so a small
// change makes a small save. A write the journal does not cover is refused. After a failure the
// document is put back as it was (or, when even that fails, the journal stays for the next open)
// and every node's note fields are as they were before the call.
bool writeDocumentJournaled(TFile& file, const std::string& path, const TJournal_Opener& open,
                            TTree_Node& root, const std::vector<const TTree_Node*>& viewRoots,
                            TContent_Store* store);

// Writes the document into a new file that no one reads yet, so nothing
// needs a journal; after a failure every node's note fields are as they were.
bool writeDocumentToNewFile(TFile& file, TTree_Node& root,
                            const std::vector<const TTree_Node*>& viewRoots, TContent_Store* store);

// The first node (pre-order) with more children than a file can hold, or null.
const TTree_Node* nodeWithTooManyChildren(const TTree_Node& root);

}  // namespace vetra
