// Prints the editor's figures for 10 000, 100 000 and 1 000 000 nodes in one
// table: start-up to a painted window, open and first paint, keys to a
// repainted screen, process memory per node, and index reading speed. Each
// size runs in a fresh process of its own, so memory figures do not mix.
// Not a test: run it from a Release build, e.g. `build/release/bench/vetra_bench_table`.
// Each figure is wall time with the processor time of the process beside it.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "model/block_pool.h"
#include "model/tree_node.h"
#include "platform/file.h"
#include "platform/text_mode.h"
#include "store/node_record.h"
#include "store/options.h"
#include "ui/dialog_script.h"
#include "ui/document_window.h"
#include "ui/image_view.h"
#include "ui/main_frame.h"
#include "ui/script_runner.h"

using namespace vetra;

namespace {

using TClock = std::chrono::steady_clock;

struct TTiming {
    double wall = 0;
    double cpu = 0;
};

double processMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

template <class TStep>
TTiming timeOnce(TStep step) {
    const auto start = TClock::now();
    const double cpu = processMilliseconds();
    step();
    return {std::chrono::duration<double, std::milli>(TClock::now() - start).count(),
            processMilliseconds() - cpu};
}

TTiming median(std::vector<TTiming> runs) {
    std::vector<double> walls, cpus;
    for (const TTiming& run : runs) {
        walls.push_back(run.wall);
        cpus.push_back(run.cpu);
    }
    std::sort(walls.begin(), walls.end());
    std::sort(cpus.begin(), cpus.end());
    return {walls[walls.size() / 2], cpus[cpus.size() / 2]};
}

void printRow(const char* what, TTiming timing) {
    std::printf("  %-44s %9.1f ms  (processor %.1f ms)\n", what, timing.wall, timing.cpu);
    std::fflush(stdout);
}

// A line of /proc/self/status in kilobytes: VmRSS (all resident memory) or
// RssAnon (the process's own memory, without mapped files).
long statusKilobytes(const std::string& field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(field + ":", 0) == 0) return std::atol(line.c_str() + field.size() + 1);
    return 0;
}

std::string programDirectoryOf(const char* argv0) {
    std::error_code error;
    auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) self = argv0;
    return self.parent_path().string();
}

// A complete 10-ary tree filled breadth first to `count` nodes, captions of
// four to eight Chinese characters (GBK).
void writeTenAryDocument(const std::string& path, int32_t count) {
    setActiveTextMode(1);
    TTree_Node root;
    root.setCaption("\xB4\xF3\xCA\xF7");
    std::vector<TTree_Node*> nodes{&root};
    nodes.reserve(size_t(count));
    uint32_t seed = 12345;
    for (size_t next = 0; int32_t(nodes.size()) < count; ++next)
        for (int c = 0; c < 10 && int32_t(nodes.size()) < count; ++c) {
            TTree_Node* node = nodes[next]->appendChild(std::make_unique<TTree_Node>());
            std::string caption;
            seed = seed * 1103515245 + 12345;
            const int characters = 4 + int(seed >> 16) % 5;
            for (int i = 0; i < characters; ++i) {
                seed = seed * 1103515245 + 12345;
                caption.push_back(char(0xB0 + (seed >> 16) % 0x20));
                caption.push_back(char(0xA1 + (seed >> 8) % 0x5E));
            }
            node->setCaption(caption);
            nodes.push_back(node);
        }
    auto file = openFile(path, TOpen_Mode::Create);
    if (!file || !writeNodeTree(*file, root, {&root})) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(1);
    }
}

