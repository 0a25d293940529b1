#pragma once

#include <string>

namespace vetra {

// The one rule every HTML and XML writer here shares: the characters that
// would be read as markup, written as entities. What else a writer does with
// spaces, line breaks and control characters differs by format and stays
// with that writer.

// Which quotes a text must escape: none in XML element text, the double quote
// in a double-quoted attribute, both in HTML, where one escaped text may be
// placed in element text or in either kind of quoted attribute.
enum class TQuote_Escape { None, Double, Both };

// The entity for `c` when it would be read as markup ("&", "<", ">", and the
// quotes `quotes` names), or null when `c` stands for itself.
inline const char* markupEntity(char c, TQuote_Escape quotes) {
    switch (c) {
        case '&':
            return "&amp;";
        case '<':
            return "&lt;";
        case '>':
            return "&gt;";
        case '"':
            return quotes == TQuote_Escape::None ? nullptr : "&quot;";
        case '\'':
            return quotes == TQuote_Escape::Both ? "&#39;" : nullptr;
        default:
            return nullptr;
    }
}

// Appends `c`, as its entity when it is a markup character. Returns false
// when it appended nothing because `c` is not one.
inline bool appendMarkupEntity(char c, TQuote_Escape quotes, std::string& out) {
    const char* entity = markupEntity(c, quotes);
    if (entity == nullptr) return false;
    out += entity;
    return true;
}

}  // namespace vetra
