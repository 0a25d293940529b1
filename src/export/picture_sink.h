#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace vetra {

// Why a picture file could not be written.
enum class TPicture_Error { None, Cannot_Create, Too_Large, Write_Failed };

enum class TPicture_Format { Bmp, Jpeg, Png };

// A picture file written a band of rows at a time, so no bitmap of the whole
// picture is ever held. Pixels are 4 bytes: blue, green, red, unused (the
// layout of a 32-bit RGB image on this machine). Rows arrive top to bottom,
// or bottom to top when the format stores them so (bottomUp).
class TPicture_Sink {
  public:
    virtual ~TPicture_Sink() = default;
    virtual bool bottomUp() const { return false; }
    // `rows` rows starting at `pixels`, `stride` bytes apart, always given
    // top row first; a bottom-up sink writes them last row first.
    virtual bool writeRows(const uint8_t* pixels, size_t stride, int32_t rows) = 0;
    // Completes and closes the file; false when any write failed.
    virtual bool finish() = 0;
};

// The largest picture each format can hold; bigger ones are refused.
bool fitsFormat(TPicture_Format format, int64_t width, int64_t height);

// Creates the file for a picture of width x height pixels; null with the
// reason in `error` when the format cannot hold it or the file cannot be made.
// `quality` is for JPEG (libjpeg's default is 75).
std::unique_ptr<TPicture_Sink> openPictureSink(TPicture_Format format, const std::string& path,
                                               int32_t width, int32_t height, TPicture_Error& error,
                                               int32_t quality = 75);

}  // namespace vetra
