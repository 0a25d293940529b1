#include "export/code_page.h"

#include <iconv.h>

#include <cerrno>
#include <map>

#include "platform/text_codec.h"
#include "platform/text_mode.h"

namespace vetra {
namespace {

const char* iconvName(int32_t codePage) {
    switch (codePage) {
        case 437:
            return "CP437";
        case 874:
            return "CP874";
        case 932:
            return "CP932";
        case 936:
            return "CP936";
        case 949:
            return "CP949";
        case 950:
            return "CP950";
        case 1250:
            return "CP1250";
        case 1251:
            return "CP1251";
        case 1253:
            return "CP1253";
        case 1254:
            return "CP1254";
        case 1255:
            return "CP1255";
        case 1256:
            return "CP1256";
        case 1257:
            return "CP1257";
        case 1258:
            return "CP1258";
        case 1361:
            return "JOHAB";
        case 10000:
            return "MACINTOSH";
        default:
            return "CP1252";
    }
}

bool isValid(iconv_t cd) {
    return cd != reinterpret_cast<iconv_t>(-1);
}

// One descriptor per direction and page, opened on first use and closed at exit.
struct TDescriptors {
    ~TDescriptors() {
        for (auto& entry : open)
            if (isValid(entry.second)) iconv_close(entry.second);
    }
    std::map<std::pair<std::string, std::string>, iconv_t> open;
};

iconv_t descriptor(const char* to, const char* from) {
    static TDescriptors descriptors;
    auto key = std::make_pair(std::string(to), std::string(from));
    auto found = descriptors.open.find(key);
    if (found != descriptors.open.end()) return found->second;
    iconv_t cd = iconv_open(to, from);
    descriptors.open.emplace(key, cd);
    return cd;
}

// Symbol-font glyphs that notes really use: bullets written by list items.
char32_t symbolGlyph(unsigned char byte) {
    switch (byte) {
        case 0xB7:
            return U'\u2022';
        case 0xA7:
            return U'\u25AA';
        case 0xD8:
            return U'\u2023';
        default:
            return byte;
    }
}

}  // namespace

int32_t codePageForCharset(int32_t charset, int32_t systemCodePage) {
    switch (charset) {
        case 0:
            return 1252;
        case 2:
            return kCode_Page_Symbol;
        case 77:
            return 10000;
        case 128:
            return 932;
        case 129:
            return 949;
        case 130:
            return 1361;
        case 134:
            return kCode_Page_Gbk;
        case 136:
            return kCode_Page_Big5;
        case 161:
            return 1253;
        case 162:
            return 1254;
        case 163:
            return 1258;
        case 177:
            return 1255;
        case 178:
            return 1256;
        case 186:
            return 1257;
        case 204:
            return 1251;
        case 222:
            return 874;
        case 238:
            return 1250;
        case 255:
            return 437;
        default:
            return systemCodePage;
    }
}

int32_t systemCodePage() {
    return activeTextMode() == kTextModeTraditional ? kCode_Page_Big5 : kCode_Page_Gbk;
}

const char* htmlCharsetName(int32_t codePage) {
    return codePage == kCode_Page_Big5 ? "big5" : "gbk";
}

void decodeCodePage(std::string_view bytes, int32_t codePage, std::u32string& out) {
    if (codePage == kCode_Page_Symbol) {
        for (unsigned char byte : bytes) out.push_back(symbolGlyph(byte));
        return;
    }
    iconv_t cd = descriptor("UTF-32LE", iconvName(codePage));
    if (!isValid(cd)) {
        for (unsigned char byte : bytes) out.push_back(byte < 0x80 ? byte : U'\uFFFD');
        return;
    }
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* to = buffer;
        size_t toLeft = sizeof buffer;
        size_t rc = iconv(cd, &in, &inLeft, &to, &toLeft);
        for (char* p = buffer; p + 4 <= to; p += 4) {
            const auto* b = reinterpret_cast<const unsigned char*>(p);
            out.push_back(char32_t{b[0]} | char32_t{b[1]} << 8 | char32_t{b[2]} << 16 |
                          char32_t{b[3]} << 24);
        }
        if (rc != static_cast<size_t>(-1) || errno == E2BIG) continue;
        // A byte that starts no character, or a character cut off at the end.
        out.push_back(U'\uFFFD');
        ++in;
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
}

void encodeCodePage(const std::u32string& characters, int32_t codePage, std::string& text,
                    std::vector<std::pair<size_t, char32_t>>& unencodable) {
    iconv_t cd = descriptor(iconvName(codePage), "UTF-32LE");
    for (size_t i = 0; i < characters.size();) {
        const char32_t c = characters[i];
        if (c < 0x80) {
            text.push_back(static_cast<char>(c));
            ++i;
            continue;
        }
        // A stretch of non-ASCII characters goes through iconv in one call.
        size_t end = i;
        while (end < characters.size() && characters[end] >= 0x80) ++end;
        std::string utf32;
        for (size_t k = i; k < end; ++k)
            for (int shift = 0; shift < 32; shift += 8)
                utf32.push_back(static_cast<char>((characters[k] >> shift) & 0xFF));
        char* in = utf32.data();
        size_t inLeft = utf32.size();
        if (isValid(cd)) iconv(cd, nullptr, nullptr, nullptr, nullptr);
        while (inLeft > 0) {
            char buffer[4096];
            char* to = buffer;
            size_t toLeft = sizeof buffer;
            size_t rc =
                isValid(cd) ? iconv(cd, &in, &inLeft, &to, &toLeft) : static_cast<size_t>(-1);
            text.append(buffer, static_cast<size_t>(to - buffer));
            if (rc != static_cast<size_t>(-1) || (isValid(cd) && errno == E2BIG)) continue;
            const size_t index = end - inLeft / 4;
            unencodable.emplace_back(text.size(), characters[index]);
            in += 4;
            inLeft -= 4;
            if (isValid(cd)) iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
        i = end;
    }
}

}  // namespace vetra
