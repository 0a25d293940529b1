#pragma once

#include <string>
#include <string_view>

namespace vetra {

// The plain text of a note's RTF, as bytes in the code page of `textMode`,
// paragraphs and line breaks joined with "\r\n" (a final paragraph mark adds
// none). Font, colour, style and information tables, pictures, objects and
// other "\*" destinations are skipped; \'xx bytes are taken as they are and
// \uN characters are converted (a character the code page lacks becomes "?").
// Groups are tracked with a counter and a small stack of skip flags, so any
// nesting depth is safe; an unbalanced or cut note gives what it held.
std::string rtfPlainText(std::string_view rtf, int textMode);

}  // namespace vetra
