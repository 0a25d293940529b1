#include "export/html_text.h"

#include <cctype>

#include "export/code_page.h"
#include "export/markup_escape.h"

namespace vetra {

namespace {

bool isLead(char c) {
    return static_cast<unsigned char>(c) >= 0x80;
}

// Copies code-page text into a page: the markup characters and both quotes
// as entities, NULs dropped, a double-byte character copied whole. With
// `asNote`, spaces, tabs and line breaks are written so the browser lays the
// note out as the note window shows it.
void appendHtml(std::string& out, std::string_view text, bool asNote) {
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\0' || appendMarkupEntity(c, TQuote_Escape::Both, out)) continue;
        if (asNote && c == ' ') {
            out += "&nbsp;";
        } else if (asNote && c == '\t') {
            out += "&nbsp;&nbsp;&nbsp;&nbsp;";
        } else if (asNote && (c == '\n' || c == '\r')) {
            out += "<br>\n";
            if (i + 1 < text.size() && text[i + 1] == (c == '\n' ? '\r' : '\n')) ++i;
        } else {
            out.push_back(c);
            if (isLead(c) && i + 1 < text.size()) out.push_back(text[++i]);
        }
    }
}

}  // namespace

void appendNoteHtml(std::string& out, std::string_view text) {
    appendHtml(out, text, true);
}

void appendEscaped(std::string& out, std::string_view text) {
    appendHtml(out, text, false);
}

std::string escaped(std::string_view text) {
    std::string out;
    appendEscaped(out, text);
    return out;
}

bool isSafeLink(std::string_view link) {
    // Browsers drop control characters and spaces inside a scheme, so they
    // are dropped here too before the scheme is compared.
    std::string scheme;
    for (char c : link) {
        if (static_cast<unsigned char>(c) <= ' ') continue;
        if (c == ':') break;
        if (c == '/' || c == '\\' || c == '?' || c == '#') return true;
        scheme.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
        if (scheme.size() > 16) return true;
    }
    return scheme != "javascript" && scheme != "vbscript" && scheme != "data";
}

std::string fileAddress(std::string_view fileName) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char c : fileName) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '-' || c == '_' || c == '.' || c == '~') {
            out.push_back(c);
        } else {
            out.push_back('%');
            out.push_back(kHex[byte >> 4]);
            out.push_back(kHex[byte & 15]);
        }
    }
    return out;
}

std::string_view fileNamePart(std::string_view path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view directoryPart(std::string_view path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1);
}

std::string withoutExtension(std::string_view path) {
    const size_t nameStart = path.size() - fileNamePart(path).size();
    const size_t dot = path.find_last_of('.');
    if (dot == std::string_view::npos || dot < nameStart) return std::string(path);
    return std::string(path.substr(0, dot));
}

std::string childMark(std::string_view parent, int32_t index) {
    const bool wide = parent.find('_') != std::string_view::npos || index >= 100 || index < 1;
    if (wide) return std::string(parent) + "_" + std::to_string(index);
    if (parent == "0") return std::to_string(index);
    std::string mark(parent);
    mark.push_back(static_cast<char>('0' + index / 10));
    mark.push_back(static_cast<char>('0' + index % 10));
    return mark;
}

std::string charsetMeta() {
    return std::string("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=") +
           htmlCharsetName(systemCodePage()) + "\">\n";
}

}  // namespace vetra
