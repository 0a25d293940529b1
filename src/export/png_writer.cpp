#include "export/png_writer.h"

#include <zlib.h>

#include <cstring>

namespace vetra {
namespace {

constexpr uint32_t kAdler_Base = 65521;
constexpr size_t kChunk_Bytes = 1 << 20;

void put32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

// Deflate's Huffman codes are sent most significant bit first; the bit
// buffer takes bits least significant first, so codes are reversed.
uint32_t reversed(uint32_t code, int length) {
    uint32_t result = 0;
    for (int i = 0; i < length; ++i) result = (result << 1) | ((code >> i) & 1);
    return result;
}

// Length codes 257..284 with their base lengths and extra bits.
struct TLength_Code {
    uint16_t base;
    uint8_t extra;
};
constexpr TLength_Code kLengths[] = {
    {3, 0},  {4, 0},  {5, 0},  {6, 0},   {7, 0},   {8, 0},   {9, 0},   {10, 0}, {11, 1}, {13, 1},
    {15, 1}, {17, 1}, {19, 2}, {23, 2},  {27, 2},  {31, 2},  {35, 3},  {43, 3}, {51, 3}, {59, 3},
    {67, 4}, {83, 4}, {99, 4}, {115, 4}, {131, 5}, {163, 5}, {195, 5}, {227, 5}};

// Fixed codes of the 256 literals, bit-reversed for the bit buffer.
struct TLiteral_Codes {
    uint16_t code[256];
    uint8_t length[256];
    TLiteral_Codes() {
        for (int b = 0; b < 256; ++b) {
            length[b] = b < 144 ? 8 : 9;
            code[b] = static_cast<uint16_t>(b < 144 ? reversed(0x30 + b, 8)
                                                    : reversed(0x190 + b - 144, 9));
        }
    }
};
const TLiteral_Codes kLiterals;

}  // namespace

TPng_Writer::TPng_Writer(FILE* file, int32_t width, int32_t height)
    : File_(file), Width_(width), Previous_(static_cast<size_t>(width) * 4) {
    static const uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Ok_ = std::fwrite(kSignature, 1, sizeof kSignature, File_) == sizeof kSignature;
    std::vector<uint8_t> header;
    put32(header, static_cast<uint32_t>(width));
    put32(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, no interlace
    writeChunk("IHDR", header.data(), header.size());
    std::vector<uint8_t> density;
    put32(density, 3780);  // 96 dpi
    put32(density, 3780);
    density.push_back(1);
    writeChunk("pHYs", density.data(), density.size());
    Out_ = {0x78, 0x01};  // zlib header: deflate, 32 KB window, fastest
    // One block of fixed codes holds the whole picture, so it is the final one.
    putBits(1, 1);
    putBits(1, 2);
}

void TPng_Writer::putBits(uint32_t bits, int count) {
    Bit_Buffer_ |= static_cast<uint64_t>(bits) << Bit_Count_;
    Bit_Count_ += count;
    if (Bit_Count_ < 32) return;
    const size_t at = Out_.size();
    Out_.resize(at + 4);
    for (int i = 0; i < 4; ++i) Out_[at + i] = static_cast<uint8_t>(Bit_Buffer_ >> (8 * i));
    Bit_Buffer_ >>= 32;
    Bit_Count_ -= 32;
}

void TPng_Writer::putLiteral(uint8_t byte) {
    putBits(kLiterals.code[byte], kLiterals.length[byte]);
    // The sums are reduced before they could overflow, not at every byte.
    Adler_A_ += byte;
    Adler_B_ += Adler_A_;
    if (++Unreduced_ == 5552) reduceAdler();
    Last_Byte_ = byte;
    Has_Last_Byte_ = true;
}

void TPng_Writer::reduceAdler() {
    Adler_A_ %= kAdler_Base;
    Adler_B_ %= kAdler_Base;
    Unreduced_ = 0;
}

// A match of `length` (3..258) bytes at distance 1: copies of the last byte.
void TPng_Writer::putMatch(uint32_t length) {
    if (length == 258) {
        putBits(reversed(0xC5, 8), 8);  // code 285: 11000101
    } else {
        int index = 27;
        while (kLengths[index].base > length) --index;
        const uint32_t code = 257 + static_cast<uint32_t>(index);
        if (code < 280)
            putBits(reversed(code - 256, 7), 7);
        else
            putBits(reversed(0xC0 + code - 280, 8), 8);
        putBits(length - kLengths[index].base, kLengths[index].extra);
    }
    putBits(0, 5);  // distance code 0: distance 1
}

void TPng_Writer::putZeroRun(uint64_t count) {
    if (count == 0) return;
    if (!Has_Last_Byte_ || Last_Byte_ != 0) {
        putLiteral(0);
        --count;
    }
    // The checksum of zeros: A stays, B grows by A for each byte.
    reduceAdler();
    Adler_B_ = static_cast<uint32_t>((Adler_B_ + (count % kAdler_Base) * Adler_A_) % kAdler_Base);
    while (count >= 3) {
        const uint32_t length = count >= 258 + 3 || count == 258 ? 258
                                : count > 258                    ? static_cast<uint32_t>(count - 3)
                                                                 : static_cast<uint32_t>(count);
        putMatch(length);
        count -= length;
    }
    // One or two zeros left: literals, whose checksum was already counted.
    for (; count > 0; --count) putBits(reversed(0x30, 8), 8);
    flushChunk(false);
}

void TPng_Writer::writeRow(const uint8_t* pixels) {
    const size_t rowBytes = static_cast<size_t>(Width_) * 4;
    if (Has_Previous_ && std::memcmp(pixels, Previous_.data(), rowBytes) == 0) {
        putLiteral(2);  // Up: every difference is zero
        putZeroRun(static_cast<uint64_t>(Width_) * 3);
        return;
    }
    putLiteral(1);      // Sub: differences from the pixel to the left
    uint32_t left = 0;  // 0x00RRGGBB of the pixel to the left (black before the first)
    uint64_t zeros = 0;
    for (int32_t x = 0; x < Width_; ++x) {
        uint32_t pixel;
        std::memcpy(&pixel, pixels + static_cast<size_t>(x) * 4, 4);
        pixel &= 0xFFFFFF;
        if (pixel == left && x > 0) {
            // Runs of the same colour are most of a drawing: skip them two
            // pixels at a time while both match.
            uint64_t pair = 0;
            const uint64_t same = (uint64_t{left} << 32) | left;
            int32_t end = x + 1;
            while (end + 1 < Width_) {
                std::memcpy(&pair, pixels + static_cast<size_t>(end) * 4, 8);
                if ((pair & 0x00FFFFFF00FFFFFFull) != same) break;
                end += 2;
            }
            zeros += 3 * static_cast<uint64_t>(end - x);
            x = end - 1;
            continue;
        }
        putZeroRun(zeros);
        zeros = 0;
        putLiteral(static_cast<uint8_t>((pixel >> 16) - (left >> 16)));
        putLiteral(static_cast<uint8_t>((pixel >> 8) - (left >> 8)));
        putLiteral(static_cast<uint8_t>(pixel - left));
        left = pixel;
    }
    putZeroRun(zeros);
    std::memcpy(Previous_.data(), pixels, rowBytes);
    Has_Previous_ = true;
    flushChunk(false);
}

void TPng_Writer::flushChunk(bool force) {
    if (Out_.size() < kChunk_Bytes && !(force && !Out_.empty())) return;
    writeChunk("IDAT", Out_.data(), Out_.size());
    Out_.clear();
}

bool TPng_Writer::finish() {
    putBits(0, 7);  // end of block
    while (Bit_Count_ > 0) {
        Out_.push_back(static_cast<uint8_t>(Bit_Buffer_));
        Bit_Buffer_ >>= 8;
        Bit_Count_ = Bit_Count_ > 8 ? Bit_Count_ - 8 : 0;
    }
    reduceAdler();
    put32(Out_, (Adler_B_ << 16) | Adler_A_);
    flushChunk(true);
    writeChunk("IEND", nullptr, 0);
    return Ok_;
}

void TPng_Writer::writeChunk(const char* type, const uint8_t* data, size_t size) {
    std::vector<uint8_t> head;
    put32(head, static_cast<uint32_t>(size));
    head.insert(head.end(), type, type + 4);
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(type), 4);
    if (size > 0) crc = crc32(crc, data, static_cast<uInt>(size));
    std::vector<uint8_t> tail;
    put32(tail, static_cast<uint32_t>(crc));
    Ok_ = Ok_ && std::fwrite(head.data(), 1, head.size(), File_) == head.size() &&
          (size == 0 || std::fwrite(data, 1, size, File_) == size) &&
          std::fwrite(tail.data(), 1, tail.size(), File_) == tail.size();
}

}  // namespace vetra
