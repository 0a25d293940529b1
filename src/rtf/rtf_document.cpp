#include "rtf/rtf_document.h"

#include <cstring>

namespace vetra {
namespace {

constexpr size_t kFile_Header_Size = 14;
constexpr size_t kInfo_Header_Size = 40;
// Pictures larger than this are not made: no note holds a bitmap of 256 MB.
constexpr int64_t kMax_Bitmap_Bytes = int64_t{256} << 20;

uint32_t readLittle32(std::string_view bytes, size_t at) {
    if (at + 4 > bytes.size()) return 0;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + at);
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

uint16_t readLittle16(std::string_view bytes, size_t at) {
    if (at + 2 > bytes.size()) return 0;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + at);
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

void putLittle32(std::string& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void putLittle16(std::string& out, uint16_t value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>(value >> 8));
}

std::string fileHeader(uint32_t fileSize, uint32_t bitsOffset) {
    std::string header = "BM";
    putLittle32(header, fileSize);
    putLittle32(header, 0);
    putLittle32(header, bitsOffset);
    return header;
}

}  // namespace

std::vector<std::string> plainTextLines(const TRtf_Document& document) {
    std::vector<std::string> lines;
    for (const TRtf_Paragraph& paragraph : document.Paragraphs) {
        std::string line;
        for (const TRtf_Run& run : paragraph.Runs) {
            if (run.isPicture()) {
                line += "[picture]";
                continue;
            }
            for (char c : run.Text) {
                if (c != '\n') {
                    line.push_back(c);
                    continue;
                }
                lines.push_back(std::move(line));
                line.clear();
            }
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

std::string bitmapFileFromDib(std::string_view dib) {
    uint32_t headerSize = readLittle32(dib, 0);
    if (headerSize < 12 || headerSize > dib.size()) return {};
    uint32_t colours = 0;
    if (headerSize == 12) {
        uint16_t bits = readLittle16(dib, 10);
        if (bits <= 8) colours = (1u << bits) * 3;
    } else {
        uint16_t bits = readLittle16(dib, 14);
        uint32_t compression = readLittle32(dib, 16);
        uint32_t used = readLittle32(dib, 32);
        if (used > 65536) return {};
        if (used == 0 && bits <= 8) used = 1u << bits;
        colours = used * 4;
        if (compression == 3 && headerSize == kInfo_Header_Size) colours += 12;
    }
    uint64_t bitsOffset = kFile_Header_Size + uint64_t{headerSize} + colours;
    if (bitsOffset > kFile_Header_Size + dib.size()) return {};
    std::string file = fileHeader(static_cast<uint32_t>(kFile_Header_Size + dib.size()),
                                  static_cast<uint32_t>(bitsOffset));
    file.append(dib);
    return file;
}

std::string bitmapFileFromDeviceBits(std::string_view bits, int width, int height, int bitsPerPixel,
                                     int bytesPerRow) {
    if (width <= 0 || height <= 0 || width > 32767 || height > 32767) return {};
    if (bitsPerPixel != 1 && bitsPerPixel != 24 && bitsPerPixel != 32) return {};
    int64_t minimumRow = (int64_t{width} * bitsPerPixel + 7) / 8;
    if (bytesPerRow <= 0) bytesPerRow = static_cast<int>(((minimumRow + 1) / 2) * 2);
    if (bytesPerRow < minimumRow) return {};
    if (int64_t{bytesPerRow} * height > static_cast<int64_t>(bits.size())) return {};
    int64_t fileRow = ((minimumRow + 3) / 4) * 4;
    int64_t imageSize = fileRow * height;
    if (imageSize > kMax_Bitmap_Bytes) return {};
    uint32_t colours = bitsPerPixel == 1 ? 8 : 0;
    uint32_t bitsOffset = kFile_Header_Size + kInfo_Header_Size + colours;
    std::string file = fileHeader(static_cast<uint32_t>(bitsOffset + imageSize), bitsOffset);
    putLittle32(file, kInfo_Header_Size);
    putLittle32(file, static_cast<uint32_t>(width));
    putLittle32(file, static_cast<uint32_t>(height));
    putLittle16(file, 1);
    putLittle16(file, static_cast<uint16_t>(bitsPerPixel));
    for (int i = 0; i < 6; ++i) putLittle32(file, i == 1 ? static_cast<uint32_t>(imageSize) : 0);
    if (bitsPerPixel == 1) {
        putLittle32(file, 0x00000000);
        putLittle32(file, 0x00FFFFFF);
    }
    // Device rows run top-down, a bitmap file's bottom-up.
    for (int row = height - 1; row >= 0; --row) {
        size_t start = file.size();
        file.append(
            bits.substr(static_cast<size_t>(row) * bytesPerRow, static_cast<size_t>(minimumRow)));
        file.resize(start + static_cast<size_t>(fileRow), '\0');
    }
    return file;
}

bool bitmapFileSize(std::string_view file, int& width, int& height) {
    if (file.size() < kFile_Header_Size + 12 || file.substr(0, 2) != "BM") return false;
    uint32_t headerSize = readLittle32(file, kFile_Header_Size);
    if (headerSize == 12) {
        width = readLittle16(file, 18);
        height = readLittle16(file, 20);
    } else {
        width = static_cast<int32_t>(readLittle32(file, 18));
        height = static_cast<int32_t>(readLittle32(file, 22));
    }
    if (height < 0 && height > -(1 << 30)) height = -height;
    return width > 0 && height > 0;
}

}  // namespace vetra
