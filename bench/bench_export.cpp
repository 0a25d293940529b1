// Export figures: pictures of a complete 10-ary tree with Chinese captions in
// every format, and the HTML page and site with notes. Each figure runs in a
// child process so its peak memory is its own. Run it from a Release build.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QGuiApplication>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "export/html_page.h"
#include "layout/view_paint.h"
#include "platform/text_codec.h"
#include "platform/text_mode.h"
#include "ui/picture_export.h"
#include "ui/qpainter_canvas.h"

namespace {

using namespace vetra;

// Breadth-first: the first `count` nodes of a complete 10-ary tree.
std::unique_ptr<TTree_Node> completeTree(int count) {
    static const char* const kCaptions[] = {"\xCF\xEE\xC4\xBF\xBC\xC6\xBB\xAE",  // 项目计划
                                            "\xD0\xE8\xC7\xF3\xB7\xD6\xCE\xF6",  // 需求分析
                                            "\xC9\xE8\xBC\xC6", "\xB2\xE2\xCA\xD4"};
    auto root = std::make_unique<TTree_Node>();
    root->setCaption(kCaptions[0]);
    std::vector<TTree_Node*> nodes{root.get()};
    for (size_t next = 0; static_cast<int>(nodes.size()) < count; ++next)
        for (int c = 0; c < 10 && static_cast<int>(nodes.size()) < count; ++c) {
            auto* node = nodes[next]->appendChild(std::make_unique<TTree_Node>());
            node->setCaption(std::string(kCaptions[nodes.size() % 4]) +
                             std::to_string(nodes.size()));
            nodes.push_back(node);
        }
    return root;
}

// Only figures whose name contains this text run (all by default).
std::string gOnly;

// Runs `work` in a child; prints its wall time and the child's peak memory.
void measure(const char* name, const std::function<bool()>& work) {
    if (std::string(name).find(gOnly) == std::string::npos) return;
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) _exit(work() ? 0 : 1);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%-34s %7.2f s  %7.1f MB peak%s\n", name, seconds, usage.ru_maxrss / 1024.0,
                WIFEXITED(status) && WEXITSTATUS(status) == 0 ? "" : "  (refused or failed)");
    std::fflush(stdout);
}

bool picture(int nodes, const std::string& path) {
    auto root = completeTree(nodes);
    TQPainter_Canvas metrics;
    TView_Picture view;
    relayoutView(metrics, *root, 0, 0, view);
    int32_t width = 0, height = 0;
    const TPicture_Error error =
        exportPicture(*root, path, pictureTypeOf(path), TPaint_Options{}, &width, &height);
    std::fprintf(stderr, "  %s: %d x %d px\n", path.c_str(), width, height);
    return error == TPicture_Error::None;
}

bool html(bool site, const std::string& path) {
    auto root = completeTree(10000);
    TContent_Store store(std::make_unique<TMemory_File>());
    const std::string note =
        "{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}"
        "{\\colortbl ;\\red255\\green0\\blue0;}\\f0\\fs20 \\'d7\\'a2\\'ca\\'cd a note "
        "{\\b bold} \\cf1 red\\cf0\\par second line\\par}";
    int given = 0;
    for (TTree_Node* node = root.get(); node != nullptr && given < 1000;
         node = nextInDisplayOrder(node, true), ++given) {
        node->Work_Offset = *store.append(note);
        node->Work_Size = static_cast<int32_t>(note.size());
    }
    TNote_Reader notes(nullptr, &store);
    return site ? writeHtmlSite(*root, notes, path, std::time(nullptr))
                : writeHtmlPage(*root, notes, path);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc > 1) gOnly = argv[1];
    setActiveTextMode(kTextModeSimplified);
    const std::string dir =
        std::filesystem::temp_directory_path().string() + "/vetra_bench_export/";
    std::filesystem::create_directories(dir);
    for (const char* format : {"png", "bmp", "jpg"})
        measure((std::string("10 000 nodes, ") + format).c_str(),
                [&] { return picture(10000, dir + "tree10k." + format); });
    for (const char* format : {"png", "svg", "pdf", "emf", "bmp"})
        measure((std::string("100 000 nodes, ") + format).c_str(),
                [&] { return picture(100000, dir + "tree100k." + format); });
    measure("HTML page, 10 000 nodes, 1 000 notes", [&] { return html(false, dir + "page.html"); });
    measure("HTML site, 10 000 nodes, 1 000 notes", [&] { return html(true, dir + "site.html"); });
    std::filesystem::remove_all(dir);
    return 0;
}
