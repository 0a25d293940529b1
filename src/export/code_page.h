#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/code_page.h"

namespace vetra {

// Code pages by their Windows numbers, as RTF names them through \fcharset;
// the charset table and the text modes' pages are the platform's.
// The Symbol font's charset: its bytes are glyph numbers, not a code page.
inline constexpr int32_t kCode_Page_Symbol = 42;

// The code page of an RTF font charset: the platform's table, with Symbol
// (charset 2) as kCode_Page_Symbol; `systemCodePage` for charset 1 (default)
// and for charsets this program does not know.
int32_t codePageForCharset(int32_t charset, int32_t systemCodePage);

// The name a page declares for bytes of `codePage` ("gbk", "big5").
const char* htmlCharsetName(int32_t codePage);

// Decodes bytes of `codePage` into code points; bytes that do not form a
// character become U+FFFD, so no text after them is lost.
void decodeCodePage(std::string_view bytes, int32_t codePage, std::u32string& out);

// Encodes code points into `codePage` bytes, appended to `text`. A character
// the page cannot hold is not replaced by "?": its position and code point go
// into `unencodable` (offset into `text`), for the caller to write as a
// character reference.
void encodeCodePage(const std::u32string& characters, int32_t codePage, std::string& text,
                    std::vector<std::pair<size_t, char32_t>>& unencodable);

}  // namespace vetra
