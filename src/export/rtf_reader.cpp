#include "export/rtf_reader.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "export/code_page.h"
#include "platform/text_codec.h"

namespace vetra {
namespace {

enum class TWord {
    Fcharset,
    Rtf,
    Fonttbl,
    Colortbl,
    Objdata,
    Pict,
    Hex,
    Star,
    Bin,
    Bold,
    Italic,
    Underline,
    Ulnone,
    Font,
    Color,
    Size,
    Red,
    Green,
    Blue,
    Unicode,
    Uc,
    Tab,
    Line,
    Par,
    Char,
    Skip_Group,
    Picture_Jpeg,
    Picture_Png,
    Picture_Dib,
    Nothing
};

struct TWord_Entry {
    std::string_view word;
    TWord action;
    char32_t character = 0;
};

// The dispatch table. Destinations whose text is not part of the note (and
// pictures stored only as metafiles) are skipped as whole groups; any other
// unknown word is ignored, so the text of groups such as {\lang1033 ...} or a
// field's result is kept.
constexpr TWord_Entry kWords[] = {
    {"fcharset", TWord::Fcharset},
    {"rtf", TWord::Rtf},
    {"fonttbl", TWord::Fonttbl},
    {"colortbl", TWord::Colortbl},
    {"objdata", TWord::Objdata},
    {"pict", TWord::Pict},
    {"'", TWord::Hex},
    {"*", TWord::Star},
    {"bin", TWord::Bin},
    {"b", TWord::Bold},
    {"i", TWord::Italic},
    {"ul", TWord::Underline},
    {"ulnone", TWord::Ulnone},
    {"f", TWord::Font},
    {"cf", TWord::Color},
    {"fs", TWord::Size},
    {"red", TWord::Red},
    {"green", TWord::Green},
    {"blue", TWord::Blue},
    {"u", TWord::Unicode},
    {"uc", TWord::Uc},
    {"tab", TWord::Tab},
    {"line", TWord::Line},
    {"par", TWord::Par},
    {"\n", TWord::Par},
    {"\r", TWord::Par},
    {"sect", TWord::Par},
    {"page", TWord::Par},
    {"row", TWord::Par},
    {"cell", TWord::Tab},
    {"{", TWord::Char, U'{'},
    {"}", TWord::Char, U'}'},
    {"\\", TWord::Char, U'\\'},
    {"~", TWord::Char, U'\u00A0'},
    {"_", TWord::Char, U'-'},
    {"lquote", TWord::Char, U'\u2018'},
    {"rquote", TWord::Char, U'\u2019'},
    {"ldblquote", TWord::Char, U'\u201C'},
    {"rdblquote", TWord::Char, U'\u201D'},
    {"emdash", TWord::Char, U'\u2014'},
    {"endash", TWord::Char, U'\u2013'},
    {"bullet", TWord::Char, U'\u2022'},
    {"jpegblip", TWord::Picture_Jpeg},
    {"pngblip", TWord::Picture_Png},
    {"dibitmap", TWord::Picture_Dib},
    {"stylesheet", TWord::Skip_Group},
    {"info", TWord::Skip_Group},
    {"object", TWord::Skip_Group},
    {"result", TWord::Skip_Group},
    {"header", TWord::Skip_Group},
    {"footer", TWord::Skip_Group},
    {"headerl", TWord::Skip_Group},
    {"headerr", TWord::Skip_Group},
    {"headerf", TWord::Skip_Group},
    {"footerl", TWord::Skip_Group},
    {"footerr", TWord::Skip_Group},
    {"footerf", TWord::Skip_Group},
    {"footnote", TWord::Skip_Group},
    {"fldinst", TWord::Skip_Group},
    {"listtable", TWord::Skip_Group},
    {"listoverridetable", TWord::Skip_Group},
    {"revtbl", TWord::Skip_Group},
    {"rsidtbl", TWord::Skip_Group},
    {"generator", TWord::Skip_Group},
    {"themedata", TWord::Skip_Group},
    {"colorschememapping", TWord::Skip_Group},
    {"latentstyles", TWord::Skip_Group},
    {"datastore", TWord::Skip_Group},
    {"xmlnstbl", TWord::Skip_Group},
    {"nonshppict", TWord::Skip_Group},
    {"pn", TWord::Skip_Group},
    {"filetbl", TWord::Skip_Group},
    {"template", TWord::Skip_Group},
    {"objclass", TWord::Skip_Group},
    {"bkmkstart", TWord::Skip_Group},
    {"bkmkend", TWord::Skip_Group},
    {"wmetafile", TWord::Skip_Group},
    {"emfblip", TWord::Skip_Group},
    {"macpict", TWord::Skip_Group},
};

const TWord_Entry* findWord(std::string_view word) {
    for (const TWord_Entry& entry : kWords)
        if (entry.word == word) return &entry;
    return nullptr;
}

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Copies at most size - 1 bytes, never splitting a double-byte character.
void copyName(char* to, size_t size, std::string_view from) {
    const size_t length = characterPrefixLength(from, size - 1);
    std::memcpy(to, from.data(), length);
    to[length] = '\0';
}

}  // namespace

TRtf_Reader::TRtf_Reader() : System_Code_Page(systemCodePage()) {}

TRtf_Reader::~TRtf_Reader() = default;

void TRtf_Reader::parse(std::string_view text) {
    for (size_t at = 0; at < text.size();) {
        const char c = text[at++];
        if (c == '\0') break;
        if (c == '{' || c == '}') {
            // A brace ends an unfinished \' escape and any pending fallback.
            Hex_Digits_ = 0;
            Skip_Fallback_ = 0;
            flush(c == '}');
            if (c == '{')
                pushGroup();
            else
                popGroup();
            continue;
        }
        if (c == '\\') {
            Hex_Digits_ = 0;
            readControlWord(text, at);
            continue;
        }
        if (c == '\n' || c == '\r') continue;
        if (!hasGroup()) continue;
        if (Hex_Digits_ > 0) {
            const int value = hexValue(c);
            if (value >= 0) {
                Hex_Value_ = Hex_Value_ * 16 + value;
                if (--Hex_Digits_ == 0) {
                    if (Skip_Fallback_ > 0)
                        --Skip_Fallback_;
                    else
                        collect(static_cast<char>(Hex_Value_));
                }
                continue;
            }
            Hex_Digits_ = 0;  // not a hex digit: the escape is dropped, the byte kept
        }
        if (Skip_Fallback_ > 0) {
            --Skip_Fallback_;
            continue;
        }
        if (c == ';') {
            const int32_t destination = current().Destination;
            if (destination == kDest_Color_Table) {
                ++Color_Counter_;
                Colors_.emplace_back();
                continue;
            }
            if (destination != kDest_Document) continue;
        }
        collect(c);
    }
    flush(true);
}

void TRtf_Reader::readControlWord(std::string_view text, size_t& at) {
    if (at >= text.size() || text[at] == '\0') return;
    if (!isLetter(text[at])) {
        const std::string_view symbol = text.substr(at++, 1);
        if (Skip_Fallback_ > 0 && symbol != "'") {
            --Skip_Fallback_;  // a control symbol stands for one fallback byte
            return;
        }
        dispatch(symbol, false, 0);
        return;
    }
    const size_t start = at;
    while (at < text.size() && isLetter(text[at])) ++at;
    const std::string_view word = text.substr(start, std::min<size_t>(at - start, 63));
    bool negative = false;
    if (at < text.size() && text[at] == '-') {
        negative = true;
        if (++at >= text.size()) return;
    }
    bool hasParam = false;
    int64_t value = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
        hasParam = true;
        if (value < int64_t{1} << 40) value = value * 10 + (text[at] - '0');
        ++at;
    }
    if (negative) value = -value;
    value = std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                std::numeric_limits<int32_t>::max());
    // Only the one space that delimits the word belongs to it.
    if (at < text.size() && text[at] == ' ') ++at;
    if (Skip_Fallback_ > 0) {
        --Skip_Fallback_;
        return;
    }
    if (word == "bin") {
        // Binary data follows; it belongs to a picture this reader skips.
        const int64_t length = hasParam ? std::max<int64_t>(value, 0) : 0;
        at += static_cast<size_t>(std::min<int64_t>(length, int64_t(text.size() - at)));
        return;
    }
    dispatch(word, hasParam, static_cast<int32_t>(value));
}

