#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vetra {

// Text written into an HTML page, escaped for where it goes. Texts are bytes
// in the page's code page; a byte of 0x80 or above starts a double-byte
// character and is copied with the byte after it.

// Note text inside an element: "&", "<", ">" and quotes escaped, spaces as
// "&nbsp;", a tab as four, every line break as "<br>\n".
void appendNoteHtml(std::string& out, std::string_view text);

// A caption or other plain text inside an element or a quoted attribute
// value ("&", "<", ">", both quotes).
void appendEscaped(std::string& out, std::string_view text);
std::string escaped(std::string_view text);

// True when a link may be written as an href: not a script or data address.
bool isSafeLink(std::string_view link);

// A file name as a relative address: bytes that are not safe in an address
// (non-ASCII bytes of a UTF-8 name among them) are percent-encoded, so the
// address reaches the file whatever the page's code page.
std::string fileAddress(std::string_view fileName);

// The path with the extension of its file name cut (from the last "." of the
// last component; a "." in a directory name is not an extension).
std::string withoutExtension(std::string_view path);
// The last component of a path.
std::string_view fileNamePart(std::string_view path);
// The directory of a path, with its trailing "/" ("" for a bare name).
std::string_view directoryPart(std::string_view path);

// Mark of the i-th child (from 1) of the node with mark `parent` ("0" for the
// root). Two digits a level, as the mark numbers m * 100 + i read, while the
// indexes stay below 100; past that, "_i" segments, so marks never collide
// and never overflow.
std::string childMark(std::string_view parent, int32_t index);

// The declaration of the page's character set, a line of the head.
std::string charsetMeta();

}  // namespace vetra
