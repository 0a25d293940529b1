// Outline import and export figures for a 100 000-node tree: each format is
// written from the tree (notes read back from the content store) and read
// into a new tree (notes written as working copies). Prints the times beside
// the targets: import of a map or OPML file under 1 s, export under 0.5 s.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "export/outline_file.h"
#include "export/outline_tree.h"
#include "platform/text_codec.h"
#include "platform/text_mode.h"
#include "store/content_store.h"
#include "store/tree_doc.h"

namespace vetra::bench {
namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

class TSilent_Messages : public TUser_Messages {
  public:
    void information(std::string_view, std::string_view) override {}
    bool confirmation(std::string_view, std::string_view) override { return false; }
    void warning(std::string_view, std::string_view) override {}
    TSave_Answer askSave(std::string_view, std::string_view) override {
        return TSave_Answer::Cancel;
    }
};

// Every inner entry has 2 to 8 children, filled breadth first; captions of
// 4 to 12 Chinese characters, a link on one entry in ten, a two-line note on
// one in twenty, every fifth inner entry folded.
TOutline buildOutline(int count) {
    static const char* const kWords[] = {"项目", "计划", "需求", "设计", "测试", "发布",
                                         "会议", "文档", "数据", "界面", "用户", "版本"};
    std::mt19937 random(42);
    std::vector<int32_t> parents{-1};
    std::vector<int32_t> levels{0};
    std::vector<std::vector<int32_t>> children(1);
    for (size_t next = 0; static_cast<int>(levels.size()) < count; ++next) {
        int wanted = 2 + static_cast<int>(random() % 7);
        for (int c = 0; c < wanted && static_cast<int>(levels.size()) < count; ++c) {
            children[next].push_back(static_cast<int32_t>(levels.size()));
            levels.push_back(levels[next] + 1);
            children.emplace_back();
        }
    }
    TOutline outline;
    outline.reserve(levels.size());
    std::vector<int32_t> pending{0};
    while (!pending.empty()) {
        int32_t index = pending.back();
        pending.pop_back();
        TOutline_Item item;
        item.Level = levels[index];
        int words = 2 + static_cast<int>(random() % 5);
        for (int w = 0; w < words; ++w) item.Caption += kWords[random() % 12];
        if (index % 10 == 3) item.Link = "https://example.org/" + std::to_string(index);
        if (index % 20 == 7) item.Note = "第一行笔记 " + std::to_string(index) + "\n第二行";
        item.Folded = !children[index].empty() && index % 5 == 0;
        outline.push_back(std::move(item));
        for (size_t c = children[index].size(); c-- > 0;) pending.push_back(children[index][c]);
    }
    return outline;
}

}  // namespace
}  // namespace vetra::bench

int main(int argc, char** argv) {
    using namespace vetra;
    using namespace vetra::bench;
    const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
    setActiveTextMode(kTextModeSimplified);
    TContent_Store* store = contentStore();
    TSilent_Messages messages;
    TTree_Doc doc(messages);
    int replaced = 0;
    doc.Root =
        treeFromOutline(nodesFromOutline(buildOutline(count), 0, store), "root", 0, replaced);
    std::string dir = std::filesystem::temp_directory_path() /
                      ("vetra_bench_outline_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::printf("outline of %d nodes\n", count);
    std::printf("%-6s %12s %12s %12s\n", "format", "export ms", "import ms", "file KiB");
    for (const char* extension : {"mm", "opml", "md", "txt"}) {
        std::string path = dir + "/tree." + extension;
        auto start = Clock::now();
        bool written = exportOutlineFile(*doc.root(), doc, path);
        double exportMs = millisecondsSince(start);
        start = Clock::now();
        TImported_Outline imported = importOutlineFile(path, 0, store);
        double importMs = millisecondsSince(start);
        if (!written || !imported.Root) {
            std::printf("%-6s failed\n", extension);
            continue;
        }
        std::printf("%-6s %12.1f %12.1f %12.0f\n", extension, exportMs, importMs,
                    double(std::filesystem::file_size(path)) / 1024.0);
        start = Clock::now();
        imported.Root.reset();
        std::printf("       (freeing the imported tree %.1f ms)\n", millisecondsSince(start));
    }
    std::printf("targets: import of .mm or .opml < 1000 ms, export < 500 ms\n");
    std::filesystem::remove_all(dir);
    return 0;
}
