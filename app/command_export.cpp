#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "app/commands.h"
#include "export/html_page.h"
#include "layout/view_paint.h"
#include "platform/file.h"
#include "store/node_record.h"
#include "store/read_error_text.h"
#include "ui/picture_export.h"
#include "ui/qpainter_canvas.h"

namespace vetra {
namespace {

// A document read for an export, its file kept open for the notes.
struct TExport_Document {
    std::unique_ptr<TFile> file;
    std::unique_ptr<TTree_Node> root;
};

bool readExportDocument(const std::string& path, TExport_Document& document) {
    document.file = openFile(path, TOpen_Mode::ReadOnly);
    if (!document.file) {
        std::fprintf(stderr, "%s\n", terminalMessage("無法打開文件 %s", path).c_str());
        return false;
    }
    document.root = std::make_unique<TTree_Node>();
    std::vector<TTree_Node*> viewRoots;
    TRead_Error error = TRead_Error::None;
    if (!readNodeTree(*document.file, *document.root, viewRoots, error)) {
        std::string_view text = readErrorText(error);
        if (text.empty()) text = "不是樹文檔 %s";
        std::fprintf(stderr, "%s\n", terminalMessage(text, path).c_str());
        return false;
    }
    return true;
}

int reportFailure(std::string_view text, const std::string& path) {
    std::fprintf(stderr, "%s\n", terminalMessage(text, path).c_str());
    return 1;
}

}  // namespace

int runExport(TExport_Kind kind, const std::string& path, const std::string& outPath) {
    TExport_Document document;
    if (!readExportDocument(path, document)) return 1;
    TContent_Store* store = contentStore();
    TNote_Reader notes(document.file.get(), store);
    TTree_Node& root = *document.root;
    if (kind == TExport_Kind::Html || kind == TExport_Kind::Site) {
        const bool written = kind == TExport_Kind::Html
                                 ? writeHtmlPage(root, notes, outPath)
                                 : writeHtmlSite(root, notes, outPath, std::time(nullptr));
        return written ? 0 : reportFailure("無法創建文件 %s", outPath);
    }
    // The main view as the editor lays it out: the root expanded, the other
    // nodes as stored.
    root.Expanded = 1;
    TQPainter_Canvas metrics;
    TView_Picture picture;
    relayoutView(metrics, root, 0, 0, picture);
    const TPicture_Error error =
        kind == TExport_Kind::Picture
            ? exportPicture(root, outPath, pictureTypeOf(outPath), TPaint_Options{})
            : exportMapPage(root, notes, outPath, TPaint_Options{});
    if (error != TPicture_Error::None) return reportFailure(pictureErrorText(error), outPath);
    return 0;
}

}  // namespace vetra
