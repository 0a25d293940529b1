#include "export/rtf_plain_text.h"

#include <cctype>
#include <charconv>
#include <vector>

#include "platform/text_codec.h"

namespace vetra {
namespace {

bool isSkippedDestination(std::string_view word) {
    static constexpr std::string_view kSkipped[] = {
        "fonttbl", "colortbl",  "stylesheet", "info",      "pict",
        "object",  "header",    "footer",     "headerl",   "headerr",
        "footerl", "footerr",   "footnote",   "listtable", "listoverridetable",
        "rsidtbl", "generator", "xmlnstbl",   "themedata", "datastore"};
    for (std::string_view skipped : kSkipped)
        if (word == skipped) return true;
    return false;
}

std::string utf8Of(char32_t point) {
    std::string out;
    if (point < 0x80) {
        out += static_cast<char>(point);
    } else if (point < 0x800) {
        out += static_cast<char>(0xC0 | (point >> 6));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (point >> 12));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    }
    return out;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

}  // namespace

std::string rtfPlainText(std::string_view rtf, int textMode) {
    std::string text;
    // One entry per open group: whether it is skipped, and its \uc count.
    struct TGroup {
        bool skip;
        int unicodeSkip;
    };
    std::vector<TGroup> groups{{false, 1}};
    int pendingSkip = 0;  // fallback characters still to drop after a \uN
    bool groupStart = false;
    size_t i = 0;
    auto emit = [&](std::string_view bytes) {
        if (!groups.back().skip) text += bytes;
    };
    while (i < rtf.size()) {
        const char c = rtf[i];
        if (c == '{') {
            groups.push_back(groups.back());
            groupStart = true;
            pendingSkip = 0;
            ++i;
            continue;
        }
        if (c == '}') {
            if (groups.size() > 1) groups.pop_back();
            groupStart = false;
            pendingSkip = 0;
            ++i;
            continue;
        }
        const bool firstInGroup = groupStart;
        groupStart = false;
        if (c == '\r' || c == '\n') {
            ++i;
            continue;
        }
        if (c != '\\') {
            if (pendingSkip > 0)
                --pendingSkip;
            else
                emit(std::string_view(&rtf[i], 1));
            ++i;
            continue;
        }
        if (i + 1 >= rtf.size()) break;
        const char next = rtf[i + 1];
        if (next == '\'') {
            const int high = i + 2 < rtf.size() ? hexValue(rtf[i + 2]) : -1;
            const int low = i + 3 < rtf.size() ? hexValue(rtf[i + 3]) : -1;
            i += 4;
            if (high < 0 || low < 0) continue;
            if (pendingSkip > 0) {
                --pendingSkip;
                continue;
            }
            const char byte = static_cast<char>(high * 16 + low);
            emit(std::string_view(&byte, 1));
            continue;
        }
        if (next == '*') {
            if (firstInGroup) groups.back().skip = true;
            i += 2;
            continue;
        }
        if (!std::isalpha(static_cast<unsigned char>(next))) {
            // Control symbols: escaped characters, non-breaking space and hyphen.
            if (next == '\\' || next == '{' || next == '}') emit(std::string_view(&rtf[i + 1], 1));
            if (next == '~') emit(" ");
            i += 2;
            continue;
        }
        size_t end = i + 1;
        while (end < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[end]))) ++end;
        const std::string_view word = rtf.substr(i + 1, end - i - 1);
        int value = 0;
        bool hasValue = false;
        if (end < rtf.size() &&
            (rtf[end] == '-' || std::isdigit(static_cast<unsigned char>(rtf[end])))) {
            auto [stop, error] = std::from_chars(rtf.data() + end, rtf.data() + rtf.size(), value);
            hasValue = error == std::errc();
            end = static_cast<size_t>(stop - rtf.data());
        }
        if (end < rtf.size() && rtf[end] == ' ') ++end;  // the delimiting space
        i = end;
        if (firstInGroup && isSkippedDestination(word)) {
            groups.back().skip = true;
        } else if (word == "par" || word == "line") {
            emit("\r\n");
        } else if (word == "tab") {
            emit("\t");
        } else if (word == "uc" && hasValue) {
            groups.back().unicodeSkip = value < 0 ? 0 : value;
        } else if (word == "u" && hasValue) {
            const char32_t point = static_cast<char32_t>(value < 0 ? value + 65536 : value);
            emit(utf8ToCodePage(utf8Of(point), textMode).text);
            pendingSkip = groups.back().unicodeSkip;
        }
    }
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0)
        text.resize(text.size() - 2);
    return text;
}

}  // namespace vetra
