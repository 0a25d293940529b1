// Markdown outlines: headings and nested lists, paragraphs as notes.
#include "export/outline_formats.h"

namespace vetra {
namespace {

// List items nest below every heading level.
constexpr int64_t kList_Key_Base = 100;
constexpr std::string_view kEscapable = "\\#-*+[]()`>";

int headingLevel(std::string_view line) {
    int hashes = 0;
    while (hashes < static_cast<int>(line.size()) && line[hashes] == '#') ++hashes;
    if (hashes < 1 || hashes > 6) return 0;
    if (static_cast<size_t>(hashes) < line.size() && line[hashes] != ' ' && line[hashes] != '\t')
        return 0;
    return hashes;
}

// "\x" gives x for the characters a writer escapes.
std::string unescaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() &&
            kEscapable.find(text[i + 1]) != std::string_view::npos)
            ++i;
        out += text[i];
    }
    return out;
}

// "[caption](address)" or "[caption](<address>)" as a whole becomes both.
void setCaptionAndLink(std::string_view text, TOutline_Item& item) {
    if (text.size() >= 4 && text.front() == '[' && text.back() == ')') {
        size_t close = std::string_view::npos;
        for (size_t i = 1; i < text.size(); ++i) {
            if (text[i] == '\\') {
                ++i;
                continue;
            }
            if (text[i] == ']') {
                close = i;
                break;
            }
        }
        if (close != std::string_view::npos && close + 1 < text.size() && text[close + 1] == '(') {
            std::string_view address = text.substr(close + 2, text.size() - close - 3);
            if (address.size() >= 2 && address.front() == '<' && address.back() == '>')
                address = address.substr(1, address.size() - 2);
            item.Caption = unescaped(text.substr(1, close - 1));
            item.Link = address;
            return;
        }
    }
    item.Caption = unescaped(text);
}

std::string escapedCaption(std::string_view caption, bool inLink) {
    std::string out;
    for (size_t i = 0; i < caption.size(); ++i) {
        char c = caption[i];
        if (c == '\n' || c == '\r') c = ' ';
        bool escape = c == '\\' || (inLink && (c == '[' || c == ']')) ||
                      (i == 0 && !inLink && (c == '[' || c == '#'));
        if (escape) out += '\\';
        out += c;
    }
    return out;
}

// A note line that would read as a heading, an item or a fence is escaped
// with a backslash in front.
bool needsNoteEscape(std::string_view line) {
    return headingLevel(line) > 0 || listMarkerLength(line) > 0 || line.front() == '\\' ||
           line.front() == '`';
}

void appendNoteLine(std::string_view line, std::string_view indent, std::string& out) {
    line = trimmed(line);
    if (line.empty()) {
        out += '\n';
        return;
    }
    out += indent;
    if (needsNoteEscape(line)) out += '\\';
    out += line;
    out += '\n';
}

}  // namespace

bool readMarkdown(std::string_view utf8, TOutline& outline) {
    TLevel_Stack levels;
    size_t start = 0;
    size_t pendingBlankLines = 0;
    bool inFence = false;
    while (start < utf8.size()) {
        size_t end = utf8.find('\n', start);
        if (end == std::string_view::npos) end = utf8.size();
        std::string_view line = utf8.substr(start, end - start);
        start = end + 1;
        std::string_view text = trimmed(line);
        if (text.starts_with("```")) inFence = !inFence;
        if (text.empty()) {
            ++pendingBlankLines;
            continue;
        }
        int heading = inFence ? 0 : headingLevel(text);
        size_t marker = inFence || heading > 0 ? 0 : listMarkerLength(text);
        if (heading > 0 || marker > 0) {
            if (outline.size() >= kOutline_Max_Items) return false;
            int64_t columns = 0;
            for (char c : line.substr(0, line.find_first_not_of(" \t")))
                columns = c == '\t' ? (columns / 4 + 1) * 4 : columns + 1;
            TOutline_Item item;
            item.Level = levels.levelFor(heading > 0 ? heading : kList_Key_Base + columns);
            setCaptionAndLink(trimmed(text.substr(heading > 0 ? heading : marker)), item);
            outline.push_back(std::move(item));
            pendingBlankLines = 0;
            continue;
        }
        if (outline.empty()) {
            // Text before the first heading or item opens the outline.
            TOutline_Item item;
            item.Caption = unescaped(text);
            outline.push_back(std::move(item));
            levels.levelFor(0);
            pendingBlankLines = 0;
            continue;
        }
        std::string& note = outline.back().Note;
        if (!note.empty()) note.append(pendingBlankLines + 1, '\n');
        if (text.size() > 1 && text[0] == '\\' && needsNoteEscape(text.substr(1)))
            text.remove_prefix(1);
        note += text;
        pendingBlankLines = 0;
    }
    return true;
}

void writeMarkdown(const TOutline& outline, std::string& out) {
    for (const TOutline_Item& item : outline) {
        std::string indent;
        if (item.Level == 0) {
            if (!out.empty()) out += '\n';
            out += "# ";
        } else {
            indent.assign(static_cast<size_t>(item.Level - 1) * 2, ' ');
            out += indent;
            out += "- ";
            indent += "  ";
        }
        if (item.Link.empty()) {
            out += escapedCaption(item.Caption, false);
        } else {
            out += '[';
            out += escapedCaption(item.Caption, true);
            out += "](<";
            out += item.Link;
            out += ">)";
        }
        out += '\n';
        if (item.Note.empty()) continue;
        if (item.Level == 0) out += '\n';
        size_t start = 0;
        while (start <= item.Note.size()) {
            size_t end = item.Note.find('\n', start);
            if (end == std::string::npos) end = item.Note.size();
            appendNoteLine(std::string_view(item.Note).substr(start, end - start), indent, out);
            start = end + 1;
        }
        out += '\n';
    }
}

}  // namespace vetra