void TRtf_Reader::dispatch(std::string_view word, bool hasParam, int32_t param) {
    if (!hasGroup()) return;
    Rtf_Node_Stru* group = &current();
    const TWord_Entry* entry = findWord(word);
    const TWord action = entry != nullptr ? entry->action : TWord::Nothing;
    const bool first = group->Group_Word[0] == '\0';
    auto setDestination = [&](int32_t destination) {
        group->Destination = destination;
        group->Owns_Destination = true;
    };
    switch (action) {
        case TWord::Fcharset:
            if (group->Destination == kDest_Font_Table) {
                Rtf_Font_Stru& font = fontEntry(group->Group_Param);
                font.Charset = param;
                font.Code_Page = codePageForCharset(param, System_Code_Page);
            }
            break;
        case TWord::Rtf:
            group->Destination = kDest_Document;
            break;
        case TWord::Fonttbl:
            group->Destination = kDest_Font_Table;
            break;
        case TWord::Colortbl:
            group->Destination = kDest_Color_Table;
            break;
        case TWord::Objdata:
            setDestination(kDest_Object_Data);
            group->Ignore = 0;
            Raw_.clear();
            break;
        case TWord::Pict:
            if (!first || group->Ignore) {
                group->Ignore = 1;
                group->Destination = kDest_Skipped;
                break;
            }
            setDestination(kDest_Picture);
            Picture_Kind_ = TPicture_Kind::None;
            Raw_.clear();
            break;
        case TWord::Picture_Jpeg:
            Picture_Kind_ = TPicture_Kind::Jpeg;
            break;
        case TWord::Picture_Png:
            Picture_Kind_ = TPicture_Kind::Png;
            break;
        case TWord::Picture_Dib:
            Picture_Kind_ = TPicture_Kind::Bitmap;
            break;
        case TWord::Hex:
            Hex_Digits_ = 2;
            Hex_Value_ = 0;
            break;
        case TWord::Star:
            group->Ignore = 1;
            break;
        case TWord::Bin:
            break;
        case TWord::Bold:
        case TWord::Italic:
        case TWord::Underline:
        case TWord::Ulnone: {
            flush(false);
            const int32_t bit = action == TWord::Bold ? 1 : action == TWord::Italic ? 2 : 4;
            const bool on = action == TWord::Underline ||
                            (action != TWord::Ulnone && !(hasParam && param == 0));
            group->Style = on ? group->Style | bit : group->Style & ~bit;
            break;
        }
        case TWord::Font: {
            flush(false);
            const int32_t number = hasParam ? param : 0;
            if (group->Destination == kDest_Font_Table) break;
            for (const Rtf_Font_Stru& font : Fonts_) {
                if (font.Number != number) continue;
                copyName(group->Font_Name, sizeof group->Font_Name, font.Name);
                group->Charset = font.Charset;
                group->Code_Page = font.Code_Page;
                break;
            }
            break;
        }
        case TWord::Color: {
            flush(false);
            const int32_t index = hasParam ? param : 0;
            if (index >= 0 && index < static_cast<int32_t>(Colors_.size())) {
                const Rtf_Color_Stru& color = Colors_[static_cast<size_t>(index)];
                group->Color = static_cast<uint32_t>(
                    ((color.Red & 0xFF) << 16) | ((color.Green & 0xFF) << 8) | (color.Blue & 0xFF));
            }
            break;
        }
        case TWord::Size:
            flush(false);
            group->Font_Size = hasParam ? param : 1;
            break;
        case TWord::Red:
        case TWord::Green:
        case TWord::Blue: {
            if (group->Destination != kDest_Color_Table) break;
            const size_t index = static_cast<size_t>(std::max(Color_Counter_, 0));
            if (index >= Colors_.size()) Colors_.resize(index + 1);
            Rtf_Color_Stru& color = Colors_[index];
            int32_t& channel = action == TWord::Red     ? color.Red
                               : action == TWord::Green ? color.Green
                                                        : color.Blue;
            channel = hasParam ? param : 1;
            break;
        }
        case TWord::Unicode: {
            if (!hasParam) break;
            const auto unit = static_cast<char16_t>(static_cast<uint32_t>(param) & 0xFFFF);
            Skip_Fallback_ = std::max(group->Unicode_Skip, 0);
            if (unit >= 0xD800 && unit < 0xDC00) {
                High_Surrogate_ = unit;
                break;
            }
            char32_t character = unit;
            if (unit >= 0xDC00 && unit < 0xE000)
                character =
                    High_Surrogate_ != 0
                        ? 0x10000 + ((char32_t{High_Surrogate_} - 0xD800) << 10) + (unit - 0xDC00)
                        : U'\uFFFD';
            High_Surrogate_ = 0;
            collectCharacter(character == 0 ? U'\uFFFD' : character);
            break;
        }
        case TWord::Uc:
            group->Unicode_Skip = hasParam ? std::clamp(param, 0, 16) : 1;
            break;
        case TWord::Tab:
            collect('\t');
            break;
        case TWord::Line:
        case TWord::Par:
            collect('\n');
            break;
        case TWord::Char:
            if (entry->character < 0x80)
                collect(static_cast<char>(entry->character));
            else
                collectCharacter(entry->character);
            break;
        case TWord::Skip_Group:
            if (first) {
                group->Ignore = 1;
                group->Destination = kDest_Skipped;
            }
            break;
        case TWord::Nothing:
            break;
    }
    if (first && Overflow_Depth_ == 0) {
        copyName(group->Group_Word, sizeof group->Group_Word, word);
        group->Group_Param = hasParam ? param : 0;
    }
}

