// vetra --save-as IN OUT and vetra --export-node IN PATH OUT: a document is
// opened as the editor opens it, then saved under another name or one of its
// subtrees written as a document of its own.

#include <cstdio>
#include <string>
#include <vector>

#include "app/commands.h"
#include "app/document_open.h"
#include "app/terminal_messages.h"
#include "store/tree_doc.h"

namespace vetra {

// Opens the document and sets up its views as the window does: the main view
// on the root, then a view for each stored sub-view root, expanded 4 levels.
bool openAsEditor(TTree_Doc& doc, const std::string& path,
                  std::vector<const TTree_Node*>& viewRoots) {
    std::vector<TTree_Node*> stored;
    TRead_Error error = TRead_Error::None;
    if (!doc.open(path, stored, error)) {
        std::fprintf(stderr, "%s\n", terminalMessage("無法打開文件 %s", path).c_str());
        return false;
    }
    viewRoots = {doc.root()};
    for (TTree_Node* root : stored) {
        root->Expanded = 1;
        if (root == doc.root()) continue;
        root->expandToLevel(4);
        viewRoots.push_back(root);
    }
    return true;
}

// The node at "r" or "r.i.j...", or none when the path leads nowhere.
TTree_Node* findNodeByPath(TTree_Node& root, std::string_view path) {
    if (path.empty() || path.front() != 'r') return nullptr;
    TTree_Node* node = &root;
    path.remove_prefix(1);
    while (!path.empty()) {
        if (path.front() != '.' || path.size() < 2) return nullptr;
        path.remove_prefix(1);
        int64_t index = 0;
        size_t digits = 0;
        while (digits < path.size() && path[digits] >= '0' && path[digits] <= '9') {
            index = index * 10 + (path[digits] - '0');
            if (index > node->childCount()) return nullptr;
            ++digits;
        }
        if (digits == 0 || index >= node->childCount()) return nullptr;
        node = node->child(static_cast<int32_t>(index));
        path.remove_prefix(digits);
    }
    return node;
}

int runSaveAs(const std::string& input, const std::string& output) {
    TTerminal_Messages messages;
    TTree_Doc doc(messages);
    std::vector<const TTree_Node*> viewRoots;
    if (!openAsEditor(doc, input, viewRoots)) return 1;
    return doc.saveAs(output, viewRoots) ? 0 : 1;
}

int runExportNode(const std::string& input, const std::string& nodePath,
                  const std::string& output) {
    TTerminal_Messages messages;
    TTree_Doc doc(messages);
    std::vector<const TTree_Node*> viewRoots;
    if (!openAsEditor(doc, input, viewRoots)) return 1;
    TTree_Node* node = findNodeByPath(*doc.root(), nodePath);
    if (node == nullptr) {
        std::fprintf(stderr, "%s\n", terminalMessage("節點路徑無效 %s", nodePath).c_str());
        return 1;
    }
    return doc.exportSubtreeTo(*node, output) ? 0 : 1;
}

}  // namespace vetra
