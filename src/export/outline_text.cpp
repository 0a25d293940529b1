// Indented plain text, the file decoding shared with Markdown, and the
// format dispatch.
#include <algorithm>
#include <cctype>

#include "export/outline_formats.h"
#include "platform/text_codec.h"

namespace vetra {
namespace {

constexpr int kTab_Columns = 4;

bool isValidUtf8(std::string_view bytes) {
    size_t i = 0;
    while (i < bytes.size()) {
        auto lead = static_cast<unsigned char>(bytes[i]);
        size_t length = lead < 0x80                    ? 1
                        : lead >= 0xC2 && lead <= 0xDF ? 2
                        : lead >= 0xE0 && lead <= 0xEF ? 3
                        : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                       : 0;
        if (length == 0 || i + length > bytes.size()) return false;
        for (size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}

// How many double-byte pairs fall where the common characters of the code
// page lie: GB2312's hanzi rows for GBK, Big5's frequent block for Big5.
// Text in one code page read as the other scores visibly lower.
int commonPairScore(std::string_view bytes, int mode) {
    int score = 0;
    for (size_t i = 0; i + 1 < bytes.size(); ++i) {
        auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x81) continue;
        auto trail = static_cast<unsigned char>(bytes[i + 1]);
        if (mode == kTextModeSimplified)
            score += lead >= 0xB0 && lead <= 0xF7 && trail >= 0xA1 && trail <= 0xFE;
        else
            score += lead >= 0xA4 && lead <= 0xC6 &&
                     ((trail >= 0x40 && trail <= 0x7E) || (trail >= 0xA1 && trail <= 0xFE));
        ++i;
    }
    return score;
}

// Columns of leading blanks, and the rest of the line.
int64_t indentationOf(std::string_view& line) {
    int64_t columns = 0;
    size_t i = 0;
    for (; i < line.size() && (line[i] == ' ' || line[i] == '\t'); ++i)
        columns = line[i] == '\t' ? (columns / kTab_Columns + 1) * kTab_Columns : columns + 1;
    line.remove_prefix(i);
    return columns;
}

}  // namespace

std::string_view trimmed(std::string_view text) {
    const char* blanks = " \t\r\n";
    size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

size_t listMarkerLength(std::string_view text) {
    if (text.empty()) return 0;
    size_t end = 0;
    if (text[0] == '-' || text[0] == '*' || text[0] == '+') {
        end = 1;
    } else {
        while (end < text.size() && end < 9 && std::isdigit(static_cast<unsigned char>(text[end])))
            ++end;
        if (end == 0 || end >= text.size() || (text[end] != '.' && text[end] != ')')) return 0;
        ++end;
    }
    if (end == text.size()) return 0;
    if (text[end] != ' ' && text[end] != '\t') return 0;
    return end + 1;
}

std::string decodeTextFile(std::string_view bytes, int activeMode) {
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    if (isValidUtf8(bytes)) return std::string(bytes);
    const int other =
        activeMode == kTextModeTraditional ? kTextModeSimplified : kTextModeTraditional;
    TConverted_Text mine = codePageToUtf8(bytes, activeMode);
    TConverted_Text theirs = codePageToUtf8(bytes, other);
    bool otherWins = theirs.replaced < mine.replaced ||
                     (theirs.replaced == mine.replaced &&
                      commonPairScore(bytes, other) > commonPairScore(bytes, activeMode));
    return otherWins ? std::move(theirs.text) : std::move(mine.text);
}

bool readIndentedText(std::string_view utf8, TOutline& outline) {
    TLevel_Stack levels;
    size_t start = 0;
    while (start < utf8.size()) {
        size_t end = utf8.find('\n', start);
        if (end == std::string_view::npos) end = utf8.size();
        std::string_view line = utf8.substr(start, end - start);
        start = end + 1;
        int64_t columns = indentationOf(line);
        line = trimmed(line);
        if (line.empty()) continue;
        if (outline.size() >= kOutline_Max_Items) return false;
        line.remove_prefix(listMarkerLength(line));
        TOutline_Item item;
        item.Level = levels.levelFor(columns);
        item.Caption = trimmed(line);
        outline.push_back(std::move(item));
    }
    return true;
}

void writeIndentedText(const TOutline& outline, std::string& out) {
    for (const TOutline_Item& item : outline) {
        out.append(static_cast<size_t>(item.Level), '\t');
        std::string caption = item.Caption;
        std::replace(caption.begin(), caption.end(), '\n', ' ');
        std::replace(caption.begin(), caption.end(), '\r', ' ');
        if (listMarkerLength(caption) > 0 || trimmed(caption) != caption || caption.empty())
            out += "- ";
        out += caption;
        out += '\n';
    }
}

bool readOutline(TOutline_Format format, std::string_view bytes, int activeMode, TOutline& outline,
                 std::string* title) {
    if (static_cast<int64_t>(bytes.size()) > kOutline_Max_File_Bytes) return false;
    switch (format) {
        case TOutline_Format::Text:
            return readIndentedText(decodeTextFile(bytes, activeMode), outline);
        case TOutline_Format::Markdown:
            return readMarkdown(decodeTextFile(bytes, activeMode), outline);
        case TOutline_Format::Opml:
            return readOpml(bytes, outline, title);
        case TOutline_Format::Mind_Map:
            return readMindMap(bytes, outline);
    }
    return false;
}

void writeOutline(TOutline_Format format, const TOutline& outline, std::string_view title,
                  std::string& out) {
    switch (format) {
        case TOutline_Format::Text:
            return writeIndentedText(outline, out);
        case TOutline_Format::Markdown:
            return writeMarkdown(outline, out);
        case TOutline_Format::Opml:
            return writeOpml(outline, title, out);
        case TOutline_Format::Mind_Map:
            return writeMindMap(outline, out);
    }
}

bool outlineFormatOfFile(std::string_view fileName, TOutline_Format& format) {
    size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos) return false;
    std::string extension(fileName.substr(dot + 1));
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    static const struct {
        const char* extension;
        TOutline_Format format;
    } kExtensions[] = {
        {"txt", TOutline_Format::Text},    {"text", TOutline_Format::Text},
        {"md", TOutline_Format::Markdown}, {"markdown", TOutline_Format::Markdown},
        {"opml", TOutline_Format::Opml},   {"mm", TOutline_Format::Mind_Map},
    };
    for (const auto& known : kExtensions)
        if (extension == known.extension) {
            format = known.format;
            return true;
        }
    return false;
}

}  // namespace vetra