void TRtf_Reader::pushGroup() {
    if (static_cast<int32_t>(Groups_.size()) >= kMax_Depth) {
        ++Overflow_Depth_;
        return;
    }
    Rtf_Node_Stru group;
    if (hasGroup()) {
        group = current();
        group.Depth = current().Depth + 1;
    } else {
        group.Depth = 1;
    }
    group.Group_Word[0] = '\0';
    group.Group_Param = 0;
    group.Owns_Destination = false;
    Groups_.push_back(group);
}

void TRtf_Reader::popGroup() {
    if (Overflow_Depth_ > 0) {
        --Overflow_Depth_;
        return;
    }
    if (hasGroup()) Groups_.pop_back();
    High_Surrogate_ = 0;
}

void TRtf_Reader::collect(char byte) {
    if (!hasGroup() || current().Ignore) return;
    Raw_.push_back(byte);
}

void TRtf_Reader::collectCharacter(char32_t character) {
    if (!hasGroup() || current().Ignore || current().Destination != kDest_Document) return;
    convertPending();
    Run_.Characters.emplace_back(Run_.Text.size(), character);
}

void TRtf_Reader::convertPending() {
    if (Raw_.empty()) return;
    const int32_t codePage = current().Code_Page;
    if (codePage == 0 || codePage == System_Code_Page) {
        Run_.Text += Raw_;
    } else {
        std::u32string characters;
        decodeCodePage(Raw_, codePage, characters);
        encodeCodePage(characters, System_Code_Page, Run_.Text, Run_.Characters);
    }
    Raw_.clear();
}

