#include "export/bitmap_file.h"

#include <png.h>

#include <cstring>

namespace vetra {
namespace {

uint32_t read32(std::string_view bytes, size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
    return value;
}

uint16_t read16(std::string_view bytes, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(bytes[at]) |
                                 static_cast<uint8_t>(bytes[at + 1]) << 8);
}

// Scales a bit-field channel to 8 bits.
uint8_t channel(uint32_t pixel, uint32_t mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (((mask >> shift) & 1) == 0) ++shift;
    const uint32_t max = mask >> shift;
    return static_cast<uint8_t>(((pixel & mask) >> shift) * 255 / max);
}

}  // namespace

bool decodeBitmapFile(std::string_view bytes, TDecoded_Picture& picture) {
    if (bytes.size() < 26 || bytes[0] != 'B' || bytes[1] != 'M') return false;
    const uint32_t headerSize = read32(bytes, 14);
    int64_t width = 0, height = 0;
    uint32_t bits = 0, compression = 0, colorsUsed = 0;
    size_t paletteEntry = 4;
    if (headerSize == 12) {
        width = read16(bytes, 18);
        height = static_cast<int16_t>(read16(bytes, 20));
        bits = read16(bytes, 24);
        paletteEntry = 3;
    } else if (headerSize >= 40 && bytes.size() >= 14 + size_t{40}) {
        width = static_cast<int32_t>(read32(bytes, 18));
        height = static_cast<int32_t>(read32(bytes, 22));
        bits = read16(bytes, 28);
        compression = read32(bytes, 30);
        colorsUsed = read32(bytes, 46);
    } else {
        return false;
    }
    const bool topDown = height < 0;
    if (topDown) height = -height;
    if (width < 1 || height < 1 || width * height > kMax_Note_Picture_Pixels) return false;
    if (compression != 0 && compression != 3) return false;  // run-length and embedded: not used
    uint32_t masks[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};
    if (bits == 16) masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    size_t paletteAt = 14 + headerSize;
    if (compression == 3) {
        const size_t maskAt = headerSize == 40 ? paletteAt : 14 + 40;
        if (bytes.size() < maskAt + 12) return false;
        for (int i = 0; i < 3; ++i) masks[i] = read32(bytes, maskAt + 4 * static_cast<size_t>(i));
        if (headerSize == 40) paletteAt += 12;
    }
    const uint32_t paletteCount = bits <= 8 ? (colorsUsed != 0 ? colorsUsed : 1u << bits) : 0;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
    if (paletteCount > 256) return false;
    const size_t pixelsAt = paletteAt + paletteCount * paletteEntry;
    const size_t rowBytes = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
    if (bytes.size() < pixelsAt ||
        (bytes.size() - pixelsAt) / rowBytes < static_cast<size_t>(height))
        return false;
    picture.Width = static_cast<int32_t>(width);
    picture.Height = static_cast<int32_t>(height);
    picture.Pixels.assign(static_cast<size_t>(width * height) * 4, 0);
    for (int64_t y = 0; y < height; ++y) {
        const size_t sourceRow = static_cast<size_t>(topDown ? y : height - 1 - y);
        const auto* in =
            reinterpret_cast<const uint8_t*>(bytes.data() + pixelsAt + sourceRow * rowBytes);
        uint8_t* out = picture.Pixels.data() + static_cast<size_t>(y * width) * 4;
        for (int64_t x = 0; x < width; ++x, out += 4) {
            if (bits <= 8) {
                const size_t bit = static_cast<size_t>(x) * bits;
                const uint32_t index = (in[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                if (index >= paletteCount) continue;
                std::memcpy(out, bytes.data() + paletteAt + index * paletteEntry, 3);
            } else if (bits == 24 || (bits == 32 && compression == 0)) {
                std::memcpy(out, in + static_cast<size_t>(x) * (bits / 8), 3);
            } else {
                const size_t at = static_cast<size_t>(x) * (bits / 8);
                const uint32_t pixel =
                    bits == 16
                        ? uint32_t{in[at]} | uint32_t{in[at + 1]} << 8
                        : read32(std::string_view(reinterpret_cast<const char*>(in + at), 4), 0);
                out[0] = channel(pixel, masks[2]);
                out[1] = channel(pixel, masks[1]);
                out[2] = channel(pixel, masks[0]);
            }
        }
    }
    return true;
}

bool decodePngFile(std::string_view bytes, TDecoded_Picture& picture) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return false;
    if (int64_t{image.width} * image.height > kMax_Note_Picture_Pixels || image.width == 0) {
        png_image_free(&image);
        return false;
    }
    // Transparent parts are composed on white, as the note shows them.
    image.format = PNG_FORMAT_BGR;
    picture.Width = static_cast<int32_t>(image.width);
    picture.Height = static_cast<int32_t>(image.height);
    std::vector<uint8_t> packed(PNG_IMAGE_SIZE(image));
    png_color white{255, 255, 255};
    if (!png_image_finish_read(&image, &white, packed.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    const size_t count = static_cast<size_t>(picture.Width) * static_cast<size_t>(picture.Height);
    picture.Pixels.assign(count * 4, 0);
    for (size_t i = 0; i < count; ++i) std::memcpy(&picture.Pixels[i * 4], &packed[i * 3], 3);
    return true;
}

}  // namespace vetra
