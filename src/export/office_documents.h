#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "model/tree_node.h"
#include "rtf/rtf_document.h"

namespace vetra {

// A node's note as a document; none when the node has no note, no stored
// note and no excerpt.
using TNote_Source = std::function<std::optional<TRtf_Document>(TTree_Node&)>;

// The word-processor document as flat OpenDocument text (.fodt, UTF-8): the
// root's caption as Title, then one heading per node in pre-order ("Heading 1"
// for the root's children ... "Heading 9" for depth 9 and deeper) numbered by
// the document's one outline numbering, each followed by an empty body
// paragraph with a first-line indent of two characters and the node's note
// with its fonts, sizes, colours, bold, italic, underline, alignment and
// pictures. Node texts are bytes in the code page of `textMode`.
std::string wordDocumentXml(TTree_Node& root, const TNote_Source& notes, int textMode);

// Where the tree's picture goes on the title slide, in points.
struct TSlide_Picture_Place {
    double left, top, width, height;
};
// On a slide `slideHeight` points high: 150 points less than the slide, as
// wide as 884/581 of that, at (70, 130).
TSlide_Picture_Place slidePicturePlace(double slideHeight);

inline constexpr double kSlide_Width_Pt = 720;
inline constexpr double kSlide_Height_Pt = 540;
// A leaf's slide shows its note cut below this many bytes, never inside a
// two-byte character.
inline constexpr size_t kSlide_Note_Bytes = 299;

// Base64 (RFC 4648, no line breaks), for pictures inside the XML.
std::string base64(std::string_view bytes);

// The presentation as flat OpenDocument (.fodp): a title slide with the root's
// caption and `pngPicture` (base64 of a PNG, may be empty), then one slide per
// node in pre-order whose body lists its children, or for a leaf its note's
// plain text (lines joined with "\r\n"), cut below 300 bytes of the code page.
std::string presentationXml(TTree_Node& root, const TNote_Source& notes, int textMode,
                            std::string_view pngPictureBase64);

}  // namespace vetra
