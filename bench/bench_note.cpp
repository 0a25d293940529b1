// Node dialog figures: opening the dialog on a note of 1 MB of text with 20
// pictures, and applying it. Prints milliseconds; not a test. Run it from a
// Release build.
#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <cstdio>

#include "export/frame_rich_edit.h"
#include "rtf/rtf_reader.h"
#include "rtf/rtf_writer.h"
#include "store/content_store.h"
#include "ui/form_edit_node.h"

namespace {

std::string bitmapFile(int index) {
    QImage image(320, 200, QImage::Format_RGB888);
    image.fill(QColor::fromHsv(index * 17 % 360, 160, 230));
    QPainter painter(&image);
    painter.drawEllipse(20 + index, 20, 200, 150);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

// About 1 MB of text in paragraphs of mixed formatting, a picture every so often.
vetra::TRtf_Document largeNote() {
    vetra::TRtf_Document note;
    const std::string line =
        "這是一段很長的筆記文字，用來測試編輯器的速度。The quick brown fox jumps over the lazy "
        "dog. ";
    size_t bytes = 0;
    int paragraph = 0;
    while (bytes < (1u << 20)) {
        vetra::TRtf_Paragraph p;
        for (int run = 0; run < 3; ++run) {
            vetra::TRtf_Run r;
            r.Text = line + line;
            r.Format.Bold = run == 1;
            r.Format.Color = run == 2 ? 0x0000FF : vetra::kRtf_Color_Auto;
            bytes += r.Text.size();
            p.Runs.push_back(r);
        }
        if (paragraph % 75 == 30 && note.Pictures.size() < 20) {
            vetra::TRtf_Run picture;
            picture.Picture = static_cast<int>(note.Pictures.size());
            note.Pictures.push_back({vetra::TRtf_Picture_Kind::Bmp_File,
                                     bitmapFile(static_cast<int>(note.Pictures.size())), 0, 0});
            p.Runs.push_back(picture);
        }
        note.Paragraphs.push_back(std::move(p));
        ++paragraph;
    }
    return note;
}

double elapsedMs(QElapsedTimer& timer) {
    return timer.nsecsElapsed() / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    vetra::TRtf_Document note = largeNote();
    std::string rtf = vetra::writeRtf(note);
    vetra::TContent_Store* store = vetra::contentStore();
    if (store == nullptr) return 1;
    vetra::TTree_Node node;
    node.setCaption("bench");
    node.Work_Offset = *store->append(rtf);
    node.Work_Size = static_cast<int32_t>(rtf.size());
    std::printf("note: %zu bytes of RTF, %zu paragraphs, %zu pictures\n", rtf.size(),
                note.Paragraphs.size(), note.Pictures.size());

    QElapsedTimer timer;
    timer.start();
    vetra::TRtf_Document parsed;
    vetra::readRtf(rtf, parsed);
    std::printf("read RTF into the note model:   %8.1f ms\n", elapsedMs(timer));

    vetra::TForm_Edit_Node& dialog = vetra::TForm_Edit_Node::instance();
    dialog.resize(900, 700);
    dialog.frame().initialise();  // the font list, filled once per run
    for (int round = 0; round < 3; ++round) {
        timer.restart();
        dialog.loadNode(node);
        dialog.show();
        QApplication::processEvents();
        double open = elapsedMs(timer);

        dialog.frame().RichEdit->textCursor().insertText(QStringLiteral("x"));
        timer.restart();
        dialog.SpeedButton_Ok->click();
        dialog.applyToNode(node);
        double apply = elapsedMs(timer);
        std::printf("round %d: open the dialog %8.1f ms, apply %8.1f ms\n", round + 1, open, apply);
    }
    timer.restart();
    for (int i = 0; i < 100; ++i) dialog.frame().RichEdit->textCursor().insertText("y");
    QApplication::processEvents();
    std::printf("typing: %.2f ms a key\n", elapsedMs(timer) / 100);
    vetra::TForm_Edit_Node::destroyInstance();
    return 0;
}
