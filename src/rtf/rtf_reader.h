#pragma once

#include <string_view>

#include "rtf/rtf_document.h"

namespace vetra {

struct TRtf_Read_Options {
    // The code page of \'xx bytes under fonts whose charset does not name
    // one, until the note's \ansicpg says otherwise.
    int Default_Code_Page = 936;
};

enum class TRtf_Read_Status {
    Complete,   // every group closed
    Truncated,  // the text ended inside a group: what was read is kept
    Not_Rtf,    // the text does not begin with "{\rtf"; nothing was read
};

// Reads a note written by a rich-edit control or by writeRtf. Unknown control
// words are skipped; damaged input yields what could be read. No recursion on
// the input's nesting, and no allocation beyond what the input could fill.
TRtf_Read_Status readRtf(std::string_view rtf, TRtf_Document& document,
                         const TRtf_Read_Options& options = {});

// True when the bytes look like RTF rather than plain text.
bool looksLikeRtf(std::string_view bytes);

// A document of one plain UTF-8 text: a paragraph per line.
TRtf_Document documentFromPlainText(std::string_view utf8);

}  // namespace vetra
