#include "export/outline_file.h"

#include <cstdio>

#include "export/outline_formats.h"
#include "export/outline_tree.h"
#include "model/user_prompts.h"
#include "platform/file.h"
#include "platform/text_mode.h"

namespace vetra {
namespace {

bool readWholeFile(const std::string& path, std::string& bytes) {
    std::unique_ptr<TFile> file = openFile(path, TOpen_Mode::ReadOnly);
    if (!file) return false;
    int64_t size = file->size();
    if (size < 0 || size > kOutline_Max_File_Bytes) return false;
    bytes.resize(static_cast<size_t>(size));
    return size == 0 || file->read(bytes.data(), size) == size;
}

std::string baseNameWithoutExtension(const std::string& path) {
    size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

}  // namespace

void reportLostCharacters(TUser_Messages& messages, int replaced) {
    if (replaced <= 0) return;
    std::string text(kLost_Characters);
    text.replace(text.find("%d"), 2, "%s");
    messages.warning(text, std::to_string(replaced));
}

TImported_Outline importOutlineFile(const std::string& path, int32_t defaultColor,
                                    TContent_Store* store) {
    TImported_Outline result;
    TOutline_Format format;
    if (!outlineFormatOfFile(path, format)) {
        result.Error = TOutline_Import_Error::Unknown_Format;
        return result;
    }
    std::string bytes;
    if (!readWholeFile(path, bytes)) {
        result.Error = TOutline_Import_Error::Cannot_Read;
        return result;
    }
    TOutline outline;
    std::string title;
    if (!readOutline(format, bytes, activeTextMode(), outline, &title) || outline.empty()) {
        result.Error = TOutline_Import_Error::Damaged;
        return result;
    }
    bytes = std::string();
    std::string rootCaption(trimmed(title));
    if (rootCaption.empty()) rootCaption = baseNameWithoutExtension(path);
    result.Root = treeFromOutline(nodesFromOutline(outline, defaultColor, store), rootCaption,
                                  defaultColor, result.Replaced);
    return result;
}

bool exportOutlineFile(TTree_Node& root, TTree_Doc& doc, const std::string& path) {
    TOutline_Format format;
    if (!outlineFormatOfFile(path, format)) return false;
    TOutline outline = outlineFromTree(root, doc, format != TOutline_Format::Text);
    std::string text;
    writeOutline(format, outline, outline.front().Caption, text);
    // Written beside the target and renamed over it once complete, so a
    // failed write leaves any old file as it was.
    const std::string partial = path + ".part~";
    std::unique_ptr<TFile> file = openFile(partial, TOpen_Mode::Create);
    if (!file) return false;
    bool written = file->write(text.data(), static_cast<int64_t>(text.size())) && file->flush();
    file.reset();
    if (!written || std::rename(partial.c_str(), path.c_str()) != 0) {
        std::remove(partial.c_str());
        return false;
    }
    return true;
}

}  // namespace vetra
