#include "export/html_map.h"

#include <vector>

#include "export/html_text.h"
#include "export/rtf_reader.h"
#include "platform/text_codec.h"
#include "platform/text_mode.h"

namespace vetra {
namespace {

// Collects the text of every run, dropping formatting and pictures.
class TRtf_Plain_Text : public TRtf_Reader {
  public:
    explicit TRtf_Plain_Text(std::string& out) : Out_(out) {}

  protected:
    void emitRun(const TRtf_Text_Run& run, const Rtf_Node_Stru&) override {
        size_t at = 0;
        for (const auto& [offset, character] : run.Characters) {
            appendLines(std::string_view(run.Text).substr(at, offset - at));
            at = offset;
            Out_ += character < 0x80 ? std::string(1, static_cast<char>(character)) : "?";
        }
        appendLines(std::string_view(run.Text).substr(at));
    }
    bool writePicture(std::string_view, TPicture_Kind) override { return false; }

  private:
    void appendLines(std::string_view text) {
        for (char c : text) {
            if (c == '\n') Out_.push_back('\r');
            Out_.push_back(c);
        }
    }
    std::string& Out_;
};

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
    return text;
}

// Tooltip text: line breaks kept as breaks, quotes as a backquote and a break,
// everything that could end the attribute or start markup escaped. Not the
// shared markupEntity rule on purpose: a tooltip breaks its line after "<"
// and ">" and shows a quote as "`", so only "&" is written the common way.
void appendAltText(std::string& out, std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        switch (c) {
            case '<':
                out += "&lt;\n";
                break;
            case '>':
                out += "&gt;\n";
                break;
            case '&':
                out += "&amp;";
                break;
            case '"':
            case '\'':
                out += "`\n";
                break;
            case '\n':
            case '\r':
                out += "\n";
                if (i + 1 < text.size() && text[i + 1] == (c == '\n' ? '\r' : '\n')) ++i;
                break;
            case '\0':
                break;
            default:
                out.push_back(c);
                if (static_cast<unsigned char>(c) >= 0x80 && i + 1 < text.size())
                    out.push_back(text[++i]);
        }
    }
}

void appendArea(std::string& out, TTree_Node& node, TNode_Point at, TNote_Reader& notes) {
    std::string alt;
    const std::string note = notes.read(node);
    alt = note.empty() ? std::string(node.Note_Excerpt.view()) : notePlainText(note);
    alt.resize(characterPrefixLength(alt, 199));
    std::string_view shown = trimmed(alt);
    if (shown.empty()) shown = trimmed(node.Caption.view());
    const TNode_Rect& text = node.Layout.Text_Rect;
    char coords[96];
    std::snprintf(coords, sizeof coords, "%lld,%lld,%lld,%lld",
                  static_cast<long long>(int64_t{at.x} + text.x),
                  static_cast<long long>(int64_t{at.y} + text.y),
                  static_cast<long long>(int64_t{at.x} + text.x + text.width),
                  static_cast<long long>(int64_t{at.y} + text.y + text.height));
    out += "    <area shape=\"rect\" coords=\"";
    out += coords;
    const std::string_view link = node.Link.view();
    if (!link.empty() && isSafeLink(link))
        out += "\" href=\"" + escaped(link) + "\" target='_blank' alt=\"\n";
    else
        out += "\" alt=\"\n";
    appendAltText(out, shown);
    out += "\">\n";
}

}  // namespace

std::string notePlainText(std::string_view note) {
    if (note.compare(0, 5, "{\\rtf") != 0) return std::string(note);
    std::string out;
    TRtf_Plain_Text reader(out);
    reader.parse(note);
    return out;
}

