// A small RTF reader and writer that is enough for plain-text notes: the
// reader keeps the characters of the body and drops formatting, tables of
// fonts and colours, pictures and other destinations.
#include "export/outline_note.h"

#include <cctype>
#include <cstdlib>
#include <vector>

#include "platform/text_codec.h"

namespace vetra {
namespace {

// Destinations whose text is not part of the note.
bool isSkippedDestination(std::string_view word) {
    static const std::string_view kSkipped[] = {
        "fonttbl",      "colortbl", "stylesheet", "info",      "pict",      "object",
        "header",       "footer",   "footnote",   "listtable", "themedata", "datastore",
        "latentstyles", "rsidtbl",  "generator",  "xmlnstbl",  "mmathPr"};
    for (std::string_view skipped : kSkipped)
        if (word == skipped) return true;
    return false;
}

class TPlain_Text_Builder {
  public:
    explicit TPlain_Text_Builder(int mode) : Mode_(mode) {}
    void byte(char c) { Pending_ += c; }
    void utf8(std::string_view text) {
        flush();
        Text_ += text;
    }
    std::string finish() {
        flush();
        while (!Text_.empty() && (Text_.back() == '\n' || Text_.back() == ' ')) Text_.pop_back();
        return std::move(Text_);
    }

  private:
    void flush() {
        if (Pending_.empty()) return;
        Text_ += codePageToUtf8(Pending_, Mode_).text;
        Pending_.clear();
    }
    int Mode_;
    std::string Pending_;  // code-page bytes not yet converted
    std::string Text_;
};

void appendUtf8(uint32_t code, std::string& out) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

}  // namespace

std::string notePlainText(std::string_view note, int mode) {
    if (!note.starts_with("{\\rtf")) return codePageToUtf8(note, mode).text;
    TPlain_Text_Builder text(mode);
    struct TGroup {
        bool skipped;
        int unicodeSkip;
    };
    std::vector<TGroup> groups{{false, 1}};
    int skipAfterUnicode = 0;
    size_t i = 0;
    while (i < note.size()) {
        char c = note[i];
        if (c == '{') {
            groups.push_back(groups.back());
            ++i;
            if (note.substr(i).starts_with("\\*")) groups.back().skipped = true;
            continue;
        }
        if (c == '}') {
            if (groups.size() > 1) groups.pop_back();
            ++i;
            continue;
        }
        TGroup& group = groups.back();
        if (c == '\r' || c == '\n') {
            ++i;
            continue;
        }
        if (c != '\\') {
            if (skipAfterUnicode > 0)
                --skipAfterUnicode;
            else if (!group.skipped)
                text.byte(c);
            ++i;
            continue;
        }
        if (i + 1 >= note.size()) break;
        char next = note[i + 1];
        if (next == '\'' && i + 3 < note.size()) {
            char hex[3] = {note[i + 2], note[i + 3], 0};
            i += 4;
            if (skipAfterUnicode > 0)
                --skipAfterUnicode;
            else if (!group.skipped)
                text.byte(static_cast<char>(std::strtol(hex, nullptr, 16)));
            continue;
        }
        if (!std::isalpha(static_cast<unsigned char>(next))) {
            i += 2;
            if (!group.skipped && (next == '\\' || next == '{' || next == '}')) text.byte(next);
            continue;
        }
        size_t start = i + 1, end = start;
        while (end < note.size() && std::isalpha(static_cast<unsigned char>(note[end]))) ++end;
        std::string_view word = note.substr(start, end - start);
        size_t numberEnd = end;
        if (numberEnd < note.size() && note[numberEnd] == '-') ++numberEnd;
        while (numberEnd < note.size() &&
               std::isdigit(static_cast<unsigned char>(note[numberEnd])) && numberEnd - end < 10)
            ++numberEnd;
        long number =
            numberEnd > end
                ? std::strtol(std::string(note.substr(end, numberEnd - end)).c_str(), nullptr, 10)
                : 0;
        i = numberEnd;
        if (i < note.size() && note[i] == ' ') ++i;
        if (isSkippedDestination(word)) {
            group.skipped = true;
        } else if (word == "uc") {
            group.unicodeSkip = static_cast<int>(number);
        } else if (group.skipped) {
            continue;
        } else if (word == "par" || word == "line") {
            text.utf8("\n");
        } else if (word == "tab") {
            text.utf8("\t");
        } else if (word == "u") {
            std::string utf8;
            appendUtf8(static_cast<uint32_t>(number < 0 ? number + 65536 : number) & 0xFFFF, utf8);
            text.utf8(utf8);
            skipAfterUnicode = group.unicodeSkip;
        }
    }
    return text.finish();
}

std::string noteFromPlainText(std::string_view utf8, int mode) {
    std::string rtf = mode == kTextModeTraditional
                          ? "{\\rtf1\\ansi\\ansicpg950\\deff0{\\fonttbl{\\f0\\fnil\\fcharset136 "
                            "PMingLiU;}}\n\\viewkind4\\uc1\\pard\\f0\\fs20 "
                          : "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 "
                            "\\'cb\\'ce\\'cc\\'e5;}}\n\\viewkind4\\uc1\\pard\\f0\\fs20 ";
    size_t i = 0;
    while (i < utf8.size()) {
        auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            char c = utf8[i++];
            if (c == '\n')
                rtf += "\\par\n";
            else if (c == '\t')
                rtf += "\\tab ";
            else if (c == '\\' || c == '{' || c == '}')
                (rtf += '\\') += c;
            else if (c != '\r')
                rtf += c;
            continue;
        }
        size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        if (i + length > utf8.size()) length = utf8.size() - i;
        std::string_view character = utf8.substr(i, length);
        i += length;
        TConverted_Text bytes = utf8ToCodePage(character, mode);
        if (bytes.replaced == 0) {
            char hex[8];
            for (char b : bytes.text) {
                std::snprintf(hex, sizeof hex, "\\'%02x", static_cast<unsigned char>(b));
                rtf += hex;
            }
            continue;
        }
        // Characters the code page lacks go as Unicode with a "?" fallback;
        // those beyond 16 bits as their surrogate pair.
        uint32_t code = 0;
        for (size_t k = 0; k < character.size(); ++k)
            code = k == 0 ? lead & (0xFF >> (length + 1)) : (code << 6) | (character[k] & 0x3F);
        auto appendUnit = [&rtf](uint32_t unit) {
            rtf += "\\u" + std::to_string(static_cast<int16_t>(unit)) + "?";
        };
        if (code >= 0x10000) {
            code -= 0x10000;
            appendUnit(0xD800 | (code >> 10));
            appendUnit(0xDC00 | (code & 0x3FF));
        } else {
            appendUnit(code);
        }
    }
    rtf += "\\par\n}\n";
    return rtf;
}

}  // namespace vetra
