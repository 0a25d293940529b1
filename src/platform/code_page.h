#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vetra {

// Windows code pages by number (936 GBK, 950 Big5, 1252 Western, ...), for
// texts that name their code page themselves, such as RTF notes.

// 936 and 950 are the two text modes' pages.
inline constexpr int32_t kCode_Page_Gbk = 936;
inline constexpr int32_t kCode_Page_Big5 = 950;

// The code page of the active text mode (936 or 950).
int32_t systemCodePage();

// The name iconv knows a code page by ("CP936").
std::string iconvCodePageName(int codePage);

// The code page of a Windows font charset (134 GBK, 136 Big5, 0 ANSI, ...);
// `fallback` for a charset without one of its own (default, symbol, OEM
// and any this program does not know).
int codePageOfCharset(int charset, int fallback);
// The charset that names a code page (936 -> 134), 0 for the Western ones.
int charsetOfCodePage(int codePage);

// Decodes code-page bytes to UTF-8. A byte sequence the code page does not
// define becomes U+FFFD; an unknown code page is read as 1252.
std::string codePageBytesToUtf8(std::string_view bytes, int codePage);

// How each character of the Basic Multilingual Plane is written in one code
// page: up to two bytes, or none when the code page cannot hold it. Built once
// per code page and kept for the run.
class TCode_Page_Table {
  public:
    struct TEncoded {
        uint8_t size = 0;  // 0: not in the code page
        uint8_t bytes[2] = {0, 0};
    };
    explicit TCode_Page_Table(int codePage);
    const TEncoded& encode(char32_t character) const {
        static const TEncoded none;
        return character < Table_.size() ? Table_[character] : none;
    }

  private:
    std::array<TEncoded, 0x10000> Table_{};
};

// The table of a code page, or null when the system cannot convert it.
const TCode_Page_Table* codePageTable(int codePage);

}  // namespace vetra