std::string htmlMapText(TTree_Node& root, TNote_Reader& notes, const std::string& imageName) {
    const std::string caption(root.Caption.view());
    const std::string title = escaped(caption);
    const bool big5 = activeTextMode() == kTextModeTraditional;
    std::string out = "<html>\n<head>\n  " + charsetMeta();
    out += std::string("  <meta http-equiv=\"Content-Language\" content=\"") +
           (big5 ? "zh-tw" : "zh-cn") + "\">\n";
    out += "  <title> " + title + " Studra</title>\n";
    out += "  <meta name=\"keywords\" content=\"" + title + ",Studra,Vetra,Arbonav\">\n";
    if (!root.Note_Excerpt.view().empty())
        out += "  <meta name=\"description\" content=\"" + escaped(root.Note_Excerpt.view()) +
               ",Studra,Vetra\">\n";
    out +=
        "</head>\n<body bgcolor=\"#f1f8ff\" text=\"#000000\">\n"
        "  <p style='font-family: Arial; font-size: 18pt; align:center; text-align:center; "
        "text-indent:0; line-height:100%; margin:0; padding-left: 1; padding-right: 1; "
        "font-weight:bold'>\n";
    out += "  &nbsp;&nbsp; <font color=brown> <u>" + title + " Arbonav</u> </font>\n";
    out +=
        "  </p>\n  <br>\n"
        "  <p style='font-family: Arial; font-size: 10pt; align:center; text-align:left; "
        "text-indent:0; line-height:100%; margin:0; padding-left: 1; padding-right: 1; '>\n";
    out += "  &nbsp;&nbsp;<font color=blue>" +
           utf8ToCodePage("提示：点击加下划线的节点打开连接，", activeTextMode()).text +
           programText("本圖由 <u>Vetra</u> 樹文檔編輯器") +
           utf8ToCodePage("生成 ", activeTextMode()).text + "</blue><br><br>\n";
    out += "  </p>\n<p align=center>\n  <img src=\"" + fileAddress(imageName) +
           "\"  style=\"border:2px solid #90e0e0\"  usemap=\"#systemmap\">\n"
           "  <map name=\"systemmap\">\n";
    // Post-order over the visible nodes below the root: a node's area follows
    // those of its descendants. Positions are summed from the view's root.
    struct TFrame {
        TTree_Node* node;
        TNode_Point at;
        int32_t next;
    };
    const TNode_Point rootAt{root.Layout.Block_Pos.x + root.Layout.Box_Offset.x,
                             root.Layout.Block_Pos.y + root.Layout.Box_Offset.y};
    std::vector<TFrame> open{{&root, rootAt, 0}};
    while (!open.empty()) {
        TFrame& frame = open.back();
        const bool descend = frame.node == &root || frame.node->Expanded;
        if (descend && frame.next < frame.node->childCount()) {
            TTree_Node* child = frame.node->child(frame.next++);
            const TLayout_Cache& c = child->Layout;
            const TNode_Point at{frame.at.x + c.Block_Pos.x + c.Box_Offset.x,
                                 frame.at.y + c.Block_Pos.y + c.Box_Offset.y};
            open.push_back({child, at, 0});
            continue;
        }
        if (frame.node != &root) appendArea(out, *frame.node, frame.at, notes);
        open.pop_back();
    }
    // The three banner areas name this program; they lead nowhere.
    const char* const banners[] = {"0,0,90,20", "100,0,160,20", "170,0,250,20"};
    const std::string alts[] = {programText("Vetra 樹文檔"), programText("Vetra 樹狀筆記"),
                                programText("Vetra 編輯器")};
    for (int i = 0; i < 3; ++i)
        out += std::string("    <area shape=\"rect\" coords=\"") + banners[i] + "\" alt=\"" +
               alts[i] + "\">\n";
    out += "  </map>\n</p>\n</body>\n</html>\n";
    return out;
}

bool writeHtmlMap(TTree_Node& root, TNote_Reader& notes, const std::string& path,
                  const std::string& imageName) {
    return writeTextFile(path, htmlMapText(root, notes, imageName));
}

}  // namespace vetra
