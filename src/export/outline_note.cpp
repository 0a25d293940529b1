// Notes to and from plain text through the RTF reader and writer.
#include "export/outline_note.h"

#include "platform/text_codec.h"
#include "rtf/rtf_reader.h"
#include "rtf/rtf_writer.h"

namespace vetra {
namespace {

int codePageOf(int mode) {
    return mode == kTextModeTraditional ? 950 : 936;
}

}  // namespace

std::string notePlainText(std::string_view note, int mode) {
    if (!looksLikeRtf(note)) return codePageToUtf8(note, mode).text;
    TRtf_Document document;
    TRtf_Read_Options options;
    options.Default_Code_Page = codePageOf(mode);
    if (readRtf(note, document, options) == TRtf_Read_Status::Not_Rtf) return {};
    std::vector<std::string> lines = plainTextLines(document);
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) text += '\n';
        text += lines[i];
    }
    return text;
}

std::string noteFromPlainText(std::string_view utf8, int mode) {
    TRtf_Write_Options options;
    options.Code_Page = codePageOf(mode);
    // The faces the note editor starts with: 宋体 in GBK, Arial in Big5.
    if (mode == kTextModeTraditional) options.Default_Font = "Arial";
    return writeRtf(documentFromPlainText(utf8), options);
}

}  // namespace vetra
