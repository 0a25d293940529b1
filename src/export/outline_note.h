#pragma once

#include <string>
#include <string_view>

namespace vetra {

// Notes are RTF documents; the outline formats carry them as plain text.
// `mode` is the text mode whose code page the note's bytes use.

// The plain UTF-8 text of a stored note, one line a paragraph. A note that
// is not RTF is taken as plain text in the code page.
std::string notePlainText(std::string_view note, int mode);
// A note holding the UTF-8 text, one paragraph a line.
std::string noteFromPlainText(std::string_view utf8, int mode);

}  // namespace vetra
