#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "app/commands.h"
#include "app/offscreen_gui.h"
#include "app/startup_clock.h"
#include "platform/text_mode.h"

namespace {

const char kUsage[] =
    "Usage: vetra [FILE.vt]          start the editor\n"
    "       vetra --run SCRIPT [FILE.vt]\n"
    "                                run the editor offscreen, driven by SCRIPT\n"
    "       vetra --dump FILE.vt     print the tree of FILE as an outline\n"
    "       vetra --save-as IN.vt OUT.vt          save IN under the name OUT\n"
    "       vetra --export-node IN.vt PATH OUT.vt write the subtree at PATH (r, r.0.2) as OUT\n"
    "       vetra --import IN OUT.vt read an outline (.txt .md .opml .mm) as a document\n"
    "       vetra --export-outline FILE.vt OUT.txt|.md|.opml|.mm\n"
    "                                write the tree of FILE as an outline\n"
    "       vetra --dump-layout FILE.vt [--metrics fixed]\n"
    "                                print the layout of the main view\n"
    "       vetra --dump-paint FILE.vt [--metrics fixed]\n"
    "                                print the drawing calls of the main view\n"
    "       vetra --render FILE.vt OUT.png|.bmp|.jpg\n"
    "                                paint the main view into a picture\n"
    "       vetra --export-doc FILE.vt OUT.doc|.docx|.odt\n"
    "       vetra --export-ppt FILE.vt OUT.ppt|.pptx|.odp\n"
    "                                office documents, through LibreOffice\n"
    "       vetra --note FILE.vt PATH     print the plain text of the note at PATH\n"
    "       vetra --note-rtf FILE.vt PATH print the note at PATH as the editor writes it\n"
    "       vetra --set-note FILE.vt PATH NOTE.rtf\n"
    "                                make NOTE the note at PATH and save\n"
    "       vetra --export-html FILE.vt OUT.html      the tree as one HTML page\n"
    "       vetra --export-site FILE.vt OUT.html      the tree as an indexed HTML site\n"
    "       vetra --export-picture FILE.vt OUT.(bmp|jpg|jpeg|emf|png|svg|pdf)\n"
    "                                the main view as a picture\n"
    "       vetra --export-map FILE.vt OUT.html       the main view as an HTML image map\n"
    "       vetra --quit-after-paint [FILE.vt]\n"
    "                                start the editor, quit after its first paint and\n"
    "                                print the milliseconds from process start to it\n"
    "       vetra --help             show this text\n";

int usage(FILE* to, int status) {
    std::fputs(kUsage, to);
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    vetra::chooseTextMode();
    if (argc >= 2 && std::strcmp(argv[1], "--help") == 0) return usage(stdout, 0);
    if (argc >= 2 && std::strcmp(argv[1], "--dump") == 0) {
        if (argc != 3) return usage(stderr, 2);
        return vetra::runDump(argv[2]);
    }
    if (argc >= 2 && std::strcmp(argv[1], "--save-as") == 0) {
        if (argc != 4) return usage(stderr, 2);
        return vetra::runSaveAs(argv[2], argv[3]);
    }
    if (argc >= 2 && std::strcmp(argv[1], "--export-node") == 0) {
        if (argc != 5) return usage(stderr, 2);
        return vetra::runExportNode(argv[2], argv[3], argv[4]);
    }
    if (argc >= 2 && std::strcmp(argv[1], "--import") == 0) {
        if (argc != 4) return usage(stderr, 2);
        return vetra::runImport(argv[2], argv[3]);
    }
    if (argc >= 2 && std::strcmp(argv[1], "--export-outline") == 0) {
        if (argc != 4) return usage(stderr, 2);
        return vetra::runExportOutline(argv[2], argv[3]);
    }
    if (argc >= 2 &&
        (std::strcmp(argv[1], "--dump-layout") == 0 || std::strcmp(argv[1], "--dump-paint") == 0)) {
        const bool fixed = argc == 5 && std::strcmp(argv[3], "--metrics") == 0 &&
                           std::strcmp(argv[4], "fixed") == 0;
        if (argc != 3 && !fixed) return usage(stderr, 2);
        // Real fonts need Qt's font system, without a display.
        std::unique_ptr<QGuiApplication> gui;
        if (!fixed) gui = vetra::startOffscreenGui(argc, argv);
        const bool layout = std::strcmp(argv[1], "--dump-layout") == 0;
        return layout ? vetra::runDumpLayout(argv[2], fixed) : vetra::runDumpPaint(argv[2], fixed);
    }
    if (argc >= 2 && std::strcmp(argv[1], "--render") == 0) {
        if (argc != 4) return usage(stderr, 2);
        auto gui = vetra::startOffscreenGui(argc, argv);
        return vetra::runRender(argv[2], argv[3]);
    }
    if (argc >= 2 &&
        (std::strcmp(argv[1], "--export-doc") == 0 || std::strcmp(argv[1], "--export-ppt") == 0)) {
        if (argc != 4) return usage(stderr, 2);
        auto gui = vetra::startOffscreenGui(argc, argv);
        return vetra::runExportOffice(argv[2], argv[3], std::strcmp(argv[1], "--export-ppt") == 0);
    }
    if (argc >= 2 &&
        (std::strcmp(argv[1], "--note") == 0 || std::strcmp(argv[1], "--note-rtf") == 0)) {
        if (argc != 4) return usage(stderr, 2);
        return vetra::runNote(argc, argv, argv[2], argv[3],
                              std::strcmp(argv[1], "--note-rtf") == 0);
    }
    if (argc >= 2 && std::strcmp(argv[1], "--set-note") == 0) {
        if (argc != 5) return usage(stderr, 2);
        return vetra::runSetNote(argc, argv, argv[2], argv[3], argv[4]);
    }
    if (argc >= 2 && std::strncmp(argv[1], "--export-", 9) == 0) {
        static const struct {
            const char* option;
            vetra::TExport_Kind kind;
        } kExports[] = {{"--export-html", vetra::TExport_Kind::Html},
                        {"--export-site", vetra::TExport_Kind::Site},
                        {"--export-picture", vetra::TExport_Kind::Picture},
                        {"--export-map", vetra::TExport_Kind::Map}};
        for (const auto& entry : kExports) {
            if (std::strcmp(argv[1], entry.option) != 0) continue;
            if (argc != 4) return usage(stderr, 2);
            auto gui = vetra::startOffscreenGui(argc, argv);
            return vetra::runExport(entry.kind, argv[2], argv[3]);
        }
    }
    if (argc >= 2 && std::strcmp(argv[1], "--run") == 0) {
        if (argc != 3 && argc != 4) return usage(stderr, 2);
        return vetra::runScript(argc, argv, QString::fromLocal8Bit(argv[2]),
                                argc == 4 ? QString::fromLocal8Bit(argv[3]) : QString());
    }
    if (argc >= 2 && std::strcmp(argv[1], "--quit-after-paint") == 0) {
        if (argc > 3) return usage(stderr, 2);
        vetra::requestQuitAfterFirstPaint();
        return vetra::runEditor(argc, argv,
                                argc == 3 ? QString::fromLocal8Bit(argv[2]) : QString());
    }
    if (argc >= 2 && std::strncmp(argv[1], "--", 2) == 0) return usage(stderr, 2);
    if (argc > 2) return usage(stderr, 2);
    return vetra::runEditor(argc, argv, argc == 2 ? QString::fromLocal8Bit(argv[1]) : QString());
}
