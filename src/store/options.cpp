#include "store/options.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/file.h"
#include "store/file_paths.h"

namespace vetra {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

// The leading signed decimal number of the text, as the C library reads it;
// false when the text does not start with one.
bool readLeadingInt(std::string_view text, int32_t& value) {
    size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
    if (at >= text.size() || text[at] < '0' || text[at] > '9') return false;
    int64_t number = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
        number = number * 10 + (text[at++] - '0');
        if (number > int64_t{1} << 32) number = int64_t{1} << 32;
    }
    value = static_cast<int32_t>(static_cast<uint32_t>(negative ? -number : number));
    return true;
}

void appendLine(std::string& out, std::string_view key, std::string_view value) {
    out.append(key).append(" = ").append(value).append("\r\n");
}

void appendLine(std::string& out, std::string_view key, int32_t value) {
    appendLine(out, key, std::to_string(value));
}

bool makeDirectories(const std::string& path) {
    for (size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1))
        ::mkdir(path.substr(0, slash).c_str(), 0755);
    return true;
}

}  // namespace

TOptions::TOptions(int screenWidth, int screenHeight)
    : Screen_Width_(screenWidth), Screen_Height_(screenHeight) {
    Map_X = screenWidth - Map_Width - 215;
    Map_Y = screenHeight - Map_Height - 100;
    Attr_Win_X = screenWidth - 200;
    Attr_Win_Y = screenHeight - 410;
}

std::string TOptions::serialize() const {
    std::string out;
    for (int i = 0; i < kRecent_Count; ++i)
        appendLine(out, "file_" + std::to_string(i), Recent_Files[i]);
    for (int i = 0; i < kPalette_Count; ++i)
        appendLine(out, "color_" + std::to_string(i), Palette[i]);
    appendLine(out, "user_def_color", User_Def_Color);
    appendLine(out, "map_width", Map_Width);
    appendLine(out, "map_height", Map_Height);
    appendLine(out, "map_visible", Map_Visible);
    appendLine(out, "map_x", Map_X);
    appendLine(out, "map_y", Map_Y);
    appendLine(out, "map_visible", Map_Visible);
    appendLine(out, "attr_win_visible", Attr_Win_Visible);
    appendLine(out, "attr_win_x", Attr_Win_X);
    appendLine(out, "attr_win_y", Attr_Win_Y);
    appendLine(out, "tree_design_color", Tree_Design_Color);
    appendLine(out, "doc_edit_color", Doc_Edit_Color);
    appendLine(out, "doc_edit_font_color", Doc_Edit_Font_Color);
    for (int i = 0; i < 4; ++i)
        appendLine(out, "line_" + std::to_string(i + 1) + "_color", Line_Color[i]);
    return out;
}

void TOptions::parse(std::string_view text) {
    struct TInteger_Key {
        std::string_view key;
        int32_t TOptions::*field;
    };
    static const TInteger_Key kKeys[] = {
        {"tree_design_color", &TOptions::Tree_Design_Color},
        {"doc_edit_color", &TOptions::Doc_Edit_Color},
        {"doc_edit_font_color", &TOptions::Doc_Edit_Font_Color},
        {"attr_win_x", &TOptions::Attr_Win_X},
        {"attr_win_y", &TOptions::Attr_Win_Y},
        {"attr_win_visible", &TOptions::Attr_Win_Visible},
        {"map_width", &TOptions::Map_Width},
        {"map_height", &TOptions::Map_Height},
        {"map_visible", &TOptions::Map_Visible},
        {"map_x", &TOptions::Map_X},
        {"map_y", &TOptions::Map_Y},
        {"user_def_color", &TOptions::User_Def_Color},
    };
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        // Written on Windows in text mode: the CR belongs to the line break.
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        std::string_view key = trimBlanks(line.substr(0, equals));
        std::string_view value = line.substr(equals + 1);
        while (!value.empty() && isBlank(value.front())) value.remove_prefix(1);
        if (value.empty() || value.front() == '\r') continue;

        if (key.size() > 5 && key.substr(0, 4) == "line" && key[4] == '_' &&
            key.substr(6) == "_color" && key[5] >= '1' && key[5] <= '4') {
            readLeadingInt(value, Line_Color[key[5] - '1']);
            continue;
        }
        auto known = std::find_if(std::begin(kKeys), std::end(kKeys),
                                  [&](const TInteger_Key& k) { return k.key == key; });
        if (known != std::end(kKeys)) {
            readLeadingInt(value, this->*(known->field));
        } else if (key.substr(0, 5) == "file_") {
            int slot = key.size() > 5 ? key[5] - '0' : -1;
            if (slot >= 0 && slot < kRecent_Count)
                Recent_Files[slot] = std::string(value.substr(0, kSlot_Limit));
        } else if (key.substr(0, 6) == "color_") {
            int32_t index = -1;
            if (readLeadingInt(key.substr(6), index) && index >= 0 && index < kPalette_Count)
                readLeadingInt(value, Palette[index]);
        }
    }
    correctWindowPlaces();
}

