// vetra --import IN OUT.vt and vetra --export-outline FILE OUT: outlines of
// other programs in and out without a display.

#include <cstdio>
#include <vector>

#include "app/commands.h"
#include "app/terminal_messages.h"
#include "export/outline_file.h"
#include "export/outline_item.h"
#include "store/tree_doc.h"

namespace vetra {
namespace {

// The colour the palette gives new nodes until the user picks another.
constexpr int32_t kDefault_Node_Color = 0xCE8AEF;

}  // namespace

int runImport(const std::string& input, const std::string& output) {
    TTerminal_Messages messages;
    TImported_Outline imported = importOutlineFile(input, kDefault_Node_Color, contentStore());
    if (!imported.Root) {
        messages.warning(kImport_Failed, input);
        return 1;
    }
    reportLostCharacters(messages, imported.Replaced);
    TTree_Doc doc(messages);
    doc.Root = std::move(imported.Root);
    doc.Modified = 1;
    return doc.saveAs(output, {doc.root()}) ? 0 : 1;
}

int runExportOutline(const std::string& input, const std::string& output) {
    TTerminal_Messages messages;
    TOutline_Format format;
    if (!outlineFormatOfFile(output, format)) {
        std::fprintf(stderr, "vetra: %s: not .txt, .md, .opml or .mm\n", output.c_str());
        return 2;
    }
    TTree_Doc doc(messages);
    std::vector<TTree_Node*> viewRoots;
    TRead_Error error = TRead_Error::None;
    if (!doc.open(input, viewRoots, error)) {
        messages.warning("無法打開文件 %s", input);
        return 1;
    }
    if (!exportOutlineFile(*doc.root(), doc, output)) {
        messages.warning("無法保存文件 %s", output);
        return 1;
    }
    return 0;
}

}  // namespace vetra
