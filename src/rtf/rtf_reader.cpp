#include "rtf/rtf_reader.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>

#include "platform/code_page.h"
#include "rtf/rtf_picture.h"
#include "rtf/utf8.h"

namespace vetra {
namespace {

// Bounds on what a note may make us keep.
constexpr int kMax_Depth = 512;
constexpr size_t kMax_Fonts = 4096;
constexpr size_t kMax_Colors = 4096;
constexpr size_t kMax_Font_Name = 256;
constexpr size_t kMax_Word = 32;
constexpr int kMax_Digits = 10;
constexpr int kMax_Half_Points = 3276;

enum class TDest {
    Text,  // the note's text
    Skip,  // a group nobody reads
    Font_Table,
    Color_Table,
    Pict,         // picture data in hex (or \bin)
    Object,       // an embedded object: its own text is not the note's
    Object_Data,  // the object's data in hex
    Numbering,    // {\*\pn ...}: the paragraph's bullet
};

struct TParagraph_Props {
    TRtf_Align Align = TRtf_Align::Left;
    int Space_Before = 0;
    int Space_After = 0;
    bool Bullet = false;
};

struct TGroup {
    TDest Dest = TDest::Text;
    int Font = -1;  // font number; -1: the default font
    TRtf_Char_Format Format;
    TParagraph_Props Paragraph;
    int Unicode_Skip = 1;    // \uc
    bool Ignorable = false;  // \* seen, waiting for the destination word
};

struct TFont {
    std::string Name;
    int Charset = 0;
    int Code_Page = 0;  // 0: from the charset
};

class TRtf_Parser {
  public:
    TRtf_Parser(std::string_view input, TRtf_Document& document, const TRtf_Read_Options& options)
        : In_(input), Doc_(document), Code_Page_(options.Default_Code_Page) {}

    TRtf_Read_Status run();

  private:
    TGroup& top() { return Stack_.back(); }
    void openGroup();
    void closeGroup();
    void readControl();
    void dispatch(std::string_view word, bool hasParam, int param);
    bool dispatchDestination(std::string_view word, int param);
    bool dispatchFormat(std::string_view word, bool hasParam, int param);
    void handleByte(unsigned char byte);
    void addTextByte(unsigned char byte);
    void addCodePoint(char32_t c);
    void flushBytes();
    void endParagraph();
    void addPicture(TRtf_Picture picture);
    void finishDestination(const TGroup& closed);
    void collectHex(unsigned char byte);
    int codePageOf(const TGroup& group) const;
    const TFont* fontOf(const TGroup& group) const;

    std::string_view In_;
    size_t Pos_ = 0;
    TRtf_Document& Doc_;
    int Code_Page_;
    int Default_Font_ = 0;
    std::vector<TGroup> Stack_;
    int Overflow_Depth_ = 0;  // groups opened past kMax_Depth, ignored whole
    bool Ended_ = false;

    std::map<int, TFont> Fonts_;
    int Font_Being_Defined_ = -1;
    std::string Font_Name_Bytes_;
    std::vector<int32_t> Colors_;
    int Red_ = -1, Green_ = -1, Blue_ = -1;

    TRtf_Paragraph Paragraph_;
    std::string Pending_Bytes_;  // text bytes in the current group's code page
    char32_t High_Surrogate_ = 0;
    int Skip_Count_ = 0;  // fallback characters of \u still to skip

