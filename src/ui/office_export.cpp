#include "ui/office_export.h"

#include <QBuffer>
#include <QPainter>

#include "platform/text_codec.h"
#include "platform/text_mode.h"
#include "rtf/rtf_reader.h"
#include "ui/qpainter_canvas.h"

namespace vetra {

TNote_Source noteSource(TTree_Doc& document) {
    return [&document](TTree_Node& node) -> std::optional<TRtf_Document> {
        const int mode = activeTextMode();
        TContent_Store* store = contentStore();
        std::string bytes;
        if ((node.Work_Size > 0 || node.Content_Size > 0) && store != nullptr &&
            document.loadNoteOf(node) == TNote_Load::Loaded &&
            store->read(node.Work_Offset, node.Work_Size, bytes)) {
            TRtf_Document note;
            if (readRtf(bytes, note, {mode == kTextModeTraditional ? 950 : 936}) !=
                TRtf_Read_Status::Not_Rtf)
                return note;
            return documentFromPlainText(codePageToUtf8(bytes, mode).text);
        }
        if (!node.Note_Excerpt.isPresent() || node.Note_Excerpt.size() == 0) return std::nullopt;
        return documentFromPlainText(codePageToUtf8(node.Note_Excerpt.view(), mode).text);
    };
}

QImage slidePicture(TTree_Node& viewRoot, const TView_Picture& picture) {
    // Two pixels a point of the frame.
    const TSlide_Picture_Place place = slidePicturePlace(kSlide_Height_Pt);
    QImage image(static_cast<int>(place.width * 2), static_cast<int>(place.height * 2),
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    TView_Picture clean = picture;
    clean.Hover_Drawn = false;
    clean.Selection_Drawn = false;
    const double scale = std::min({double(image.width()) / std::max(1, picture.Width),
                                   double(image.height()) / std::max(1, picture.Height), 2.0});
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.translate((image.width() - picture.Width * scale) / 2,
                      (image.height() - picture.Height * scale) / 2);
    painter.scale(scale, scale);
    TQPainter_Canvas canvas(&painter);
    paintViewPicture(canvas, viewRoot, clean, TPaint_Options{},
                     {0, 0, picture.Width, picture.Height});
    return image;
}

QByteArray officeSource(TTree_Doc& document, TTree_Node& root, bool presentation,
                        const QImage& picture) {
    const TNote_Source notes = noteSource(document);
    if (!presentation)
        return QByteArray::fromStdString(wordDocumentXml(root, notes, activeTextMode()));
    QByteArray png;
    if (!picture.isNull()) {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "PNG");
    }
    return QByteArray::fromStdString(
        presentationXml(root, notes, activeTextMode(), png.toBase64().toStdString()));
}

}  // namespace vetra
