#include "export/html_page.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "export/html_text.h"
#include "export/rtf_to_html.h"
#include "platform/text_mode.h"

namespace vetra {

std::string TNote_Reader::read(TTree_Node& node) {
    std::string text;
    if (Store_ == nullptr) return text;
    if (loadNote(node, Document_File_, *Store_) != TNote_Load::Loaded) return text;
    if (!Store_->read(node.Work_Offset, node.Work_Size, text)) text.clear();
    return text;
}

bool writeTextFile(const std::string& path, const std::string& content) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    std::string crlf;
    crlf.reserve(content.size() + content.size() / 16);
    for (char c : content) {
        if (c == '\n') crlf.push_back('\r');
        crlf.push_back(c);
    }
    const bool written = std::fwrite(crlf.data(), 1, crlf.size(), file) == crlf.size();
    return std::fclose(file) == 0 && written;
}

namespace {

// The credit lines under the title name this program; their links stay on
// the page.
void appendCredit(std::string& out) {
    out += programText("本網頁由 ");
    out += "<a href='#mark_0'>Vetra</a>";
    out += programText(" 根據樹文檔自動生成，");
    out += "<a href='#mark_0'>";
    out += programText("從頭閱讀");
    out += "</a>&nbsp;&nbsp;<font color=blue><i>";
    out += programText("一棵樹，理清思路。");
    out += "</i></font><br>";
}

void appendNote(std::string& out, TTree_Node& node, TNote_Reader& notes,
                const std::string& directory, const std::string& baseName, int32_t& pictures) {
    if (node.Work_Size == 0 && node.Content_Size == 0 && node.Note_Excerpt.view().empty()) return;
    out += "<p id='pdoc'>\n";
    const std::string note = notes.read(node);
    if (note.compare(0, 5, "{\\rtf") == 0) {
        TRtf_Reader_To_Html reader(out, directory);
        reader.setObjectPrefix(baseName);
        reader.setPictureCounter(pictures);
        reader.parse(note);
        pictures = reader.pictureCounter();
    } else {
        // A note kept as plain text, or only its excerpt.
        const std::string_view text = note.empty() ? node.Note_Excerpt.view() : note;
        if (!text.empty()) {
            out += "<font style='font-size: 10pt;font-family: Tahoma' color=#2f005f >\n";
            appendNoteHtml(out, text);
            out += "</font>\n";
        }
    }
    out += "</p>\n";
}

void appendHeading(std::string& out, const TTree_Node& node, const std::string& mark,
                   int32_t depth) {
    const bool hasParent = depth > 0;
    if (hasParent) out += "<li>\n";
    out += "<a name='mark_" + mark + "'></a>\n";
    // Headings stop at h6, the deepest level a browser knows.
    const int32_t level = std::min(depth + 1, 6);
    char tag[64];
    std::snprintf(tag, sizeof tag,
                  hasParent ? "<h%d style='text-align:left;'>\n"
                            : "<h%d style='text-align:center; color:blue;'>\n",
                  level);
    out += tag;
    const std::string_view link = node.Link.view();
    if (!link.empty() && isSafeLink(link)) {
        out += "<a href='" + escaped(link) + "' target='_blank'> " + escaped(node.Caption.view()) +
               " </a>\n";
    } else {
        out += "<font color=#00007f>" + escaped(node.Caption.view()) + "</font>\n";
    }
    std::snprintf(tag, sizeof tag, "</h%d>\n", level);
    out += tag;
    out += "<p>\n";
}

}  // namespace

std::string htmlPageText(TTree_Node& root, TNote_Reader& notes, const std::string& directory,
                         const std::string& baseName) {
    std::string out = "<html>\n<head>\n" + charsetMeta();
    out += "<title>" + escaped(root.Caption.view()) + "</title>\n";
    out +=
        "<style type='text/css'>\n"
        "#pdoc{margin-top:3.0pt;margin-right:0.8cm;margin-bottom:3.0pt;       "
        "margin-left:0.8cm;text-align:left;line-height:1.8;mso-layout-grid-align:none;"
        "text-autospace:none;}\n"
        "</style>\n</head>\n<body>\n<p>\n<font style='font-size: 12px;' color=#7f7f7f>";
    appendCredit(out);
    out += "</font><hr color=#e1e1e1><br><br>\n";
    int32_t pictures = 1;
    // Pre-order without recursion: a frame per open node with the index of
    // the next child to write.
    struct TFrame {
        TTree_Node* node;
        std::string mark;
        int32_t next;
    };
    std::vector<TFrame> open;
    auto enter = [&](TTree_Node& node, std::string mark) {
        const auto depth = static_cast<int32_t>(open.size());
        appendHeading(out, node, mark, depth);
        appendNote(out, node, notes, directory, baseName, pictures);
        out += "</p>\n";
        if (node.hasChildren()) {
            out += "<ul>\n";
            open.push_back({&node, std::move(mark), 0});
        } else if (depth > 0) {
            out += "</li>\n";
        }
    };
    enter(root, "0");
    while (!open.empty()) {
        TFrame& frame = open.back();
        if (frame.next < frame.node->childCount()) {
            const int32_t index = frame.next++;
            enter(*frame.node->child(index), childMark(frame.mark, index + 1));
            continue;
        }
        out += "</ul>\n";
        open.pop_back();
        if (!open.empty()) out += "</li>\n";
    }
    out += "</p>\n</body>\n</html>\n";
    return out;
}

bool writeHtmlPage(TTree_Node& root, TNote_Reader& notes, const std::string& path) {
    const std::string baseName(fileNamePart(withoutExtension(path)));
    return writeTextFile(path,
                         htmlPageText(root, notes, std::string(directoryPart(path)), baseName));
}

}  // namespace vetra
