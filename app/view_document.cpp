#include "app/view_document.h"

#include <cstdio>
#include <vector>

#include "app/commands.h"
#include "platform/file.h"
#include "store/node_record.h"
#include "store/read_error_text.h"

namespace vetra {

std::unique_ptr<TView_Document> readViewDocument(const std::string& path) {
    auto file = openFile(path, TOpen_Mode::ReadOnly);
    if (!file) {
        std::fprintf(stderr, "%s\n", terminalMessage("無法打開文件 %s", path).c_str());
        return nullptr;
    }
    auto document = std::make_unique<TView_Document>();
    document->root = std::make_unique<TTree_Node>();
    std::vector<TTree_Node*> viewRoots;
    TRead_Error error = TRead_Error::None;
    if (!readNodeTree(*file, *document->root, viewRoots, error)) {
        std::string_view text = readErrorText(error);
        if (text.empty()) text = "不是樹文檔 %s";
        std::fprintf(stderr, "%s\n", terminalMessage(text, path).c_str());
        return nullptr;
    }
    return document;
}

void layoutMainView(TView_Document& document, TCanvas& metrics) {
    document.root->Expanded = 1;
    relayoutView(metrics, *document.root, 0, 0, document.picture);
}

}  // namespace vetra
