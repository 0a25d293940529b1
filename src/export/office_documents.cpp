#include "export/office_documents.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "export/office_note_xml.h"
#include "platform/text_codec.h"

namespace vetra {
namespace {

constexpr char kNamespaces[] =
    " xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
    " xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\""
    " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\""
    " xmlns:draw=\"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0\""
    " xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\""
    " xmlns:svg=\"urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0\""
    " xmlns:presentation=\"urn:oasis:names:tc:opendocument:xmlns:presentation:1.0\""
    " xmlns:xlink=\"http://www.w3.org/1999/xlink\""
    " office:version=\"1.2\"";

// Code-page bytes (a caption) as XML character data.
std::string xmlText(std::string_view bytes, int textMode) {
    return odfText(codePageToUtf8(bytes, textMode).text);
}

// The note's lines (split at "\r\n", "\n" or "\r").
std::vector<std::string_view> noteLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != '\r' && text[i] != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    return lines;
}

// Calls `visit(node, level)` for the root (level 0) and every node below it
// in pre-order, collapsed subtrees included, without recursion.
template <typename Visit>
void forEachInPreOrder(TTree_Node& root, Visit visit) {
    std::vector<std::pair<TTree_Node*, int>> pending{{&root, 0}};
    while (!pending.empty()) {
        auto [node, level] = pending.back();
        pending.pop_back();
        visit(*node, level);
        for (int32_t i = node->childCount(); i-- > 0;)
            pending.push_back({node->child(i), level + 1});
    }
}

std::string wordStyles() {
    std::string styles =
        "<office:styles>\n"
        "<style:default-style style:family=\"paragraph\"><style:text-properties "
        "fo:font-size=\"12pt\" style:font-size-asian=\"12pt\"/></style:default-style>\n"
        "<style:style style:name=\"Standard\" style:family=\"paragraph\" style:class=\"text\"/>\n"
        "<style:style style:name=\"Text_20_body\" style:display-name=\"Text body\" "
        "style:family=\"paragraph\" style:parent-style-name=\"Standard\" style:class=\"text\">"
        "<style:paragraph-properties fo:margin-bottom=\"6pt\" fo:text-indent=\"24pt\"/>"
        "</style:style>\n"
        "<style:style style:name=\"Title\" style:family=\"paragraph\" "
        "style:parent-style-name=\"Standard\" style:class=\"chapter\">"
        "<style:paragraph-properties fo:text-align=\"center\" fo:margin-bottom=\"12pt\"/>"
        "<style:text-properties fo:font-size=\"26pt\" fo:font-weight=\"bold\" "
        "style:font-size-asian=\"26pt\" style:font-weight-asian=\"bold\"/></style:style>\n"
        "<style:style style:name=\"Heading\" style:family=\"paragraph\" "
        "style:parent-style-name=\"Standard\" style:next-style-name=\"Text_20_body\" "
        "style:class=\"text\"><style:paragraph-properties fo:margin-top=\"12pt\" "
        "fo:margin-bottom=\"6pt\" fo:keep-with-next=\"always\"/><style:text-properties "
        "fo:font-weight=\"bold\" style:font-weight-asian=\"bold\"/></style:style>\n";
    for (int level = 1; level <= 9; ++level) {
        const int size = std::max(12, 20 - 2 * (level - 1));
        char style[640];
        std::snprintf(style, sizeof style,
                      "<style:style style:name=\"Heading_20_%d\" style:display-name=\"Heading %d\" "
                      "style:family=\"paragraph\" style:parent-style-name=\"Heading\" "
                      "style:next-style-name=\"Text_20_body\" style:default-outline-level=\"%d\" "
                      "style:class=\"text\"><style:text-properties fo:font-size=\"%dpt\" "
                      "style:font-size-asian=\"%dpt\"/></style:style>\n",
                      level, level, level, size, size);
        styles += style;
    }
    // One outline numbering for all headings: 1, 1.1, 1.1.1 ...
    styles += "<text:outline-style style:name=\"Outline\">\n";
    for (int level = 1; level <= 10; ++level) {
        char style[640];
        std::snprintf(
            style, sizeof style,
            "<text:outline-level-style text:level=\"%d\" style:num-format=\"1\" "
            "style:num-suffix=\".\" text:display-levels=\"%d\"><style:list-level-properties "
            "text:list-level-position-and-space-mode=\"label-alignment\">"
            "<style:list-level-label-alignment text:label-followed-by=\"space\"/>"
            "</style:list-level-properties></text:outline-level-style>\n",
            level, level);
        styles += style;
    }
    return styles + "</text:outline-style>\n</office:styles>\n";
}

}  // namespace

