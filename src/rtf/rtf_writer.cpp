#include "rtf/rtf_writer.h"

#include <map>
#include <utility>

#include "platform/code_page.h"
#include "rtf/rtf_picture.h"
#include "rtf/utf8.h"

namespace vetra {
namespace {

constexpr char kHex[] = "0123456789abcdef";
constexpr size_t kHex_Line = 128;  // hex digits a line in picture data

struct TFont_Entry {
    std::string Name;
    int Charset = 0;
};

class TRtf_Emitter {
  public:
    TRtf_Emitter(const TRtf_Document& document, const TRtf_Write_Options& options)
        : Doc_(document), Options_(options) {}

    std::string run();

  private:
    int fontIndex(const TRtf_Char_Format& format);
    int colorIndex(int32_t color);
    void collectTables();
    void writeHeader(std::string& out) const;
    void writeParagraphStart(const TRtf_Paragraph& paragraph, const TRtf_Paragraph* previous);
    void writeFormat(const TRtf_Char_Format& format);
    void writeText(std::string_view text, int codePage);
    void writePicture(const TRtf_Picture& picture);
    void word(std::string_view control) {
        Body_ += control;
        Need_Space_ = true;
    }
    void word(std::string_view control, int value) {
        Body_ += control;
        Body_ += std::to_string(value);
        Need_Space_ = true;
    }
    void literal(char c);
    void hexByte(uint8_t byte) {
        Body_ += "\\'";
        Body_.push_back(kHex[byte >> 4]);
        Body_.push_back(kHex[byte & 15]);
        Need_Space_ = false;
    }

