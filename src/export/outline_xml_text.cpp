#include "export/outline_xml_text.h"

#include <algorithm>

#include "export/markup_escape.h"
#include "export/outline_formats.h"

namespace vetra {
namespace {

bool isOneOf(std::string_view name, std::initializer_list<std::string_view> names) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool isBlock(std::string_view name) {
    return isOneOf(name, {"p", "div", "li", "ul", "ol", "h1", "h2", "h3", "h4", "h5", "h6", "tr",
                          "table", "pre", "blockquote", "body", "dd", "dt"});
}

bool isHidden(std::string_view name) {
    return isOneOf(name, {"head", "style", "script", "title"});
}

}  // namespace

void appendXmlEscaped(std::string_view utf8, std::string& out, bool attribute) {
    const TQuote_Escape quotes = attribute ? TQuote_Escape::Double : TQuote_Escape::None;
    for (char c : utf8) {
        if (appendMarkupEntity(c, quotes, out)) continue;
        switch (c) {
            case '\n':
                out += attribute ? "&#10;" : "\n";
                break;
            case '\r':
                out += "&#13;";
                break;
            case '\t':
                out += attribute ? "&#9;" : "\t";
                break;
            default:
                if (static_cast<unsigned char>(c) >= 0x20) out += c;
        }
    }
}

void appendXmlAttribute(std::string_view name, std::string_view utf8, std::string& out) {
    out += ' ';
    out += name;
    out += "=\"";
    appendXmlEscaped(utf8, out, true);
    out += '"';
}

void appendXmlIndent(int level, std::string& out) {
    out.append(static_cast<size_t>(std::clamp(level, 0, 24)) * 2, ' ');
}

void THtml_Text_Collector::startElement(std::string_view name) {
    if (name == "html" || name == "body") Seen_Html_ = true;
    if (isHidden(name) || Hidden_Depth_ > 0) {
        ++Hidden_Depth_;
        return;
    }
    if (name == "br")
        endLine(true);
    else if (isBlock(name))
        endLine(false);
}

void THtml_Text_Collector::endElement(std::string_view name) {
    if (Hidden_Depth_ > 0) {
        --Hidden_Depth_;
        return;
    }
    if (name == "p")
        endLine(true);
    else if (isBlock(name))
        endLine(false);
}

void THtml_Text_Collector::text(std::string_view utf8) {
    if (Hidden_Depth_ > 0) return;
    if (Raw_.size() < (size_t{64} << 20)) Raw_ += utf8;
    for (size_t i = 0; i < utf8.size(); ++i) {
        char c = utf8[i];
        bool blank = c == ' ' || c == '\t' || c == '\n' || c == '\r';
        // A no-break space (U+00A0) is a blank the user meant to keep.
        if (c == '\xC2' && i + 1 < utf8.size() && utf8[i + 1] == '\xA0') {
            Line_ += ' ';
            ++i;
            continue;
        }
        if (blank) {
            if (!Line_.empty() && Line_.back() != ' ') Line_ += ' ';
            continue;
        }
        Line_ += c;
    }
}

void THtml_Text_Collector::endLine(bool evenIfEmpty) {
    std::string_view line = trimmed(Line_);
    if (!line.empty() || evenIfEmpty) {
        if (!Text_.empty() || !line.empty()) {
            Text_ += line;
            Text_ += '\n';
        }
    }
    Line_.clear();
}

std::string THtml_Text_Collector::finish() {
    std::string text;
    if (Seen_Html_) {
        endLine(false);
        text = std::move(Text_);
    } else {
        text = std::move(Raw_);
        text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    }
    return std::string(trimmed(text));
}

void appendHtmlParagraphs(std::string_view utf8, std::string& out) {
    size_t start = 0;
    while (start <= utf8.size()) {
        size_t end = utf8.find('\n', start);
        if (end == std::string_view::npos) end = utf8.size();
        out += "<p>";
        appendXmlEscaped(utf8.substr(start, end - start), out, false);
        out += "</p>\n";
        start = end + 1;
    }
}

}  // namespace vetra