std::string wordDocumentXml(TTree_Node& root, const TNote_Source& notes, int textMode) {
    std::string body;
    TOdf_Note_Writer noteWriter;
    forEachInPreOrder(root, [&](TTree_Node& node, int level) {
        const std::string caption = xmlText(node.Caption.view(), textMode);
        if (level == 0) {
            body += "<text:p text:style-name=\"Title\">" + caption + "</text:p>\n";
        } else {
            const std::string heading = std::to_string(std::min(level, 9));
            body += "<text:h text:style-name=\"Heading_20_" + heading + "\" text:outline-level=\"" +
                    heading + "\">" + caption + "</text:h>\n";
        }
        body += "<text:p text:style-name=\"Text_20_body\"/>\n";
        if (std::optional<TRtf_Document> note = notes(node))
            noteWriter.write(*note, "Text_20_body", body);
    });
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<office:document";
    xml += kNamespaces;
    xml += " office:mimetype=\"application/vnd.oasis.opendocument.text\">\n";
    xml += wordStyles();
    xml += "<office:automatic-styles>\n" + noteWriter.automaticStyles() +
           "</office:automatic-styles>\n";
    xml += "<office:body><office:text>\n" + body;
    return xml + "</office:text></office:body>\n</office:document>\n";
}

TSlide_Picture_Place slidePicturePlace(double slideHeight) {
    const double height = slideHeight - 130 - 20;
    return {70, 130, height * 884 / 581, height};
}

namespace {

// The longest prefix of the UTF-8 text whose code-page form holds at most
// kSlide_Note_Bytes bytes: ASCII takes one byte, every other character two in
// both code pages. The characters themselves stay as they are, so none is
// lost to a code page that lacks it.
std::string cutForSlide(std::string_view utf8) {
    size_t bytes = 0, at = 0;
    while (at < utf8.size()) {
        const unsigned char lead = utf8[at];
        const size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        bytes += lead < 0x80 ? 1 : 2;
        if (bytes > kSlide_Note_Bytes || at + length > utf8.size()) break;
        at += length;
    }
    return std::string(utf8.substr(0, at));
}

std::string points(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2fpt", value);
    return text;
}

std::string frame(const char* cls, double x, double y, double width, double height,
                  const std::string& content) {
    return std::string("<draw:frame presentation:style-name=\"pr_") + cls +
           "\" presentation:class=\"" + cls + "\" svg:x=\"" + points(x) + "\" svg:y=\"" +
           points(y) + "\" svg:width=\"" + points(width) + "\" svg:height=\"" + points(height) +
           "\"><draw:text-box>" + content + "</draw:text-box></draw:frame>\n";
}

// LibreOffice takes the master page's page layout only when the document has
// an office:styles element, even an empty one.
constexpr char kPresentation_Styles[] =
    "<office:styles/>\n"
    "<office:automatic-styles>\n"
    "<style:page-layout style:name=\"PM1\"><style:page-layout-properties fo:margin-top=\"0pt\" "
    "fo:margin-bottom=\"0pt\" fo:margin-left=\"0pt\" fo:margin-right=\"0pt\" "
    "fo:page-width=\"720pt\" fo:page-height=\"540pt\" style:print-orientation=\"landscape\"/>"
    "</style:page-layout>\n"
    "<style:style style:name=\"dp1\" style:family=\"drawing-page\"/>\n"
    "<style:style style:name=\"pr_title\" style:family=\"presentation\"><style:graphic-properties "
    "draw:stroke=\"none\" draw:fill=\"none\" draw:textarea-vertical-align=\"middle\" "
    "style:shrink-to-fit=\"true\"/><style:paragraph-properties fo:text-align=\"center\"/>"
    "<style:text-properties fo:font-size=\"36pt\" style:font-size-asian=\"36pt\"/></style:style>\n"
    "<style:style style:name=\"pr_outline\" "
    "style:family=\"presentation\"><style:graphic-properties "
    "draw:stroke=\"none\" draw:fill=\"none\" draw:textarea-vertical-align=\"top\" "
    "style:shrink-to-fit=\"true\"/><style:text-properties fo:font-size=\"24pt\" "
    "style:font-size-asian=\"24pt\"/></style:style>\n"
    "<style:style style:name=\"gr_picture\" style:family=\"graphic\"><style:graphic-properties "
    "draw:stroke=\"none\" draw:fill=\"none\"/></style:style>\n"
    "</office:automatic-styles>\n"
    "<office:master-styles><style:master-page style:name=\"Default\" "
    "style:page-layout-name=\"PM1\" draw:style-name=\"dp1\"/></office:master-styles>\n";

}  // namespace