void TOptions::correctWindowPlaces() {
    Map_Width = std::min(std::max(Map_Width, 50), Screen_Width_ / 4);
    Map_Height = std::min(std::max(Map_Height, 50), Screen_Height_ / 4);
    Map_X = std::min(std::max(Map_X, 0), Screen_Width_ - Map_Width);
    Map_Y = std::min(std::max(Map_Y, 0), Screen_Height_ - Map_Height);
    Attr_Win_X = std::min(std::max(Attr_Win_X, 0), Screen_Width_ - 200);
    Attr_Win_Y = std::min(std::max(Attr_Win_Y, 0), Screen_Height_ - 360);
}

bool TOptions::load(const std::string& fileName) {
    File_Name = fileName;
    auto file = openFile(fileName, TOpen_Mode::ReadOnly);
    if (!file) return false;
    int64_t size = file->size();
    // An options file is a few hundred bytes; anything huge is not ours.
    if (size < 0 || size > (1 << 20)) return false;
    std::string text(static_cast<size_t>(size), '\0');
    if (file->read(text.data(), size) != size) return false;
    parse(text);
    return true;
}

bool TOptions::save() const {
    if (File_Name.empty()) return false;
    makeDirectories(File_Name);
    // A sibling is written and synced, then renamed over the file, so a
    // crash leaves the old options or the new ones, never half of them.
    std::string target = resolvedPathOf(File_Name);
    std::string sibling = createSiblingTemp(target);
    if (sibling.empty()) return false;
    auto file = openFile(sibling, TOpen_Mode::ReadWrite);
    std::string text = serialize();
    bool written = file && file->write(text.data(), int64_t(text.size())) && file->flush();
    file.reset();
    if (written) ::chmod(sibling.c_str(), 0644);
    if (!written || ::rename(sibling.c_str(), target.c_str()) != 0) {
        std::remove(sibling.c_str());
        return false;
    }
    syncDirectoryOf(target);
    return true;
}

void TOptions::addRecentFile(const std::string& fileName) {
    if (fileName.empty()) return;
    // A name relative to this process's directory means nothing elsewhere.
    std::string absolute = absolutePathOf(fileName);
    if (absolute.size() > kSlot_Limit) return;
    for (int i = 0; i < kRecent_Count - 1; ++i)
        if (Recent_Files[i] == absolute) return;
    for (int i = kRecent_Count - 1; i > 0; --i) Recent_Files[i] = std::move(Recent_Files[i - 1]);
    std::string prefix = Program_Directory + "/";
    if (!Program_Directory.empty() && absolute.compare(0, prefix.size(), prefix) == 0)
        Recent_Files[0] = "./" + absolute.substr(prefix.size());
    else
        Recent_Files[0] = std::move(absolute);
    save();
}

std::string defaultOptionsPath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') return std::string(config) + "/vetra/qoopt.qoo";
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.config/vetra/qoopt.qoo";
}

std::string programDirectory() {
    char buffer[4096];
    ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0) return ".";
    std::string path(buffer, static_cast<size_t>(length));
    size_t slash = path.rfind('/');
    return slash == std::string::npos || slash == 0 ? "/" : path.substr(0, slash);
}

std::string resolveRecentFile(std::string_view slotText, const std::string& programDirectory) {
    if (slotText.size() < 2 || slotText[0] != '.' || (slotText[1] != '/' && slotText[1] != '\\'))
        return std::string(slotText);
    std::string rest(slotText.substr(2));
    std::replace(rest.begin(), rest.end(), '\\', '/');
    return programDirectory + "/" + rest;
}

}  // namespace vetra
