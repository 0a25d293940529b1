#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace vetra {

// A picture decoded from a note into 4-byte pixels (blue, green, red,
// unused), rows top to bottom.
struct TDecoded_Picture {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint8_t> Pixels;
};

// Pictures larger than this are not decoded: a note cannot justify more.
inline constexpr int64_t kMax_Note_Picture_Pixels = int64_t{1} << 26;

// Decodes a Windows bitmap file: 1, 4, 8, 16, 24 and 32 bits per pixel,
// uncompressed or with bit fields, bottom-up or top-down. False when the
// bytes are not such a file or are cut short.
bool decodeBitmapFile(std::string_view bytes, TDecoded_Picture& picture);

// Decodes a PNG file.
bool decodePngFile(std::string_view bytes, TDecoded_Picture& picture);

}  // namespace vetra
