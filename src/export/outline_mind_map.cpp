// FreeMind and Freeplane mind maps (".mm", map versions 0.9 to 1.x).
#include <cstdio>
#include <vector>

#include "export/outline_formats.h"
#include "export/outline_xml_text.h"
#include "platform/xml_reader.h"

namespace vetra {
namespace {

// "#rrggbb" as 0x00BBGGRR; -1 for anything else.
int32_t colorFromHex(const std::string* text) {
    if (text == nullptr || text->size() != 7 || (*text)[0] != '#') return -1;
    uint32_t rgb = 0;
    for (size_t i = 1; i < 7; ++i) {
        char c = (*text)[i];
        int digit = c >= '0' && c <= '9'   ? c - '0'
                    : c >= 'a' && c <= 'f' ? c - 'a' + 10
                    : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                           : -1;
        if (digit < 0) return -1;
        rgb = rgb * 16 + static_cast<uint32_t>(digit);
    }
    return static_cast<int32_t>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
}

void appendHexColor(const char* attribute, int32_t color, std::string& out) {
    if (color < 0) return;
    char text[40];
    std::snprintf(text, sizeof text, " %s=\"#%02x%02x%02x\"", attribute, color & 0xFF,
                  (color >> 8) & 0xFF, (color >> 16) & 0xFF);
    out += text;
}

// Freeplane names the captions it made itself by a key of its own texts.
std::string localizedCaption(const std::string& key) {
    return key == "new_mindmap" ? "New Mindmap" : key;
}

// What a "richcontent" element holds.
enum class TRich_Kind { None, Caption, Note };

}  // namespace

bool readMindMap(std::string_view bytes, TOutline& outline) {
    TXml_Reader reader(bytes);
    std::vector<size_t> openNodes;  // entries of the node elements open now
    bool sawMap = false;
    bool inRich = false;
    TRich_Kind rich = TRich_Kind::None;  // None: skipped (details and other kinds)
    int richDepth = 0;                   // elements open inside the rich content
    THtml_Text_Collector collector;
    for (;;) {
        switch (reader.next()) {
            case TXml_Reader::TToken::Start_Element: {
                const std::string& name = reader.name();
                if (inRich) {
                    ++richDepth;
                    if (rich != TRich_Kind::None) collector.startElement(name);
                    break;
                }
                if (name == "map" && openNodes.empty()) {
                    sawMap = true;
                } else if (name == "node") {
                    if (!sawMap || outline.size() >= kOutline_Max_Items) return false;
                    TOutline_Item item;
                    item.Level = static_cast<int32_t>(openNodes.size());
                    if (const std::string* text = reader.attribute("TEXT"))
                        item.Caption = *text;
                    else if (const std::string* key = reader.attribute("LOCALIZED_TEXT"))
                        item.Caption = localizedCaption(*key);
                    if (const std::string* link = reader.attribute("LINK")) item.Link = *link;
                    const std::string* folded = reader.attribute("FOLDED");
                    item.Folded = folded != nullptr && *folded == "true";
                    item.Color_Caption = colorFromHex(reader.attribute("COLOR"));
                    item.Color_Fill = colorFromHex(reader.attribute("BACKGROUND_COLOR"));
                    openNodes.push_back(outline.size());
                    outline.push_back(std::move(item));
                } else if (name == "richcontent" && !openNodes.empty()) {
                    const std::string* type = reader.attribute("TYPE");
                    rich = type == nullptr   ? TRich_Kind::None
                           : *type == "NODE" ? TRich_Kind::Caption
                           : *type == "NOTE" ? TRich_Kind::Note
                                             : TRich_Kind::None;
                    inRich = true;
                    richDepth = 0;
                    collector = THtml_Text_Collector();
                }
                break;
            }
            case TXml_Reader::TToken::End_Element:
                if (inRich) {
                    if (richDepth > 0) {
                        --richDepth;
                        if (rich != TRich_Kind::None) collector.endElement(reader.name());
                        break;
                    }
                    inRich = false;
                    if (rich == TRich_Kind::None) break;
                    TOutline_Item& item = outline[openNodes.back()];
                    std::string text = collector.finish();
                    if (rich == TRich_Kind::Note) {
                        item.Note = std::move(text);
                    } else {
                        for (char& c : text)
                            if (c == '\n') c = ' ';
                        item.Caption = std::move(text);
                    }
                    break;
                }
                if (reader.name() == "node" && !openNodes.empty()) openNodes.pop_back();
                break;
            case TXml_Reader::TToken::Text:
                if (inRich && rich != TRich_Kind::None) collector.text(reader.text());
                break;
            case TXml_Reader::TToken::End_Of_Document:
                return sawMap;
            case TXml_Reader::TToken::Error:
                return false;
        }
    }
}

void writeMindMap(const TOutline& outline, std::string& out) {
    // Freeplane opens a map of its own version without warning that a
    // FreeMind map may be shown wrongly; the elements are those FreeMind
    // 0.9 and 1.0 use as well.
    out += "<map version=\"freeplane 1.7.0\">\n";
    for (size_t i = 0; i < outline.size(); ++i) {
        const TOutline_Item& item = outline[i];
        int32_t nextLevel = i + 1 < outline.size() ? outline[i + 1].Level : 0;
        appendXmlIndent(item.Level, out);
        out += "<node";
        appendXmlAttribute("TEXT", item.Caption, out);
        if (!item.Link.empty()) {
            appendXmlAttribute("LINK", item.Link, out);
        }
        if (item.Folded && nextLevel > item.Level) out += " FOLDED=\"true\"";
        appendHexColor("COLOR", item.Color_Caption, out);
        appendHexColor("BACKGROUND_COLOR", item.Color_Fill, out);
        if (item.Note.empty() && nextLevel <= item.Level) {
            out += "/>\n";
        } else {
            out += ">\n";
            if (!item.Note.empty()) {
                out += "<richcontent TYPE=\"NOTE\"><html><head></head><body>\n";
                appendHtmlParagraphs(item.Note, out);
                out += "</body></html></richcontent>\n";
            }
            if (nextLevel > item.Level) continue;
            appendXmlIndent(item.Level, out);
            out += "</node>\n";
        }
        for (int32_t level = item.Level - 1; level >= nextLevel; --level) {
            appendXmlIndent(level, out);
            out += "</node>\n";
        }
    }
    out += "</map>\n";
}

}  // namespace vetra