    const TRtf_Document& Doc_;
    const TRtf_Write_Options& Options_;
    std::vector<TFont_Entry> Fonts_;
    std::map<std::pair<std::string, int>, int> Font_Index_;
    std::vector<int32_t> Colors_;
    std::map<int32_t, int> Color_Index_;
    int Symbol_Font_ = -1;
    std::string Body_;
    bool Need_Space_ = false;
    bool After_Unicode_ = false;
    // The character format in force in the body.
    int Font_ = -1, Size_ = -1, Color_ = -1;
    bool Bold_ = false, Italic_ = false, Underline_ = false;
};

int TRtf_Emitter::fontIndex(const TRtf_Char_Format& format) {
    std::string name = format.Font_Name.empty() ? Options_.Default_Font : format.Font_Name;
    int charset = format.Charset >= 0 ? format.Charset : charsetOfCodePage(Options_.Code_Page);
    auto key = std::make_pair(name, charset);
    auto found = Font_Index_.find(key);
    if (found != Font_Index_.end()) return found->second;
    int index = static_cast<int>(Fonts_.size());
    Fonts_.push_back({name, charset});
    Font_Index_.emplace(std::move(key), index);
    return index;
}

int TRtf_Emitter::colorIndex(int32_t color) {
    if (color == kRtf_Color_Auto) return 0;
    auto found = Color_Index_.find(color);
    if (found != Color_Index_.end()) return found->second;
    Colors_.push_back(color);
    int index = static_cast<int>(Colors_.size());  // entry 0 is the auto colour
    Color_Index_.emplace(color, index);
    return index;
}

void TRtf_Emitter::collectTables() {
    TRtf_Char_Format defaultFormat;
    fontIndex(defaultFormat);
    for (const TRtf_Paragraph& paragraph : Doc_.Paragraphs) {
        if (paragraph.Bullet && Symbol_Font_ < 0) {
            Symbol_Font_ = static_cast<int>(Fonts_.size());
            Fonts_.push_back({"Symbol", 2});
        }
        for (const TRtf_Run& run : paragraph.Runs) {
            fontIndex(run.Format);
            colorIndex(run.Format.Color);
        }
    }
}

// A font name in its own code page; characters it lacks as \uN.
std::string encodedFontName(const TFont_Entry& font, int defaultCodePage) {
    std::string out;
    const TCode_Page_Table* table = codePageTable(codePageOfCharset(font.Charset, defaultCodePage));
    size_t at = 0;
    while (at < font.Name.size()) {
        char32_t c = nextUtf8(font.Name, at);
        if (c == ';' || c == '{' || c == '}' || c == '\\' || c < 0x20) continue;
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            continue;
        }
        const auto* encoded = table ? &table->encode(c) : nullptr;
        if (encoded && encoded->size > 0) {
            for (int i = 0; i < encoded->size; ++i) {
                out += "\\'";
                out.push_back(kHex[encoded->bytes[i] >> 4]);
                out.push_back(kHex[encoded->bytes[i] & 15]);
            }
        } else if (c < 0x10000) {
            out += "\\u" + std::to_string(static_cast<int16_t>(c)) + "?";
        }
    }
    return out;
}

void TRtf_Emitter::writeHeader(std::string& out) const {
    out += "{\\rtf1\\ansi\\ansicpg" + std::to_string(Options_.Code_Page) + "\\deff0";
    out += "\\deflang1033\\deflangfe" + std::string(Options_.Code_Page == 950 ? "1028" : "2052");
    out += "{\\fonttbl";
    for (size_t i = 0; i < Fonts_.size(); ++i) {
        const TFont_Entry& font = Fonts_[i];
        out += "{\\f" + std::to_string(i) + (font.Charset == 2 ? "\\ftech" : "\\fnil");
        out += "\\fcharset" + std::to_string(font.Charset) + " ";
        out += encodedFontName(font, Options_.Code_Page) + ";}";
    }
    out += "}\r\n";
    if (!Colors_.empty()) {
        out += "{\\colortbl ;";
        for (int32_t color : Colors_)
            out += "\\red" + std::to_string(color & 0xFF) + "\\green" +
                   std::to_string((color >> 8) & 0xFF) + "\\blue" +
                   std::to_string((color >> 16) & 0xFF) + ";";
        out += "}\r\n";
    }
    out += "\\viewkind4\\uc1";
}

void TRtf_Emitter::writeParagraphStart(const TRtf_Paragraph& paragraph,
                                       const TRtf_Paragraph* previous) {
    bool same = previous != nullptr && previous->Align == paragraph.Align &&
                previous->Space_Before == paragraph.Space_Before &&
                previous->Space_After == paragraph.Space_After &&
                previous->Bullet == paragraph.Bullet;
    if (!same) {
        word("\\pard");
        if (paragraph.Bullet)
            Body_ += "{\\*\\pn\\pnlvlblt\\pnf" + std::to_string(Symbol_Font_) +
                     "\\pnindent0{\\pntxtb\\'b7}}\\fi-360\\li360";
        static const char* kAlign[] = {"", "\\qr", "\\qc", "\\qj"};
        Body_ += kAlign[static_cast<int>(paragraph.Align) & 3];
        if (paragraph.Space_Before) word("\\sb", paragraph.Space_Before);
        if (paragraph.Space_After) word("\\sa", paragraph.Space_After);
        Need_Space_ = true;
    }
    if (paragraph.Bullet) {
        Body_ += "{\\pntext\\f" + std::to_string(Symbol_Font_) + "\\'b7\\tab}";
        Need_Space_ = false;
    }
}

void TRtf_Emitter::writeFormat(const TRtf_Char_Format& format) {
    int font = fontIndex(format);
    int color = colorIndex(format.Color);
    if (color != Color_) word("\\cf", Color_ = color);
    if (format.Bold != Bold_) word((Bold_ = format.Bold) ? "\\b" : "\\b0");
    if (format.Italic != Italic_) word((Italic_ = format.Italic) ? "\\i" : "\\i0");
    if (format.Underline != Underline_) word((Underline_ = format.Underline) ? "\\ul" : "\\ulnone");
    if (font != Font_) word("\\f", Font_ = font);
    if (format.Size_Half_Points != Size_) word("\\fs", Size_ = format.Size_Half_Points);
}

void TRtf_Emitter::literal(char c) {
    // A space or "?" right after a control word or \uN fallback is written
    // as a hex byte, so that readers which eat them there keep them.
    if (c == ' ' && Need_Space_) {
        hexByte(' ');
        return;
    }
    if (c == '?' && After_Unicode_) {
        hexByte('?');
        After_Unicode_ = false;
        return;
    }
    if (Need_Space_) Body_.push_back(' ');
    Need_Space_ = false;
    Body_.push_back(c);
}

void TRtf_Emitter::writeText(std::string_view text, int codePage) {
    const TCode_Page_Table* table = codePageTable(codePage);
    size_t at = 0;
    while (at < text.size()) {
        char32_t c = nextUtf8(text, at);
        bool afterUnicode = After_Unicode_;
        After_Unicode_ = false;
        if (c == '\t') {
            word("\\tab");
        } else if (c == '\n') {
            word("\\line");
        } else if (c == '\\' || c == '{' || c == '}') {
            Body_.push_back('\\');
            Body_.push_back(static_cast<char>(c));
            Need_Space_ = false;
        } else if (c < 0x20) {
            continue;
        } else if (c < 0x80) {
            After_Unicode_ = afterUnicode;
            literal(static_cast<char>(c));
        } else if (const auto* encoded = table ? &table->encode(c) : nullptr;
                   encoded != nullptr && encoded->size > 0) {
            for (int i = 0; i < encoded->size; ++i) hexByte(encoded->bytes[i]);
        } else {
            auto unicode = [&](char32_t unit) {
                Body_ += "\\u" + std::to_string(static_cast<int16_t>(unit)) + "?";
                Need_Space_ = false;
            };
            if (c >= 0x10000) {
                unicode(0xD800 + ((c - 0x10000) >> 10));
                unicode(0xDC00 + ((c - 0x10000) & 0x3FF));
            } else {
                unicode(c);
            }
            After_Unicode_ = true;
        }
    }
}

void appendHexLines(std::string& out, std::string_view bytes) {
    out.reserve(out.size() + bytes.size() * 2 + bytes.size() / 32 + 4);
    size_t column = 0;
    for (char byte : bytes) {
        auto value = static_cast<uint8_t>(byte);
        out.push_back(kHex[value >> 4]);
        out.push_back(kHex[value & 15]);
        column += 2;
        if (column >= kHex_Line) {
            out += "\r\n";
            column = 0;
        }
    }
}

void TRtf_Emitter::writePicture(const TRtf_Picture& picture) {
    int widthTwips = picture.Width_Twips, heightTwips = picture.Height_Twips;
    if (picture.Kind == TRtf_Picture_Kind::Bmp_File) {
        int width = 0, height = 0;
        if (!bitmapFileSize(picture.Data, width, height)) return;
        if (widthTwips <= 0 || heightTwips <= 0) {
            widthTwips = width * 15;
            heightTwips = height * 15;
        }
        Body_ += "{\\object\\objemb{\\*\\objclass PBrush}\\objw" + std::to_string(widthTwips) +
                 "\\objh" + std::to_string(heightTwips) + "{\\*\\objdata\r\n";
        appendHexLines(Body_, objectHeaderForBitmap(static_cast<uint32_t>(picture.Data.size())));
        appendHexLines(Body_, picture.Data);
        Body_ += "}}";
    } else {
        Body_ += "{\\pict";
        Body_ += picture.Kind == TRtf_Picture_Kind::Png ? "\\pngblip" : "\\jpegblip";
        if (widthTwips > 0 && heightTwips > 0)
            Body_ += "\\picwgoal" + std::to_string(widthTwips) + "\\pichgoal" +
                     std::to_string(heightTwips);
        Body_ += "\r\n";
        appendHexLines(Body_, picture.Data);
        Body_ += "}";
    }
    Need_Space_ = false;
}

std::string TRtf_Emitter::run() {
    collectTables();
    const TRtf_Paragraph* previous = nullptr;
    for (const TRtf_Paragraph& paragraph : Doc_.Paragraphs) {
        writeParagraphStart(paragraph, previous);
        for (const TRtf_Run& run : paragraph.Runs) {
            writeFormat(run.Format);
            if (run.isPicture()) {
                if (run.Picture < static_cast<int>(Doc_.Pictures.size()))
                    writePicture(Doc_.Pictures[run.Picture]);
                continue;
            }
            const TFont_Entry& font = Fonts_[Font_];
            writeText(run.Text, codePageOfCharset(font.Charset, Options_.Code_Page));
        }
        word("\\par");
        Body_ += "\r\n";
        Need_Space_ = false;
        After_Unicode_ = false;
        previous = &paragraph;
    }
    std::string out;
    writeHeader(out);
    out.reserve(out.size() + Body_.size() + 4);
    out += Body_;
    out += "}\r\n";
    return out;
}

}  // namespace

std::string writeRtf(const TRtf_Document& document, const TRtf_Write_Options& options) {
    TRtf_Emitter emitter(document, options);
    return emitter.run();
}

}  // namespace vetra
