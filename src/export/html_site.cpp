#include <cstdio>
#include <vector>

#include "export/html_page.h"
#include "export/html_text.h"
#include "platform/text_codec.h"
#include "platform/text_mode.h"

namespace vetra {
namespace {

// A literal of the pages in the page's code page, as written (no mapping
// between simplified and traditional characters).
std::string pageText(std::string_view utf8) {
    return utf8ToCodePage(utf8, activeTextMode()).text;
}

// Day, hour, minute and second of `now`: frame names of one export differ
// from those of another.
std::string frameSuffix(std::time_t now) {
    std::tm local{};
    char stamp[32] = "19700101000000";
    if (localtime_r(&now, &local) != nullptr)
        std::snprintf(stamp, sizeof stamp, "%04d%02d%02d%02d%02d%02d", local.tm_year + 1900,
                      local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return std::string(stamp + 6);
}

std::string indexHead(int pixels, const char* bodyTag) {
    return "<html>\n<head>\n" + charsetMeta() + "<style type='text/css'>\n" +
           pageText("body,select,input,textarea{font:" + std::to_string(pixels) +
                    "px '宋体',Arial,Helvetica,sans-serif;line-height: 1.5;}\n") +
           (pixels == 14 ? "body{left-margin:30; top-margin:10;}\n" : "body{margin:20;}\n") +
           "a:link,a:visited\t{ text-decoration: none; color: #003366 }\n"
           "a:hover\t\t\t{ text-decoration: underline }\n"
           "</style>\n</head>\n" +
           bodyTag + "<p>\n";
}

const char kIndexTail[] = "</p>\n</body>\n</html>\n";

std::string mainIndexText(const TTree_Node& root, const std::string& base,
                          const std::string& suffix) {
    std::string out = indexHead(14, "<body bgcolor=#F8F9FA>\n");
    const std::string mark = pageText("※");
    for (int32_t i = 0; i < root.childCount(); ++i) {
        out += "&nbsp;&nbsp;<a href='" + base + "_sub_idx.html#mark_" + childMark("0", i + 1) +
               "' target='frame_sub_idx_" + suffix + "'>" + mark + "&nbsp;&nbsp;" +
               escaped(root.child(i)->Caption.view()) + "</a><br>\n";
    }
    return out + kIndexTail;
}

std::string subIndexText(const TTree_Node& root, const std::string& base,
                         const std::string& suffix) {
    std::string out = indexHead(12, "<body  bgcolor=#F8F9FA>\n");
    const std::string table = pageText(
        "<table width=100% style='font:12px '宋体',Arial,Helvetica,sans-serif;line-height: "
        "1.1;'>");
    const std::string bullets[] = {pageText("◆&nbsp;"), pageText("◇&nbsp;"), pageText("☉&nbsp;"),
                                   pageText("·&nbsp;")};
    // Pre-order without recursion; each entry carries its level and mark.
    struct TEntry {
        const TTree_Node* node;
        int32_t level;
        std::string mark;
    };
    std::vector<TEntry> pending;
    for (int32_t i = root.childCount(); i-- > 0;)
        pending.push_back({root.child(i), 0, childMark("0", i + 1)});
    while (!pending.empty()) {
        TEntry entry = std::move(pending.back());
        pending.pop_back();
        out += table + "<tr>\n<td width=" + std::to_string(entry.level * 8 + 1) +
               "%></td><td width=5% valign=top>\n<a name='mark_" + entry.mark + "'></a>\n" +
               bullets[std::min(entry.level, 3)] + "</td>\n<td align=left>\n<a href='" + base +
               "_doc.html#mark_" + entry.mark + "' target='frame_doc_" + suffix + "'>\n" +
               escaped(entry.node->Caption.view()) + "</a></td>\n</tr>\n</table>\n";
        for (int32_t i = entry.node->childCount(); i-- > 0;)
            pending.push_back(
                {entry.node->child(i), entry.level + 1, childMark(entry.mark, i + 1)});
    }
    return out + kIndexTail;
}

}  // namespace

bool writeHtmlSite(TTree_Node& root, TNote_Reader& notes, const std::string& path,
                   std::time_t now) {
    const std::string suffix = frameSuffix(now);
    const std::string stem = withoutExtension(path);
    const std::string base = fileAddress(fileNamePart(stem));
    std::string frames = "<html>\n<head>\n" + charsetMeta() + "<title>" +
                         escaped(root.Caption.view()) + "</title>\n</head>\n";
    frames += "<frameset cols=230,*>\n<frameset rows=150,*>\n";
    frames += "<frame noresize frameborder=0 src='" + base +
              "_main_idx.html' name='frame_main_idx_" + suffix + "'>\n";
    frames += "<frame noresize frameborder=0 src='" + base + "_sub_idx.html' name='frame_sub_idx_" +
              suffix + "'>\n";
    frames += "</frameset>\n<frame noresize frameborder=0 src='" + base +
              "_doc.html' name='frame_doc_" + suffix + "'>\n</frameset>\n</html>\n";
    if (!writeTextFile(path, frames)) return false;
    writeTextFile(stem + "_main_idx.html", mainIndexText(root, base, suffix));
    writeTextFile(stem + "_sub_idx.html", subIndexText(root, base, suffix));
    writeHtmlPage(root, notes, stem + "_doc.html");
    return true;
}

}  // namespace vetra