Rtf_Font_Stru& TRtf_Reader::fontEntry(int32_t number) {
    for (Rtf_Font_Stru& font : Fonts_)
        if (font.Number == number) return font;
    Rtf_Font_Stru& font = Fonts_.emplace_back();
    font.Number = number;
    font.Code_Page = System_Code_Page;
    return font;
}

void TRtf_Reader::flush(bool closing) {
    if (!hasGroup()) {
        Raw_.clear();
        Run_.clear();
        return;
    }
    Rtf_Node_Stru& group = current();
    switch (group.Destination) {
        case kDest_Font_Table: {
            if (Raw_.empty()) return;
            Rtf_Font_Stru& font = fontEntry(group.Group_Param);
            std::u32string characters;
            decodeCodePage(Raw_, font.Code_Page == 0 ? System_Code_Page : font.Code_Page,
                           characters);
            std::string name;
            std::vector<std::pair<size_t, char32_t>> unencodable;
            encodeCodePage(characters, System_Code_Page, name, unencodable);
            copyName(font.Name, sizeof font.Name, name);
            break;
        }
        case kDest_Document:
            convertPending();
            if (!Run_.empty()) emitRun(Run_, group);
            break;
        case kDest_Object_Data:
        case kDest_Picture:
            // The data is whole only when the group that holds it closes.
            if (!closing || !group.Owns_Destination || Overflow_Depth_ > 0) return;
            if (group.Destination == kDest_Object_Data)
                objectData(Raw_);
            else
                pictureData();
            break;
        default:
            break;
    }
    Raw_.clear();
    Run_.clear();
}

namespace {

// Decodes pairs of hex digits, skipping anything else (line breaks).
std::string decodeHex(std::string_view hex) {
    std::string bytes;
    bytes.reserve(hex.size() / 2);
    int high = -1;
    for (char c : hex) {
        const int value = hexValue(c);
        if (value < 0) continue;
        if (high < 0) {
            high = value;
        } else {
            bytes.push_back(static_cast<char>(high * 16 + value));
            high = -1;
        }
    }
    return bytes;
}

// The Windows bitmap file header that turns packed DIB data into a file.
std::string bitmapFileFromDib(std::string_view dib) {
    std::string file = "BM";
    auto put32 = [&](uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8)
            file.push_back(static_cast<char>(value >> shift));
    };
    put32(static_cast<uint32_t>(dib.size() + 14));
    put32(0);
    put32(0);  // pixel offset: the bitmap reader works it out from the header
    file += dib;
    return file;
}

}  // namespace

void TRtf_Reader::objectData(std::string_view hex) {
    // The object's first 31 bytes (62 hex digits) are a header; a Windows
    // bitmap file follows.
    if (hex.size() <= 62) return;
    const std::string bytes = decodeHex(hex.substr(62));
    if (bytes.size() < 2) return;
    writePicture(bytes, TPicture_Kind::Bitmap);
}

void TRtf_Reader::pictureData() {
    if (Picture_Kind_ == TPicture_Kind::None) return;
    const std::string bytes = decodeHex(Raw_);
    if (bytes.empty()) return;
    if (Picture_Kind_ == TPicture_Kind::Bitmap)
        writePicture(bitmapFileFromDib(bytes), TPicture_Kind::Bitmap);
    else
        writePicture(bytes, Picture_Kind_);
}

}  // namespace vetra
