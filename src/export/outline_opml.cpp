// OPML 2.0 outlines.
#include <charconv>
#include <unordered_set>

#include "export/outline_formats.h"
#include "export/outline_xml_text.h"
#include "platform/xml_reader.h"

namespace vetra {
namespace {

// OPML lists the expanded entries by their line among the shown lines
// (1 for the first). Expanding in pre-order never moves a line that comes
// before, so that line is the entry's place among the finally shown entries.
// Entries under a folded one are not shown and keep their own state.
template <typename Visit>
void walkShownLines(const TOutline& outline, Visit visit) {
    int32_t hiddenBelow = -1;  // the level of the folded entry hiding the ones after it
    int64_t line = 0;
    for (size_t i = 0; i < outline.size(); ++i) {
        const TOutline_Item& item = outline[i];
        if (hiddenBelow >= 0 && item.Level > hiddenBelow) continue;
        hiddenBelow = -1;
        ++line;
        bool hasChildren = i + 1 < outline.size() && outline[i + 1].Level > item.Level;
        if (!visit(i, line, hasChildren)) hiddenBelow = item.Level;
    }
}

void readExpansionState(std::string_view list, TOutline& outline) {
    std::unordered_set<int64_t> expanded;
    for (size_t start = 0; start < list.size();) {
        size_t end = list.find(',', start);
        if (end == std::string_view::npos) end = list.size();
        std::string_view number = trimmed(list.substr(start, end - start));
        int64_t line = 0;
        if (std::from_chars(number.data(), number.data() + number.size(), line).ec == std::errc())
            expanded.insert(line);
        start = end + 1;
    }
    walkShownLines(outline, [&](size_t i, int64_t line, bool hasChildren) {
        outline[i].Folded = hasChildren && expanded.count(line) == 0;
        return !outline[i].Folded;
    });
}

}  // namespace

bool readOpml(std::string_view bytes, TOutline& outline, std::string* title) {
    TXml_Reader reader(bytes);
    int32_t depth = 0;  // open outline elements
    bool inBody = false, inHead = false, sawOpml = false;
    std::string headElement, expansionState;
    bool sawExpansionState = false;  // an empty list folds every entry
    for (;;) {
        switch (reader.next()) {
            case TXml_Reader::TToken::Start_Element: {
                const std::string& name = reader.name();
                if (name == "opml")
                    sawOpml = true;
                else if (name == "head")
                    inHead = true;
                else if (name == "body")
                    inBody = true;
                else if (inHead)
                    headElement = name;
                if (inHead && name == "expansionState") sawExpansionState = true;
                if (!inBody || name != "outline") break;
                if (outline.size() >= kOutline_Max_Items) return false;
                TOutline_Item item;
                item.Level = depth++;
                if (const std::string* text = reader.attribute("text"))
                    item.Caption = *text;
                else if (const std::string* altTitle = reader.attribute("title"))
                    item.Caption = *altTitle;
                if (const std::string* note = reader.attribute("_note")) item.Note = *note;
                if (const std::string* url = reader.attribute("url"))
                    item.Link = *url;
                else if (const std::string* html = reader.attribute("htmlUrl"))
                    item.Link = *html;
                outline.push_back(std::move(item));
                break;
            }
            case TXml_Reader::TToken::End_Element:
                if (reader.name() == "outline" && inBody && depth > 0)
                    --depth;
                else if (reader.name() == "head")
                    inHead = false;
                else if (reader.name() == "body")
                    inBody = false;
                headElement.clear();
                break;
            case TXml_Reader::TToken::Text:
                if (headElement == "title" && title != nullptr) *title += reader.text();
                if (headElement == "expansionState") expansionState += reader.text();
                break;
            case TXml_Reader::TToken::End_Of_Document:
                if (!sawOpml) return false;
                if (sawExpansionState) readExpansionState(expansionState, outline);
                return true;
            case TXml_Reader::TToken::Error:
                return false;
        }
    }
}

void writeOpml(const TOutline& outline, std::string_view title, std::string& out) {
    std::string expansion;
    bool anyChildren = false;
    walkShownLines(outline, [&](size_t i, int64_t line, bool hasChildren) {
        anyChildren = anyChildren || hasChildren;
        if (hasChildren && !outline[i].Folded) {
            if (!expansion.empty()) expansion += ',';
            expansion += std::to_string(line);
        }
        return !outline[i].Folded;
    });
    out +=
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<opml version=\"2.0\">\n  <head>\n"
        "    <title>";
    appendXmlEscaped(title, out, false);
    out += "</title>\n";
    if (anyChildren) out += "    <expansionState>" + expansion + "</expansionState>\n";
    out += "  </head>\n  <body>\n";
    for (size_t i = 0; i < outline.size(); ++i) {
        const TOutline_Item& item = outline[i];
        appendXmlIndent(item.Level + 2, out);
        out += "<outline";
        appendXmlAttribute("text", item.Caption, out);
        if (!item.Link.empty()) {
            out += " type=\"link\"";
            appendXmlAttribute("url", item.Link, out);
        }
        if (!item.Note.empty()) {
            appendXmlAttribute("_note", item.Note, out);
        }
        int32_t nextLevel = i + 1 < outline.size() ? outline[i + 1].Level : 0;
        if (nextLevel > item.Level) {
            out += ">\n";
            continue;
        }
        out += "/>\n";
        for (int32_t level = item.Level - 1; level >= nextLevel; --level) {
            appendXmlIndent(level + 2, out);
            out += "</outline>\n";
        }
    }
    out += "  </body>\n</opml>\n";
}

}  // namespace vetra
