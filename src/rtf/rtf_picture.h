#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "rtf/rtf_document.h"

namespace vetra {

// How a \pict group said its bytes are to be read.
enum class TPict_Format { Unknown, Png, Jpeg, Dib, Device_Bitmap, Unsupported };

struct TPict_Properties {
    TPict_Format Format = TPict_Format::Unknown;
    int Width = 0, Height = 0;            // \picw \pich (pixels for bitmaps)
    int Goal_Width = 0, Goal_Height = 0;  // \picwgoal \pichgoal, twips
    int Scale_X = 100, Scale_Y = 100;     // percent
    int Bits_Per_Pixel = 1;               // \wbmbitspixel
    int Bytes_Per_Row = 0;                // \wbmwidthbytes
};

// The picture a \pict group's data makes, if it makes one we can show.
std::optional<TRtf_Picture> pictureFromPict(const TPict_Properties& properties, std::string data);

// The picture inside embedded-object data: an object header (31 bytes for a
// bitmap object) followed by a Windows bitmap file, or a PNG or JPEG file.
std::optional<TRtf_Picture> pictureFromObjectData(std::string_view data);

// The object header the writer puts before a bitmap file of `size` bytes.
std::string objectHeaderForBitmap(uint32_t size);
inline constexpr size_t kObject_Header_Size = 31;

}  // namespace vetra
