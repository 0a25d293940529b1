#pragma once

#include <cstdint>
#include <vector>

namespace vetra {

class TForm_Main_Vetra;
class TTree_Node;

// Every node that holds a working copy of a note: in the trees of the open
// documents (the detached view roots included), in their undo records, and
// in the node clipboard.
std::vector<TTree_Node*> workCopyHolders(TForm_Main_Vetra& frame);

// The store is compacted once it passes this size and holds more than twice
// what is still referred to; tests lower it.
int64_t& contentStoreCompactionMinimum();

// Compacts the process's content store when old working copies waste too much.
void compactContentStoreIfWasteful(TForm_Main_Vetra& frame);

}  // namespace vetra
