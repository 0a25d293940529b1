#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <string_view>

#include "export/office_documents.h"
#include "layout/view_paint.h"
#include "store/tree_doc.h"

namespace vetra {

// The warnings of the two exports when LibreOffice is missing or fails.
inline constexpr std::string_view kWord_Export_Failed = "無法生成，可能是word未安裝或者版本問題";
inline constexpr std::string_view kPresentation_Export_Failed =
    "無法生産，可能是powerpoint未安裝或者版本問題";

// The notes of `document`: the working copy, else the stored note (copied
// into the content store first), else a non-empty excerpt as plain text.
TNote_Source noteSource(TTree_Doc& document);

// The view painted to fit the title slide's picture frame, centred on white,
// without selection or hover marks.
QImage slidePicture(TTree_Node& viewRoot, const TView_Picture& picture);

// The flat OpenDocument source of the word-processor document or presentation
// of the tree under `root` (the document root, linked to the whole tree).
QByteArray officeSource(TTree_Doc& document, TTree_Node& root, bool presentation,
                        const QImage& picture);

}  // namespace vetra