    std::string Hex_;  // picture or object data being collected
    int Hex_Nibble_ = -1;
    TPict_Properties Pict_;
    // The innermost embedded object being read, if any.
    bool In_Object_ = false;
    std::optional<TRtf_Picture> Object_Picture_;
    std::optional<TRtf_Picture> Result_Picture_;
    int Object_Width_ = 0, Object_Height_ = 0;
};

int hexValue(unsigned char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool isLetter(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

TRtf_Read_Status TRtf_Parser::run() {
    Stack_.reserve(64);
    while (Pos_ < In_.size() && !Ended_) {
        auto c = static_cast<unsigned char>(In_[Pos_]);
        if (c == '{') {
            ++Pos_;
            openGroup();
        } else if (c == '}') {
            ++Pos_;
            closeGroup();
        } else if (c == '\\') {
            ++Pos_;
            readControl();
        } else {
            ++Pos_;
            if (Overflow_Depth_ == 0 && !Stack_.empty()) handleByte(c);
        }
    }
    bool complete = Ended_;
    // A note cut short keeps what it said so far.
    if (!Stack_.empty()) flushBytes();
    if (!Paragraph_.Runs.empty()) endParagraph();
    return complete ? TRtf_Read_Status::Complete : TRtf_Read_Status::Truncated;
}

void TRtf_Parser::openGroup() {
    flushBytes();
    Skip_Count_ = 0;
    if (Overflow_Depth_ > 0 || static_cast<int>(Stack_.size()) >= kMax_Depth) {
        ++Overflow_Depth_;
        return;
    }
    TGroup group = Stack_.empty() ? TGroup{} : top();
    if (Stack_.empty()) group.Format.Size_Half_Points = 24;
    group.Ignorable = false;
    Stack_.push_back(std::move(group));
}

void TRtf_Parser::closeGroup() {
    flushBytes();
    Skip_Count_ = 0;
    if (Overflow_Depth_ > 0) {
        --Overflow_Depth_;
        return;
    }
    if (Stack_.empty()) return;
    TGroup closed = std::move(Stack_.back());
    Stack_.pop_back();
    if (Stack_.empty()) {
        Ended_ = true;
        return;
    }
    if (closed.Dest != top().Dest) finishDestination(closed);
}

void TRtf_Parser::finishDestination(const TGroup& closed) {
    switch (closed.Dest) {
        case TDest::Font_Table:
            if (Font_Being_Defined_ >= 0 && !Font_Name_Bytes_.empty()) {
                // A font entry that did not end with ';'.
                handleByte(';');
            }
            Font_Being_Defined_ = -1;
            break;
        case TDest::Pict: {
            auto picture = pictureFromPict(Pict_, std::move(Hex_));
            Hex_.clear();
            if (!picture) break;
            if (In_Object_)
                Result_Picture_ = std::move(picture);
            else
                addPicture(std::move(*picture));
            break;
        }
        case TDest::Object_Data:
            if (In_Object_) Object_Picture_ = pictureFromObjectData(Hex_);
            Hex_.clear();
            break;
        case TDest::Object: {
            In_Object_ = false;
            std::optional<TRtf_Picture> picture =
                Object_Picture_ ? std::move(Object_Picture_) : std::move(Result_Picture_);
            Object_Picture_.reset();
            Result_Picture_.reset();
            if (!picture) break;
            if (Object_Width_ > 0 && Object_Height_ > 0) {
                picture->Width_Twips = Object_Width_;
                picture->Height_Twips = Object_Height_;
            }
            addPicture(std::move(*picture));
            break;
        }
        default:
            break;
    }
}

void TRtf_Parser::readControl() {
    if (Pos_ >= In_.size()) return;
    auto first = static_cast<unsigned char>(In_[Pos_]);
    if (!isLetter(first)) {
        ++Pos_;
        if (Overflow_Depth_ > 0 || Stack_.empty()) return;
        if (first == '\'') {
            int high = Pos_ < In_.size() ? hexValue(In_[Pos_]) : -1;
            int low = Pos_ + 1 < In_.size() ? hexValue(In_[Pos_ + 1]) : -1;
            if (high < 0 || low < 0) return;
            Pos_ += 2;
            if (Skip_Count_ > 0) {
                --Skip_Count_;
                return;
            }
            handleByte(static_cast<unsigned char>(high * 16 + low));
            return;
        }
        if (first == '\\' || first == '{' || first == '}') {
            if (Skip_Count_ > 0) {
                --Skip_Count_;
                return;
            }
            handleByte(first);
            return;
        }
        if (first == '\r' || first == '\n') {
            dispatch("par", false, 0);
            return;
        }
        char symbol[2] = {static_cast<char>(first), 0};
        dispatch(std::string_view(symbol, 1), false, 0);
        return;
    }
    size_t start = Pos_;
    while (Pos_ < In_.size() && isLetter(In_[Pos_])) ++Pos_;
    std::string_view word = In_.substr(start, Pos_ - start);
    bool negative = false;
    if (Pos_ < In_.size() && In_[Pos_] == '-') {
        negative = true;
        ++Pos_;
    }
    bool hasParam = false;
    int64_t value = 0;
    int digits = 0;
    while (Pos_ < In_.size() && In_[Pos_] >= '0' && In_[Pos_] <= '9') {
        if (digits++ < kMax_Digits) value = value * 10 + (In_[Pos_] - '0');
        hasParam = true;
        ++Pos_;
    }
    if (Pos_ < In_.size() && In_[Pos_] == ' ') ++Pos_;
    if (Overflow_Depth_ > 0 || Stack_.empty()) return;
    if (negative) value = -value;
    value = std::clamp<int64_t>(value, INT32_MIN, INT32_MAX);
    if (word.size() > kMax_Word) word = "x-overlong";
    dispatch(word, hasParam, static_cast<int>(value));
}

void TRtf_Parser::handleByte(unsigned char byte) {
    if (byte == '\r' || byte == '\n') return;
    TGroup& group = top();
    switch (group.Dest) {
        case TDest::Text:
            if (Skip_Count_ > 0) {
                --Skip_Count_;
                return;
            }
            addTextByte(byte);
            return;
        case TDest::Font_Table:
            if (byte == ';') {
                if (Font_Being_Defined_ >= 0 &&
                    (Fonts_.size() < kMax_Fonts || Fonts_.count(Font_Being_Defined_))) {
                    TFont& font = Fonts_[Font_Being_Defined_];
                    int codePage = font.Code_Page ? font.Code_Page
                                                  : codePageOfCharset(font.Charset, Code_Page_);
                    font.Name = codePageBytesToUtf8(Font_Name_Bytes_, codePage);
                    while (!font.Name.empty() && font.Name.back() == ' ') font.Name.pop_back();
                }
                Font_Name_Bytes_.clear();
                return;
            }
            if (Font_Name_Bytes_.size() < kMax_Font_Name &&
                !(Font_Name_Bytes_.empty() && byte == ' '))
                Font_Name_Bytes_.push_back(static_cast<char>(byte));
            return;
        case TDest::Color_Table:
            if (byte != ';') return;
            if (Colors_.size() < kMax_Colors) {
                if (Red_ < 0 && Green_ < 0 && Blue_ < 0)
                    Colors_.push_back(kRtf_Color_Auto);
                else
                    Colors_.push_back(std::max(Red_, 0) | (std::max(Green_, 0) << 8) |
                                      (std::max(Blue_, 0) << 16));
            }
            Red_ = Green_ = Blue_ = -1;
            return;
        case TDest::Pict:
        case TDest::Object_Data:
            collectHex(byte);
            return;
        default:
            return;
    }
}

void TRtf_Parser::collectHex(unsigned char byte) {
    int value = hexValue(byte);
    if (value < 0) return;
    if (Hex_Nibble_ < 0) {
        Hex_Nibble_ = value;
        return;
    }
    Hex_.push_back(static_cast<char>(Hex_Nibble_ * 16 + value));
    Hex_Nibble_ = -1;
}

void TRtf_Parser::addTextByte(unsigned char byte) {
    if (byte < 0x20 && byte != '\t') return;
    Pending_Bytes_.push_back(static_cast<char>(byte));
}

const TFont* TRtf_Parser::fontOf(const TGroup& group) const {
    auto found = Fonts_.find(group.Font >= 0 ? group.Font : Default_Font_);
    return found == Fonts_.end() ? nullptr : &found->second;
}

int TRtf_Parser::codePageOf(const TGroup& group) const {
    const TFont* font = fontOf(group);
    if (font == nullptr) return Code_Page_;
    return font->Code_Page ? font->Code_Page : codePageOfCharset(font->Charset, Code_Page_);
}

// The current format with the font resolved, as runs carry it.
TRtf_Char_Format resolvedFormat(const TGroup& group, const TFont* font) {
    TRtf_Char_Format format = group.Format;
    if (font != nullptr) {
        format.Font_Name = font->Name;
        format.Charset = font->Charset;
    }
    return format;
}

void appendText(TRtf_Paragraph& paragraph, const TRtf_Char_Format& format, std::string_view text) {
    if (text.empty()) return;
    if (!paragraph.Runs.empty()) {
        TRtf_Run& last = paragraph.Runs.back();
        if (!last.isPicture() && last.Format == format) {
            last.Text.append(text);
            return;
        }
    }
    TRtf_Run run;
    run.Format = format;
    run.Text.assign(text);
    paragraph.Runs.push_back(std::move(run));
}

void TRtf_Parser::flushBytes() {
    if (Pending_Bytes_.empty() || Stack_.empty()) return;
    std::string text = codePageBytesToUtf8(Pending_Bytes_, codePageOf(top()));
    Pending_Bytes_.clear();
    appendText(Paragraph_, resolvedFormat(top(), fontOf(top())), text);
}

void TRtf_Parser::addCodePoint(char32_t c) {
    flushBytes();
    if (top().Dest != TDest::Text) return;
    std::string text;
    appendUtf8(text, c);
    appendText(Paragraph_, resolvedFormat(top(), fontOf(top())), text);
}

void TRtf_Parser::endParagraph() {
    const TParagraph_Props& props = Stack_.empty() ? TParagraph_Props{} : top().Paragraph;
    Paragraph_.Align = props.Align;
    Paragraph_.Space_Before = props.Space_Before;
    Paragraph_.Space_After = props.Space_After;
    Paragraph_.Bullet = props.Bullet;
    Doc_.Paragraphs.push_back(std::move(Paragraph_));
    Paragraph_ = TRtf_Paragraph{};
}

void TRtf_Parser::addPicture(TRtf_Picture picture) {
    if (Stack_.empty()) return;
    flushBytes();
    TRtf_Run run;
    run.Format = resolvedFormat(top(), fontOf(top()));
    run.Picture = static_cast<int>(Doc_.Pictures.size());
    Doc_.Pictures.push_back(std::move(picture));
    Paragraph_.Runs.push_back(std::move(run));
}

void TRtf_Parser::dispatch(std::string_view word, bool hasParam, int param) {
    bool ignorable = top().Ignorable;
    top().Ignorable = false;
    if (word == "*") {
        flushBytes();
        top().Ignorable = true;
        return;
    }
    if (word != "'" && word != "u") flushBytes();
    if (Skip_Count_ > 0 && word != "u") {
        // A control word stands for one fallback character of \u.
        --Skip_Count_;
        return;
    }
    if (dispatchDestination(word, param)) return;
    if (ignorable) {
        top().Dest = TDest::Skip;
        return;
    }
    dispatchFormat(word, hasParam, param);
}

bool isSkippedDestination(std::string_view word) {
    static constexpr std::string_view kSkipped[] = {"annotation",   "atnauthor",
                                                    "atnid",        "author",
                                                    "bkmkend",      "bkmkstart",
                                                    "buptim",       "colorschememapping",
                                                    "comment",      "creatim",
                                                    "datastore",    "doccomm",
                                                    "docvar",       "falt",
                                                    "fldinst",      "filetbl",
                                                    "footer",       "footerf",
                                                    "footerl",      "footerr",
                                                    "footnote",     "generator",
                                                    "header",       "headerf",
                                                    "headerl",      "headerr",
                                                    "info",         "keywords",
                                                    "latentstyles", "listoverridetable",
                                                    "listtable",    "listtext",
                                                    "nonshppict",   "objclass",
                                                    "objname",      "operator",
                                                    "panose",       "pntext",
                                                    "pntxta",       "pntxtb",
                                                    "printim",      "revtbl",
                                                    "revtim",       "rsidtbl",
                                                    "stylesheet",   "subject",
                                                    "tc",           "template",
                                                    "themedata",    "title",
                                                    "txe",          "userprops",
                                                    "xe",           "xmlnstbl"};
    return std::find(std::begin(kSkipped), std::end(kSkipped), word) != std::end(kSkipped);
}

bool TRtf_Parser::dispatchDestination(std::string_view word, int param) {
    TGroup& group = top();
    if (group.Dest == TDest::Skip) return true;
    if (word == "fonttbl") {
        group.Dest = TDest::Font_Table;
    } else if (word == "colortbl") {
        group.Dest = TDest::Color_Table;
        Red_ = Green_ = Blue_ = -1;
    } else if (word == "pict") {
        if (group.Dest != TDest::Text && group.Dest != TDest::Object) {
            group.Dest = TDest::Skip;
        } else {
            group.Dest = TDest::Pict;
            Pict_ = TPict_Properties{};
            Hex_.clear();
            Hex_Nibble_ = -1;
        }
    } else if (word == "object") {
        if (In_Object_ || group.Dest != TDest::Text) {
            group.Dest = TDest::Skip;
        } else {
            group.Dest = TDest::Object;
            In_Object_ = true;
            Object_Picture_.reset();
            Result_Picture_.reset();
            Object_Width_ = Object_Height_ = 0;
        }
    } else if (word == "objdata") {
        if (group.Dest != TDest::Object) {
            group.Dest = TDest::Skip;
        } else {
            group.Dest = TDest::Object_Data;
            Hex_.clear();
            Hex_Nibble_ = -1;
        }
    } else if (word == "result") {
        // The object's shown form: read only for a picture the data lacks.
        if (group.Dest != TDest::Object) group.Dest = TDest::Skip;
    } else if (word == "pn") {
        group.Dest = TDest::Numbering;
        if (Stack_.size() >= 2) Stack_[Stack_.size() - 2].Paragraph.Bullet = true;
    } else if (isSkippedDestination(word)) {
        group.Dest = TDest::Skip;
    } else if (word == "shppict" || word == "fldrslt" || word == "field") {
        // Their text (or picture) is the note's: read on.
    } else {
        (void)param;
        return false;
    }
    return true;
}

bool TRtf_Parser::dispatchFormat(std::string_view word, bool hasParam, int param) {
    TGroup& group = top();
    TRtf_Char_Format& format = group.Format;
    TParagraph_Props& paragraph = group.Paragraph;
    bool on = !hasParam || param != 0;
    switch (group.Dest) {
        case TDest::Font_Table:
            if (word == "f") {
                Font_Being_Defined_ = param;
                Font_Name_Bytes_.clear();
                if (Fonts_.size() < kMax_Fonts || Fonts_.count(param)) Fonts_[param] = TFont{};
            } else if (word == "fcharset" && Font_Being_Defined_ >= 0) {
                auto found = Fonts_.find(Font_Being_Defined_);
                if (found != Fonts_.end()) found->second.Charset = param;
            } else if (word == "cpg" && Font_Being_Defined_ >= 0) {
                auto found = Fonts_.find(Font_Being_Defined_);
                if (found != Fonts_.end() && codePageTable(param)) found->second.Code_Page = param;
            }
            return true;
        case TDest::Color_Table:
            if (word == "red") Red_ = std::clamp(param, 0, 255);
            if (word == "green") Green_ = std::clamp(param, 0, 255);
            if (word == "blue") Blue_ = std::clamp(param, 0, 255);
            return true;
        case TDest::Pict:
            if (word == "pngblip")
                Pict_.Format = TPict_Format::Png;
            else if (word == "jpegblip")
                Pict_.Format = TPict_Format::Jpeg;
            else if (word == "dibitmap")
                Pict_.Format = TPict_Format::Dib;
            else if (word == "wbitmap")
                Pict_.Format = TPict_Format::Device_Bitmap;
            else if (word == "emfblip" || word == "wmetafile" || word == "macpict" ||
                     word == "pmmetafile" || word == "wbmbitspixel_none")
                Pict_.Format = TPict_Format::Unsupported;
            else if (word == "picw")
                Pict_.Width = param;
            else if (word == "pich")
                Pict_.Height = param;
            else if (word == "picwgoal")
                Pict_.Goal_Width = param;
            else if (word == "pichgoal")
                Pict_.Goal_Height = param;
            else if (word == "picscalex")
                Pict_.Scale_X = std::clamp(param, 1, 1000);
            else if (word == "picscaley")
                Pict_.Scale_Y = std::clamp(param, 1, 1000);
            else if (word == "wbmbitspixel")
                Pict_.Bits_Per_Pixel = param;
            else if (word == "wbmwidthbytes")
                Pict_.Bytes_Per_Row = param;
            else if (word == "bin" && hasParam && param > 0) {
                size_t count = std::min<size_t>(static_cast<size_t>(param), In_.size() - Pos_);
                Hex_.append(In_.substr(Pos_, count));
                Pos_ += count;
            }
            return true;
        case TDest::Object:
            if (word == "objw") Object_Width_ = param;
            if (word == "objh") Object_Height_ = param;
            return true;
        case TDest::Numbering:
            if (word == "pnlvlcont" && Stack_.size() >= 2)
                Stack_[Stack_.size() - 2].Paragraph.Bullet = false;
            return true;
        case TDest::Text:
            break;
        default:
            return true;
    }
    if (word == "bin") {
        // Binary data outside a picture: step over it.
        if (hasParam && param > 0) Pos_ += std::min<size_t>(param, In_.size() - Pos_);
        return true;
    }
    static const std::map<std::string_view, char32_t> kCharacters = {
        {"tab", '\t'},       {"line", '\n'},        {"cell", '\t'},        {"lquote", 0x2018},
        {"rquote", 0x2019},  {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"emdash", 0x2014},
        {"endash", 0x2013},  {"bullet", 0x2022},    {"~", 0x00A0},         {"_", 0x2011},
        {"emspace", 0x2003}, {"enspace", 0x2002},   {"qmspace", 0x2005},
    };
    if (auto found = kCharacters.find(word); found != kCharacters.end()) {
        addCodePoint(found->second);
        return true;
    }
    if (word == "par" || word == "sect" || word == "page" || word == "row") {
        endParagraph();
    } else if (word == "u") {
        flushBytes();
        char32_t c = static_cast<char32_t>(param < 0 ? param + 65536 : param) & 0xFFFF;
        if (c >= 0xD800 && c <= 0xDBFF) {
            High_Surrogate_ = c;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            if (High_Surrogate_)
                addCodePoint(0x10000 + ((High_Surrogate_ - 0xD800) << 10) + (c - 0xDC00));
            High_Surrogate_ = 0;
        } else {
            High_Surrogate_ = 0;
            addCodePoint(c);
        }
        Skip_Count_ = group.Unicode_Skip;
    } else if (word == "uc") {
        group.Unicode_Skip = std::clamp(param, 0, 8);
    } else if (word == "ansicpg") {
        if (codePageTable(param)) Code_Page_ = param;
    } else if (word == "mac") {
        Code_Page_ = 10000;
    } else if (word == "pc") {
        Code_Page_ = 437;
    } else if (word == "pca") {
        Code_Page_ = 850;
    } else if (word == "deff") {
        Default_Font_ = param;
    } else if (word == "plain") {
        format = TRtf_Char_Format{};
        format.Size_Half_Points = 24;
        group.Font = -1;
    } else if (word == "f") {
        group.Font = param;
    } else if (word == "fs") {
        if (hasParam && param > 0) format.Size_Half_Points = std::min(param, kMax_Half_Points);
    } else if (word == "cf") {
        if (param >= 0 && static_cast<size_t>(param) < Colors_.size())
            format.Color = Colors_[param];
        else if (param == 0)
            format.Color = kRtf_Color_Auto;
    } else if (word == "b") {
        format.Bold = on;
    } else if (word == "i") {
        format.Italic = on;
    } else if (word == "ul" || word == "uld" || word == "uldb" || word == "uldash" ||
               word == "ulw" || word == "ulth" || word == "ulwave") {
        format.Underline = on;
    } else if (word == "ulnone") {
        format.Underline = false;
    } else if (word == "pard") {
        paragraph = TParagraph_Props{};
    } else if (word == "ql" || word == "qj") {
        paragraph.Align = word == "ql" ? TRtf_Align::Left : TRtf_Align::Justify;
    } else if (word == "qc") {
        paragraph.Align = TRtf_Align::Center;
    } else if (word == "qr") {
        paragraph.Align = TRtf_Align::Right;
    } else if (word == "sb") {
        paragraph.Space_Before = std::clamp(param, 0, 31680);
    } else if (word == "sa") {
        paragraph.Space_After = std::clamp(param, 0, 31680);
    } else if (word == "ls") {
        if (param > 0) paragraph.Bullet = true;
    }
    return true;
}

}  // namespace

TRtf_Read_Status readRtf(std::string_view rtf, TRtf_Document& document,
                         const TRtf_Read_Options& options) {
    document = TRtf_Document{};
    if (!looksLikeRtf(rtf)) return TRtf_Read_Status::Not_Rtf;
    TRtf_Parser parser(rtf, document, options);
    return parser.run();
}

bool looksLikeRtf(std::string_view bytes) {
    size_t start = 0;
    while (start < bytes.size() && (bytes[start] == ' ' || bytes[start] == '\r' ||
                                    bytes[start] == '\n' || bytes[start] == '\t'))
        ++start;
    return bytes.substr(start, 5) == "{\\rtf";
}

TRtf_Document documentFromPlainText(std::string_view utf8) {
    TRtf_Document document;
    size_t start = 0;
    while (start <= utf8.size()) {
        size_t end = utf8.find('\n', start);
        if (end == std::string_view::npos) end = utf8.size();
        std::string_view line = utf8.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        TRtf_Paragraph paragraph;
        appendText(paragraph, TRtf_Char_Format{}, line);
        document.Paragraphs.push_back(std::move(paragraph));
        if (end == utf8.size()) break;
        start = end + 1;
    }
    return document;
}

}  // namespace vetra
