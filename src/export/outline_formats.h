#pragma once

#include <string>
#include <string_view>

#include "export/outline_item.h"

namespace vetra {

// The readers and writers of the outline formats. Readers append to `outline`
// and return false for a document they cannot read (then `outline` holds
// whatever was read and the caller drops it). Writers append UTF-8 text.

// The bytes of a plain-text or Markdown file as UTF-8: UTF-8 when they are
// valid UTF-8 (a byte-order mark is dropped), else GBK or Big5, whichever
// reads more plausibly (the active mode on a tie).
std::string decodeTextFile(std::string_view bytes, int activeMode);

// One entry per non-blank line, nested by indentation (a tab counts four
// columns); "-", "*", "+" and "1." / "1)" list markers are dropped.
bool readIndentedText(std::string_view utf8, TOutline& outline);
// One tab per level; a caption that would read back differently gets a "- ".
void writeIndentedText(const TOutline& outline, std::string& out);

// "#" to "######" headings and nested lists below them; other lines are
// the note of the entry before them. "[caption](address)" carries a link.
bool readMarkdown(std::string_view utf8, TOutline& outline);
// Top entries as "#" headings, the rest as nested "-" lists with notes
// as paragraphs under their entry.
void writeMarkdown(const TOutline& outline, std::string& out);

// OPML 2.0: "outline" elements with "text", "_note", "url" or "htmlUrl";
// the head's "expansionState" gives the folded entries.
bool readOpml(std::string_view bytes, TOutline& outline, std::string* title = nullptr);
void writeOpml(const TOutline& outline, std::string_view title, std::string& out);

// FreeMind and Freeplane maps, 0.9 to 1.x: "node" elements with "TEXT" or a
// rich-content caption, "LINK", "FOLDED", "COLOR", "BACKGROUND_COLOR" and
// a rich-content note.
bool readMindMap(std::string_view bytes, TOutline& outline);
void writeMindMap(const TOutline& outline, std::string& out);

bool readOutline(TOutline_Format format, std::string_view bytes, int activeMode, TOutline& outline,
                 std::string* title = nullptr);
void writeOutline(TOutline_Format format, const TOutline& outline, std::string_view title,
                  std::string& out);

// Shared by the formats: text with surrounding blanks removed, and whether
// a line is blank.
std::string_view trimmed(std::string_view text);
// Length of a list marker and its blank at the start of `text` ("- ", "12. "),
// 0 when there is none.
size_t listMarkerLength(std::string_view text);

}  // namespace vetra