std::string presentationXml(TTree_Node& root, const TNote_Source& notes, int textMode,
                            std::string_view pngPictureBase64) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<office:document";
    xml += kNamespaces;
    xml += " office:mimetype=\"application/vnd.oasis.opendocument.presentation\">\n";
    xml += kPresentation_Styles;
    xml += "<office:body><office:presentation>\n";
    int slide = 0;
    auto openSlide = [&] {
        xml += "<draw:page draw:name=\"page" + std::to_string(++slide) +
               "\" draw:master-page-name=\"Default\">\n";
    };
    const double margin = 36;
    const double width = kSlide_Width_Pt - 2 * margin;
    openSlide();
    xml += frame("title", margin, 20, width, 100,
                 "<text:p>" + xmlText(root.Caption.view(), textMode) + "</text:p>");
    if (!pngPictureBase64.empty()) {
        const TSlide_Picture_Place place = slidePicturePlace(kSlide_Height_Pt);
        xml += "<draw:frame draw:style-name=\"gr_picture\" svg:x=\"" + points(place.left) +
               "\" svg:y=\"" + points(place.top) + "\" svg:width=\"" + points(place.width) +
               "\" svg:height=\"" + points(place.height) + "\"><draw:image><office:binary-data>";
        xml += pngPictureBase64;
        xml += "</office:binary-data></draw:image></draw:frame>\n";
    }
    xml += "</draw:page>\n";
    forEachInPreOrder(root, [&](TTree_Node& node, int) {
        openSlide();
        xml += frame("title", margin, 20, width, 90,
                     "<text:p>" + xmlText(node.Caption.view(), textMode) + "</text:p>");
        std::string body;
        if (node.hasChildren()) {
            body += "<text:list>";
            for (int32_t i = 0; i < node.childCount(); ++i)
                body += "<text:list-item><text:p>" +
                        xmlText(node.child(i)->Caption.view(), textMode) +
                        "</text:p></text:list-item>";
            body += "</text:list>";
        } else if (std::optional<TRtf_Document> note = notes(node)) {
            std::string joined;
            for (const std::string& line : plainTextLines(*note))
                joined += (joined.empty() ? "" : "\r\n") + line;
            const std::string cut = cutForSlide(joined);
            for (std::string_view line : noteLines(cut))
                body += "<text:p>" + odfText(line) + "</text:p>";
        }
        if (!body.empty()) xml += frame("outline", margin, 120, width, 390, body);
        xml += "</draw:page>\n";
    });
    return xml + "</office:presentation></office:body>\n</office:document>\n";
}

std::string base64(std::string_view bytes) {
    static constexpr char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        uint32_t group = static_cast<unsigned char>(bytes[i]) << 16;
        if (i + 1 < bytes.size()) group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size()) group |= static_cast<unsigned char>(bytes[i + 2]);
        out += kDigits[group >> 18];
        out += kDigits[(group >> 12) & 63];
        out += i + 1 < bytes.size() ? kDigits[(group >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? kDigits[group & 63] : '=';
    }
    return out;
}

}  // namespace vetra
