#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "export/outline_item.h"
#include "model/tree_node.h"

namespace vetra {

class TContent_Store;
class TTree_Doc;
class TUser_Messages;

// What the user is told when a file does not import, and when characters
// were lost on the way in (the caption editor's words).
inline constexpr std::string_view kImport_Failed = "無法導入文件 %s";
inline constexpr std::string_view kLost_Characters =
    "標題中有 %d 個字符無法以當前編碼保存，已換成“?”";

// Tells the user once how many characters were replaced; nothing for 0.
void reportLostCharacters(TUser_Messages& messages, int replaced);

// A tree read from an outline file of any of the formats, or why not.
enum class TOutline_Import_Error { None, Cannot_Read, Unknown_Format, Damaged };

struct TImported_Outline {
    std::unique_ptr<TTree_Node> Root;
    TOutline_Import_Error Error = TOutline_Import_Error::None;
    // Characters the active code page could not hold ("?" now).
    int Replaced = 0;
};

// Reads `path` (format by extension) into a new tree whose notes are
// working copies in `store`. A file that several top entries share gets
// a root captioned with the file's title, else its name without extension.
TImported_Outline importOutlineFile(const std::string& path, int32_t defaultColor,
                                    TContent_Store* store);

// Writes the subtree at `root` to `path` in the format its extension names.
// False when the extension is unknown or the file cannot be written whole.
bool exportOutlineFile(TTree_Node& root, TTree_Doc& doc, const std::string& path);

}  // namespace vetra
