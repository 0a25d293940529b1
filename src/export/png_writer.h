#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace vetra {

// A PNG writer for drawings, fed rows of 4-byte pixels (blue, green, red,
// unused). Drawings are mostly runs of one colour, so rows are coded
// directly into one deflate stream of fixed-code literals and run matches:
// a row equal to the one above becomes an Up-filtered row of zeros, a run of
// equal pixels a run of zero Sub differences, and neither is ever spelled
// out byte by byte. The checksum of a zero run is computed in one step.
class TPng_Writer {
  public:
    // Writes the signature and header; check ok().
    TPng_Writer(FILE* file, int32_t width, int32_t height);
    bool ok() const { return Ok_; }
    void writeRow(const uint8_t* pixels);
    // Ends the stream and writes the last chunks; false when a write failed.
    bool finish();

  private:
    void putBits(uint32_t bits, int count);
    void putLiteral(uint8_t byte);
    void putZeroRun(uint64_t count);
    void putMatch(uint32_t length);
    void reduceAdler();
    void flushChunk(bool force);
    void writeChunk(const char* type, const uint8_t* data, size_t size);

    FILE* File_;
    int32_t Width_;
    std::vector<uint8_t> Previous_;  // the row above, as given
    bool Has_Previous_ = false;
    std::vector<uint8_t> Out_;  // compressed bytes not yet written as a chunk
    uint64_t Bit_Buffer_ = 0;
    int Bit_Count_ = 0;
    uint32_t Adler_A_ = 1, Adler_B_ = 0;
    int32_t Unreduced_ = 0;  // literals summed since the last reduction
    uint8_t Last_Byte_ = 0;
    bool Has_Last_Byte_ = false;
    bool Ok_ = true;
};

}  // namespace vetra
