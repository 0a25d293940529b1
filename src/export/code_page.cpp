#include "export/code_page.h"

#include <cerrno>

#include "platform/iconv_descriptor.h"

namespace vetra {
namespace {

// The iconv name of a code page. The pages come from codePageForCharset or
// the system page, so all are known to iconv; 10000 is the one iconv does
// not know by its number.
std::string iconvName(int32_t codePage) {
    return codePage == 10000 ? std::string("MACINTOSH") : iconvCodePageName(codePage);
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
    // The Symbol charset is a page of its own here, so its bullets decode as
    // glyphs; the shared table leaves it to the caller's page.
    if (charset == 2) return kCode_Page_Symbol;
    return codePageOfCharset(charset, systemCodePage);
}

const char* htmlCharsetName(int32_t codePage) {
    return codePage == kCode_Page_Big5 ? "big5" : "gbk";
}

void decodeCodePage(std::string_view bytes, int32_t codePage, std::u32string& out) {
    if (codePage == kCode_Page_Symbol) {
        for (unsigned char byte : bytes) out.push_back(symbolGlyph(byte));
        return;
    }
    iconv_t cd = cachedIconv("UTF-32LE", iconvName(codePage).c_str());
    if (!isValidIconv(cd)) {
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
    iconv_t cd = cachedIconv(iconvName(codePage).c_str(), "UTF-32LE");
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
        if (isValidIconv(cd)) iconv(cd, nullptr, nullptr, nullptr, nullptr);
        while (inLeft > 0) {
            char buffer[4096];
            char* to = buffer;
            size_t toLeft = sizeof buffer;
            size_t rc =
                isValidIconv(cd) ? iconv(cd, &in, &inLeft, &to, &toLeft) : static_cast<size_t>(-1);
            text.append(buffer, static_cast<size_t>(to - buffer));
            if (rc != static_cast<size_t>(-1) || (isValidIconv(cd) && errno == E2BIG)) continue;
            const size_t index = end - inLeft / 4;
            unencodable.emplace_back(text.size(), characters[index]);
            in += 4;
            inLeft -= 4;
            if (isValidIconv(cd)) iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
        i = end;
    }
}

}  // namespace vetra
