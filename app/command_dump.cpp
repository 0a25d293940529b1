#include <cstdio>
#include <string>
#include <vector>

#include "app/commands.h"
#include "model/tree_node.h"
#include "platform/file.h"
#include "platform/text_mode.h"
#include "store/node_record.h"
#include "store/read_error_text.h"
#include "store/save_journal.h"

namespace vetra {

std::string terminalMessage(std::string_view text, const std::string& argument) {
    std::string message = programTextUtf8(text);
    size_t slot = message.find("%s");
    if (slot != std::string::npos) message.replace(slot, 2, argument);
    return message;
}

namespace {

void printOutline(const TTree_Node& root) {
    std::string out;
    struct TLine {
        const TTree_Node* node;
        int level;
    };
    std::vector<TLine> pending{{&root, 0}};
    while (!pending.empty()) {
        TLine line = pending.back();
        pending.pop_back();
        out.append(static_cast<size_t>(line.level) * 2, ' ');
        out += nodeTextToUtf8(line.node->Caption.view());
        out += '\n';
        for (int32_t i = line.node->childCount(); i-- > 0;)
            pending.push_back({line.node->child(i), line.level + 1});
        if (out.size() > 1 << 16) {
            std::fwrite(out.data(), 1, out.size(), stdout);
            out.clear();
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
}

}  // namespace

int runDump(const std::string& path) {
    auto file = openFile(path, TOpen_Mode::ReadOnly);
    if (!file) {
        std::fprintf(stderr, "%s\n", terminalMessage("無法打開文件 %s", path).c_str());
        return 1;
    }
    // A save that did not finish is undone in memory, as the editor would see it.
    std::unique_ptr<TFile> recovered;
    recoverFromJournal(path, *file, false, openFile, &recovered);
    if (recovered) file = std::move(recovered);
    TTree_Node root;
    std::vector<TTree_Node*> viewRoots;
    TRead_Error error = TRead_Error::None;
    if (!readNodeTree(*file, root, viewRoots, error)) {
        std::string_view text = readErrorText(error);
        // A file that is not a document gets no message in the editor; the
        // terminal still needs a reason for the failure.
        if (text.empty()) text = "不是樹文檔 %s";
        std::fprintf(stderr, "%s\n", terminalMessage(text, path).c_str());
        return 1;
    }
    printOutline(root);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace vetra
