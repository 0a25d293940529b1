#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "export/html_page.h"
#include "export/picture_sink.h"
#include "layout/node_paint.h"
#include "model/tree_node.h"

namespace vetra {

enum class TPicture_Type { Bmp, Jpeg, Png, Emf, Svg, Pdf };

// The type a file name asks for by its extension (any letter case); a name
// without a known extension gets a Windows bitmap.
TPicture_Type pictureTypeOf(std::string_view path);

// Margin around the drawing in every exported picture, as on screen.
inline constexpr int32_t kPicture_Margin = 20;

// Paints the laid-out subtree of `root` afresh into a picture file: the
// drawing with a margin on each side, without highlights. Bitmap formats are
// painted and written in bands (one thread paints, another encodes), so no
// bitmap of the whole drawing is ever held. The root's block is placed at the
// margin while painting and put back after. `width` and `height` receive the
// picture's size.
TPicture_Error exportPicture(TTree_Node& root, const std::string& path, TPicture_Type type,
                             const TPaint_Options& options, int32_t* width = nullptr,
                             int32_t* height = nullptr);

// The image-map export: beside the page at `path`, a metafile and a PNG of
// the view named after it (browsers show no metafile, so the page shows the
// PNG, drawn at the same size), then the page with an area over each visible
// node's caption. A page that cannot be written gives Cannot_Create.
TPicture_Error exportMapPage(TTree_Node& root, TNote_Reader& notes, const std::string& path,
                             const TPaint_Options& options);

// The message for a failed export, in the active mode, with the file name.
std::string pictureErrorText(TPicture_Error error);

}  // namespace vetra