// Runs `vetra --quit-after-paint [FILE]` and returns the milliseconds it
// printed, with the child's processor time.
TTiming timeStart(const std::string& vetra, const std::string& file, const std::string& config) {
    // Private runtime and state folders, so neither a running editor nor a
    // recovery copy left by an earlier crash (whose prompt waits for an
    // answer) stands in the way; a hung start is reported, not waited for.
    std::filesystem::create_directories(config + "/run");
    std::filesystem::permissions(config + "/run", std::filesystem::perms::owner_all);
    std::string command = "XDG_CONFIG_HOME='" + config + "' XDG_RUNTIME_DIR='" + config +
                          "/run' XDG_STATE_HOME='" + config + "/state' QT_QPA_PLATFORM=offscreen " +
                          "timeout 60 '" + vetra + "' --quit-after-paint";
    if (!file.empty()) command += " '" + file + "'";
    command += " 2>&1 >/dev/null | tail -n 1";
    rusage before{}, after{};
    getrusage(RUSAGE_CHILDREN, &before);
    FILE* pipe = popen(command.c_str(), "r");
    double ms = -1;
    if (pipe == nullptr || std::fscanf(pipe, "%lf", &ms) != 1) ms = -1;
    if (pipe != nullptr) pclose(pipe);
    getrusage(RUSAGE_CHILDREN, &after);
    auto cpu = [](const rusage& u) {
        return (double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 +
                double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3);
    };
    return {ms, cpu(after) - cpu(before)};
}

TTiming timeReading(const std::string& path, int32_t count) {
    std::vector<TTiming> runs;
    for (int round = 0; round < 3; ++round) {
        auto file = openFile(path, TOpen_Mode::ReadOnly);
        auto root = std::make_unique<TTree_Node>();
        std::vector<TTree_Node*> viewRoots;
        TRead_Error error = TRead_Error::None;
        runs.push_back(timeOnce([&] {
            if (!file || !readNodeTree(*file, *root, viewRoots, error)) std::exit(1);
        }));
        // Freeing is not reading.
        root.reset();
    }
    TTiming best = median(runs);
    std::printf("  %-44s %9.2f M nodes/s  (processor %.2f M nodes/s)\n",
                "reading the index:", count / best.wall / 1e3, count / best.cpu / 1e3);
    return best;
}

