#include "ui/content_store_upkeep.h"

#include <unordered_set>

#include "model/node_clipboard.h"
#include "store/content_store.h"
#include "ui/document_window.h"
#include "ui/main_frame.h"

namespace vetra {
namespace {

// Adds the subtree's holders; no recursion, each node once.
void collectHolders(TTree_Node* root, std::unordered_set<TTree_Node*>& seen,
                    std::vector<TTree_Node*>& holders) {
    if (root == nullptr) return;
    std::vector<TTree_Node*> pending{root};
    while (!pending.empty()) {
        TTree_Node* node = pending.back();
        pending.pop_back();
        if (!seen.insert(node).second) continue;
        if (node->Work_Size > 0) holders.push_back(node);
        for (int32_t i = 0; i < node->childCount(); ++i) pending.push_back(node->child(i));
    }
}

}  // namespace

std::vector<TTree_Node*> workCopyHolders(TForm_Main_Vetra& frame) {
    std::unordered_set<TTree_Node*> seen;
    std::vector<TTree_Node*> holders;
    for (QWidget* widget : frame.documentWindows()) {
        auto* window = qobject_cast<TForm_Qo_Tree*>(widget);
        if (window == nullptr) continue;
        TTree_Doc& doc = window->document();
        collectHolders(doc.root(), seen, holders);
        collectHolders(window->currentRoot(), seen, holders);
        for (int32_t i = 0; i < window->views().count(); ++i)
            collectHolders(window->views().view(i)->Root, seen, holders);
        for (int32_t g = 0; g < doc.Undo.count(); ++g) {
            TUndo_Group& group = doc.Undo.group(g);
            for (int32_t r = 0; r < group.count(); ++r) {
                collectHolders(group.record(r).Copy.get(), seen, holders);
                collectHolders(group.record(r).Owned.get(), seen, holders);
            }
        }
    }
    TNode_Clipboard& clipboard = nodeClipboard();
    for (int32_t i = 0; i < clipboard.count(); ++i)
        collectHolders(&clipboard.subtree(i), seen, holders);
    return holders;
}

int64_t& contentStoreCompactionMinimum() {
    static int64_t minimum = int64_t{16} << 20;
    return minimum;
}

void compactContentStoreIfWasteful(TForm_Main_Vetra& frame) {
    TContent_Store* store = contentStore();
    if (store == nullptr) return;
    std::vector<TTree_Node*> holders = workCopyHolders(frame);
    if (storeNeedsCompaction(*store, holders, contentStoreCompactionMinimum()))
        store->compact(holders);
}

}  // namespace vetra
