#pragma once

#include <string>

#include "rtf/rtf_document.h"

namespace vetra {

struct TRtf_Write_Options {
    // \ansicpg of the note, and the code page of fonts whose charset is not known.
    int Code_Page = 936;
    // Used for runs without a font name.
    std::string Default_Font = "\xE5\xAE\x8B\xE4\xBD\x93";  // 宋体
};

// Writes the note as a rich-edit control would: a font and colour table,
// characters as \'xx bytes of their font's code page, \uN with a "?" fallback
// for those the code page lacks, and bitmap pictures as embedded objects whose
// data is an object header followed by the bitmap file. PNG and JPEG pictures
// are written as \pict groups.
std::string writeRtf(const TRtf_Document& document, const TRtf_Write_Options& options = {});

}  // namespace vetra
