#include "rtf/rtf_picture.h"

#include <cstdint>

namespace vetra {
namespace {

uint32_t readLittle32(std::string_view bytes, size_t at) {
    if (at + 4 > bytes.size()) return 0;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + at);
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

bool startsWith(std::string_view data, std::string_view prefix) {
    return data.substr(0, prefix.size()) == prefix;
}

constexpr std::string_view kPng_Signature = "\x89PNG\r\n\x1a\n";
constexpr std::string_view kJpeg_Signature = "\xFF\xD8\xFF";

// A bitmap file cut to the size its header gives, when that is shorter.
std::optional<TRtf_Picture> bitmapAt(std::string_view data) {
    if (!startsWith(data, "BM") || data.size() < 26) return std::nullopt;
    uint32_t size = readLittle32(data, 2);
    if (size >= 26 && size < data.size()) data = data.substr(0, size);
    int width = 0, height = 0;
    if (!bitmapFileSize(data, width, height)) return std::nullopt;
    TRtf_Picture picture;
    picture.Data.assign(data);
    return picture;
}

std::optional<TRtf_Picture> fileAt(std::string_view data) {
    if (auto bitmap = bitmapAt(data)) return bitmap;
    TRtf_Picture picture;
    if (startsWith(data, kPng_Signature))
        picture.Kind = TRtf_Picture_Kind::Png;
    else if (startsWith(data, kJpeg_Signature))
        picture.Kind = TRtf_Picture_Kind::Jpeg;
    else
        return std::nullopt;
    picture.Data.assign(data);
    return picture;
}

// Skips a length-prefixed string of an object header; false past the end.
bool skipCountedString(std::string_view data, size_t& at) {
    if (at + 4 > data.size()) return false;
    uint32_t length = readLittle32(data, at);
    at += 4;
    if (length > data.size() - at) return false;
    at += length;
    return true;
}

}  // namespace

std::optional<TRtf_Picture> pictureFromPict(const TPict_Properties& properties, std::string data) {
    TRtf_Picture picture;
    switch (properties.Format) {
        case TPict_Format::Png:
            picture.Kind = TRtf_Picture_Kind::Png;
            picture.Data = std::move(data);
            break;
        case TPict_Format::Jpeg:
            picture.Kind = TRtf_Picture_Kind::Jpeg;
            picture.Data = std::move(data);
            break;
        case TPict_Format::Dib:
            picture.Data = bitmapFileFromDib(data);
            break;
        case TPict_Format::Device_Bitmap:
            picture.Data =
                bitmapFileFromDeviceBits(data, properties.Width, properties.Height,
                                         properties.Bits_Per_Pixel, properties.Bytes_Per_Row);
            break;
        default:
            return std::nullopt;
    }
    if (picture.Data.empty()) return std::nullopt;
    auto scaled = [](int twips, int percent) {
        return static_cast<int>(int64_t{twips} * percent / 100);
    };
    int goalWidth = properties.Goal_Width;
    int goalHeight = properties.Goal_Height;
    // Bitmaps give \picw and \pich in pixels; 15 twips a pixel at 96 dpi.
    if (goalWidth <= 0 && properties.Format != TPict_Format::Png &&
        properties.Format != TPict_Format::Jpeg)
        goalWidth = properties.Width * 15;
    if (goalHeight <= 0 && properties.Format != TPict_Format::Png &&
        properties.Format != TPict_Format::Jpeg)
        goalHeight = properties.Height * 15;
    picture.Width_Twips = goalWidth > 0 ? scaled(goalWidth, properties.Scale_X) : 0;
    picture.Height_Twips = goalHeight > 0 ? scaled(goalHeight, properties.Scale_Y) : 0;
    return picture;
}

std::optional<TRtf_Picture> pictureFromObjectData(std::string_view data) {
    // The common case first: a bitmap object whose header is 31 bytes long.
    if (data.size() > kObject_Header_Size)
        if (auto picture = fileAt(data.substr(kObject_Header_Size))) return picture;
    // Otherwise walk the header: version, format, class, topic, item, size.
    size_t at = 8;
    if (readLittle32(data, 4) != 2) return std::nullopt;  // not an embedded object
    for (int field = 0; field < 3; ++field)
        if (!skipCountedString(data, at)) return std::nullopt;
    if (at + 4 > data.size()) return std::nullopt;
    uint32_t nativeSize = readLittle32(data, at);
    at += 4;
    std::string_view native = data.substr(at);
    if (nativeSize < native.size()) native = native.substr(0, nativeSize);
    return fileAt(native);
}

std::string objectHeaderForBitmap(uint32_t size) {
    // OLE version 0x0501, embedded format, class "PBrush", empty topic and
    // item names, then the size of the native data (the bitmap file).
    std::string header("\x01\x05\x00\x00\x02\x00\x00\x00\x07\x00\x00\x00PBrush\x00", 19);
    header.append(8, '\0');
    for (int i = 0; i < 4; ++i) header.push_back(static_cast<char>((size >> (8 * i)) & 0xFF));
    return header;
}

}  // namespace vetra