// One size, in this process: the editor's own window, offscreen. The
// document was written by the parent process, so the empty program's
// memory holds nothing of it.
int runOneSize(int argc, char** argv, int32_t count, const std::string& path,
               const std::string& directory) {
    setenv("XDG_CONFIG_HOME", (directory + "/config").c_str(), 1);
    setenv("XDG_STATE_HOME", (directory + "/state").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (directory + "/config/run").c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // The offscreen platform's notes on what it cannot do would hide the table.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type != QtDebugMsg && type != QtInfoMsg && !text.startsWith("This plugin does not"))
            std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    });
    const std::string vetra = programDirectoryOf(argv[0]) + "/../app/vetra";

    std::printf("%d nodes (complete 10-ary tree, Chinese captions)\n", count);
    std::vector<TTiming> starts;
    for (int round = 0; round < 3; ++round)
        starts.push_back(timeStart(vetra, path, directory + "/config"));
    printRow("start, open and first paint (whole process):", median(starts));

    QApplication application(argc, argv);
    // Dialogs and message boxes answer from a script instead of waiting.
    TDialog_Script dialogs;
    TDialog_Script::activate(&dialogs);
    TOptions options(1600, 1000);
    TForm_Main_Vetra frame(options, createDocumentWindow);
    frame.resize(1600, 1000);
    frame.show();
    frame.newDocument();
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    const long emptyKilobytes = statusKilobytes("VmRSS");
    const long emptyOwnKilobytes = statusKilobytes("RssAnon");

    const TTiming open = timeOnce([&] {
        frame.openDocument(QString::fromStdString(path));
        if (QWidget* window = frame.activeDocumentWindow()) window->repaint();
    });
    printRow("open and first paint (in the program):", open);
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    const long openKilobytes = statusKilobytes("VmRSS");
    const long openOwnKilobytes = statusKilobytes("RssAnon");
    std::printf("  %-44s %9.0f B  (%ld kB resident beyond %ld kB)\n",
                "process memory per node:", double(openKilobytes - emptyKilobytes) * 1024 / count,
                openKilobytes - emptyKilobytes, emptyKilobytes);
    // Resident memory also counts pages of mapped files, chiefly of the font
    // file around the glyphs drawn (the system maps 64 kB around each page
    // read): they follow the characters on the screen, not the nodes, and
    // are shared and dropped at will by the system.
    std::printf("  %-44s %9.0f B  (%ld kB beyond %ld kB)\n",
                "  of which the process's own (anonymous):",
                double(openOwnKilobytes - emptyOwnKilobytes) * 1024 / count,
                openOwnKilobytes - emptyOwnKilobytes, emptyOwnKilobytes);
    std::fflush(stdout);

    TScript_Runner runner(frame, [](const QString&) {});
    auto run = [&](const QString& line) {
        QString error;
        if (runner.run({line}, &error) != 0) {
            std::fprintf(stderr, "%s: %s\n", line.toUtf8().constData(), error.toUtf8().constData());
            std::exit(1);
        }
    };
    // Return stores the caption typed into the editor that Insert opened.
    run("select r.3");
    std::vector<TTiming> insert, down, edit, undo, redo;
    for (int round = 0; round < 5; ++round) {
        insert.push_back(timeOnce([&] { run("key Ins"); }));
        run("type \u65b0");
        edit.push_back(timeOnce([&] { run("key Return"); }));
        down.push_back(timeOnce([&] { run("key Down"); }));
        undo.push_back(timeOnce([&] { run("key Ctrl+Backspace"); }));
        // Redo, and the same undo again, untimed, for the next round; the
        // overview map that follows it is left to finish before the next key.
        redo.push_back(timeOnce([&] { run("key Ctrl+Y"); }));
        run("key Ctrl+Backspace");
        QEventLoop settle;
        QTimer::singleShot(100, &settle, &QEventLoop::quit);
        settle.exec();
        run("select r.3");
    }
    printRow("key Insert to repainted screen:", median(insert));
    printRow("key Down to repainted screen:", median(down));
    printRow("key Return (caption stored) to repainted screen:", median(edit));
    printRow("undo (Ctrl+Backspace) to repainted screen:", median(undo));
    printRow("redo (Ctrl+Y) to repainted screen:", median(redo));

    timeReading(path, count);
    for (QWidget* window : frame.documentWindows()) window->setProperty("closeQueryDone", true);
    TDialog_Script::activate(nullptr);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::string(argv[1]) == "--size")
        return runOneSize(argc, argv, std::atoi(argv[2]), argv[3], argv[4]);
    // `--write N FILE` only writes the tree, for a profiler run of `--size`.
    if (argc == 4 && std::string(argv[1]) == "--write") {
        writeTenAryDocument(argv[3], std::atoi(argv[2]));
        return 0;
    }
    const std::string here = programDirectoryOf(argv[0]);
    const std::string directory = std::filesystem::temp_directory_path().string() +
                                  "/vetra_bench_table_" + std::to_string(getpid());
    std::filesystem::create_directories(directory + "/config");
    std::vector<TTiming> starts;
    for (int round = 0; round < 5; ++round)
        starts.push_back(timeStart(here + "/../app/vetra", "", directory + "/config"));
    std::printf("start with no document to a painted window\n");
    printRow("median of 5 (whole process):", median(starts));
    std::fflush(stdout);
    int status = 0;
    for (const char* size : {"10000", "100000", "1000000"}) {
        const std::string path = directory + "/tree" + size + ".vt";
        writeTenAryDocument(path, std::atoi(size));
        // The tree written here is freed; its memory goes back to the system
        // before the measured process starts, as a closed document's does.
        releaseEmptyBlockSlabs();
        const std::string command = "'" + here + "/vetra_bench_table' --size " + size + " '" +
                                    path + "' '" + directory + "'";
        if (std::system(command.c_str()) != 0) status = 1;
        std::filesystem::remove(path);
    }
    std::filesystem::remove_all(directory);
    return status;
}
