#include "export/office_note_xml.h"

#include <cstdio>

#include "export/markup_escape.h"
#include "export/office_documents.h"

namespace vetra {
namespace {

std::string colorText(int32_t bgr) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", bgr & 0xFF, (bgr >> 8) & 0xFF,
                  (bgr >> 16) & 0xFF);
    return text;
}

std::string inches(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3fin", value);
    return text;
}

uint32_t bigEndian32(std::string_view bytes, size_t at) {
    if (at + 4 > bytes.size()) return 0;
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// The picture's size in inches: as the note shows it, else its pixels at
// 96 dpi, else a plain 2 by 1.5 inches.
void pictureSize(const TRtf_Picture& picture, double& width, double& height) {
    if (picture.Width_Twips > 0 && picture.Height_Twips > 0) {
        width = picture.Width_Twips / 1440.0;
        height = picture.Height_Twips / 1440.0;
        return;
    }
    int pixelsWide = 0, pixelsHigh = 0;
    if (picture.Kind == TRtf_Picture_Kind::Bmp_File) {
        bitmapFileSize(picture.Data, pixelsWide, pixelsHigh);
    } else if (picture.Kind == TRtf_Picture_Kind::Png) {
        pixelsWide = static_cast<int>(bigEndian32(picture.Data, 16));
        pixelsHigh = static_cast<int>(bigEndian32(picture.Data, 20));
    }
    if (pixelsWide <= 0 || pixelsHigh <= 0 || pixelsWide > 20000 || pixelsHigh > 20000) {
        pixelsWide = 192;
        pixelsHigh = 144;
    }
    width = pixelsWide / 96.0;
    height = pixelsHigh / 96.0;
}

}  // namespace

std::string odfText(std::string_view utf8) {
    std::string out;
    bool afterSpace = true;  // a leading space would be dropped too
    for (char c : utf8) {
        if (c == ' ' && afterSpace) {
            out += "<text:s/>";
            continue;
        }
        afterSpace = c == ' ';
        // The same text goes into elements and double-quoted attributes (font
        // names), so the double quote is escaped too.
        if (appendMarkupEntity(c, TQuote_Escape::Double, out)) continue;
        switch (c) {
            case '\t':
                out += "<text:tab/>";
                break;
            case '\n':
                out += "<text:line-break/>";
                break;
            default:
                if (static_cast<unsigned char>(c) >= 0x20) out += c;
        }
    }
    return out;
}

std::string TOdf_Note_Writer::textStyle(const TRtf_Char_Format& format) {
    std::string properties;
    if (!format.Font_Name.empty()) {
        const std::string family = odfText(format.Font_Name);
        properties +=
            " fo:font-family=\"" + family + "\" style:font-family-asian=\"" + family + "\"";
    }
    char size[64];
    std::snprintf(size, sizeof size, " fo:font-size=\"%.1fpt\" style:font-size-asian=\"%.1fpt\"",
                  format.Size_Half_Points / 2.0, format.Size_Half_Points / 2.0);
    properties += size;
    if (format.Color != kRtf_Color_Auto)
        properties += " fo:color=\"" + colorText(format.Color) + "\"";
    if (format.Bold) properties += " fo:font-weight=\"bold\" style:font-weight-asian=\"bold\"";
    if (format.Italic) properties += " fo:font-style=\"italic\" style:font-style-asian=\"italic\"";
    if (format.Underline)
        properties +=
            " style:text-underline-style=\"solid\" style:text-underline-width=\"auto\" "
            "style:text-underline-color=\"font-color\"";
    auto [entry, added] = Styles_.try_emplace("T" + properties, "");
    if (added) {
        entry->second = "NT" + std::to_string(Styles_.size());
        Style_Xml_ += "<style:style style:name=\"" + entry->second +
                      "\" style:family=\"text\"><style:text-properties" + properties +
                      "/></style:style>\n";
    }
    return entry->second;
}

std::string TOdf_Note_Writer::paragraphStyle(const std::string& baseStyle,
                                             const TRtf_Paragraph& paragraph) {
    static const char* const kAlign[] = {"start", "end", "center", "justify"};
    const int align = static_cast<int>(paragraph.Align);
    char properties[160];
    std::snprintf(properties, sizeof properties,
                  " fo:text-align=\"%s\" fo:margin-top=\"%.1fpt\" fo:margin-bottom=\"%.1fpt\"",
                  kAlign[align >= 0 && align < 4 ? align : 0], paragraph.Space_Before / 20.0,
                  paragraph.Space_After / 20.0);
    auto [entry, added] = Styles_.try_emplace("P" + baseStyle + properties, "");
    if (added) {
        entry->second = "NP" + std::to_string(Styles_.size());
        Style_Xml_ += "<style:style style:name=\"" + entry->second +
                      "\" style:family=\"paragraph\" style:parent-style-name=\"" + baseStyle +
                      "\"><style:paragraph-properties" + properties + "/></style:style>\n";
    }
    return entry->second;
}

std::string TOdf_Note_Writer::picture(const TRtf_Picture& picture) {
    double width = 0, height = 0;
    pictureSize(picture, width, height);
    return "<draw:frame text:anchor-type=\"as-char\" svg:width=\"" + inches(width) +
           "\" svg:height=\"" + inches(height) + "\"><draw:image><office:binary-data>" +
           base64(picture.Data) + "</office:binary-data></draw:image></draw:frame>";
}

void TOdf_Note_Writer::write(const TRtf_Document& note, const std::string& baseStyle,
                             std::string& xml) {
    for (const TRtf_Paragraph& paragraph : note.Paragraphs) {
        xml += "<text:p text:style-name=\"" + paragraphStyle(baseStyle, paragraph) + "\">";
        if (paragraph.Bullet) xml += "\xE2\x80\xA2<text:tab/>";
        for (const TRtf_Run& run : paragraph.Runs) {
            if (run.isPicture()) {
                if (static_cast<size_t>(run.Picture) < note.Pictures.size())
                    xml += picture(note.Pictures[run.Picture]);
                continue;
            }
            xml += "<text:span text:style-name=\"" + textStyle(run.Format) + "\">" +
                   odfText(run.Text) + "</text:span>";
        }
        xml += "</text:p>\n";
    }
}

std::string TOdf_Note_Writer::automaticStyles() const {
    return Style_Xml_;
}

}  // namespace vetra
