#include "export/code_page.h"

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
    convertWithIconv(
        cd, bytes,
        [&](std::string_view converted) {
            const auto* b = reinterpret_cast<const unsigned char*>(converted.data());
            for (size_t k = 0; k + 4 <= converted.size(); k += 4)
                out.push_back(char32_t{b[k]} | char32_t{b[k + 1]} << 8 | char32_t{b[k + 2]} << 16 |
                              char32_t{b[k + 3]} << 24);
        },
        [&](std::string_view) {
            // A byte that starts no character, or a character cut off at the end.
            out.push_back(U'\uFFFD');
            return size_t{1};
        });
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
        // A character the page cannot hold writes nothing; its place is kept.
        auto keepPlace = [&](std::string_view rest) {
            unencodable.emplace_back(text.size(), characters[end - rest.size() / 4]);
            return size_t{4};
        };
        if (isValidIconv(cd)) {
            convertWithIconv(
                cd, utf32, [&](std::string_view converted) { text += converted; }, keepPlace);
        } else {
            for (std::string_view rest = utf32; !rest.empty(); rest.remove_prefix(4))
                keepPlace(rest);
        }
        i = end;
    }
}

}  // namespace vetra
