#pragma once

#include <string>
#include <string_view>

namespace vetra {

// The two text modes: how node texts and the program's own texts are held.
inline constexpr int kTextModeSimplified = 1;   // simplified characters, code page 936 (GBK)
inline constexpr int kTextModeTraditional = 2;  // traditional characters, code page 950 (Big5)

// A converted text and the number of characters that the target could not hold
// (or that the source did not encode validly). Each such character becomes "?",
// so the caller can tell the user rather than lose it silently.
struct TConverted_Text {
    std::string text;
    int replaced = 0;
};

// Code-page bytes of `mode` to UTF-8, and back.
TConverted_Text codePageToUtf8(std::string_view bytes, int mode);
TConverted_Text utf8ToCodePage(std::string_view utf8, int mode);

// Character mapping between simplified and traditional Chinese, on UTF-8 text.
// Characters without a counterpart pass through unchanged.
std::string simplifiedToTraditional(std::string_view utf8);
std::string traditionalToSimplified(std::string_view utf8);

// Re-encodes a caption or excerpt written in `fromMode` for a reader in `toMode`:
// mode 1 to 2 maps to traditional characters and re-encodes GBK as Big5; mode 2
// to 1 re-encodes Big5 as GBK and maps to simplified characters. Any other pair
// leaves the bytes as they are.
TConverted_Text convertBetweenModes(std::string_view bytes, int fromMode, int toMode);

// Bytes in the character that starts with `lead`. One rule for the whole
// program, the code pages' own: 0x81 to 0xFE begin a two-byte character in GBK
// and in Big5; any other byte (0x80 and 0xFF included) stands alone.
inline size_t codePageCharacterLength(unsigned char lead) {
    return lead >= 0x81 && lead <= 0xFE ? 2 : 1;
}
inline size_t codePageCharacterLength(char lead) {
    return codePageCharacterLength(static_cast<unsigned char>(lead));
}

// Byte length of the double-byte-aware prefix of `bytes` that holds at most
// `limit` bytes without splitting a character.
size_t characterPrefixLength(std::string_view bytes, size_t limit);

}  // namespace vetra
