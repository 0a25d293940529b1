#include "export/rtf_to_html.h"

#include <cstdio>
#include <limits>

#include "export/bitmap_file.h"
#include "export/html_text.h"
#include "export/picture_sink.h"

namespace vetra {

TRtf_Reader_To_Html::TRtf_Reader_To_Html(std::string& out, std::string directory)
    : Out_(out), Directory_(std::move(directory)) {}

void appendRunHtml(std::string& out, const TRtf_Run& run) {
    size_t at = 0;
    for (const auto& [offset, character] : run.Characters) {
        appendNoteHtml(out, std::string_view(run.Text).substr(at, offset - at));
        at = offset;
        if (character == U'\n') {
            out += "<br>\n";
            continue;
        }
        char reference[24];
        std::snprintf(reference, sizeof reference, "&#%u;", static_cast<unsigned>(character));
        out += reference;
    }
    appendNoteHtml(out, std::string_view(run.Text).substr(at));
}

void TRtf_Reader_To_Html::emitRun(const TRtf_Run& run, const Rtf_Node_Stru& group) {
    char head[96];
    std::snprintf(head, sizeof head,
                  "<font style='font-size: %dpt;font-family: ", group.Font_Size / 2);
    Out_ += head;
    appendEscaped(Out_, group.Font_Name);
    std::snprintf(head, sizeof head, "' color=#%06x >\n", group.Color & 0xFFFFFF);
    Out_ += head;
    if (group.Style & 1) Out_ += "<b>";
    if (group.Style & 4) Out_ += "<u>";
    if (group.Style & 2) Out_ += "<i>";
    appendRunHtml(Out_, run);
    if (group.Style & 2) Out_ += "</i>";
    if (group.Style & 4) Out_ += "</u>";
    if (group.Style & 1) Out_ += "</b>";
    Out_ += "</font>\n";
}

bool TRtf_Reader_To_Html::writePicture(std::string_view bytes, TPicture_Kind kind) {
    if (Picture_Counter >= std::numeric_limits<int32_t>::max()) return false;
    char number[24];
    std::snprintf(number, sizeof number, "_%03d.jpg", Picture_Counter);
    const std::string name = Object_Prefix + number;
    const std::string path = Directory_ + name;
    if (kind == TPicture_Kind::Jpeg) {
        // Already a JPEG: copied as it is.
        if (bytes.size() < 3 || bytes.substr(0, 2) != "\xFF\xD8") return false;
        FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr) return false;
        const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        if (std::fclose(file) != 0 || !written) {
            std::remove(path.c_str());
            return false;
        }
    } else {
        TDecoded_Picture picture;
        const bool decoded = kind == TPicture_Kind::Png ? decodePngFile(bytes, picture)
                                                        : decodeBitmapFile(bytes, picture);
        if (!decoded) return false;
        TPicture_Error error = TPicture_Error::None;
        auto sink =
            openPictureSink(TPicture_Format::Jpeg, path, picture.Width, picture.Height, error);
        if (!sink) return false;
        const bool written = sink->writeRows(
            picture.Pixels.data(), static_cast<size_t>(picture.Width) * 4, picture.Height);
        if (!sink->finish() || !written) {
            std::remove(path.c_str());
            return false;
        }
    }
    Out_ += "<img src='" + fileAddress(name) + "'>";
    ++Picture_Counter;
    return true;
}

}  // namespace vetra
