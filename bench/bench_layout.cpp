// Prints layout and painting figures for large documents. Not a test: run it
// from a Release build for real numbers.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "layout/fixed_metrics_canvas.h"
#include "layout/hit_test.h"
#include "layout/layout_engine.h"
#include "layout/style_codes.h"
#include "layout/text_measure_cache.h"
#include "layout/view_paint.h"
#include "platform/file.h"
#include "store/node_record.h"
#include "ui/qpainter_canvas.h"

using namespace vetra;

namespace {

using TClock = std::chrono::steady_clock;

double millisecondsSince(TClock::time_point start) {
    return std::chrono::duration<double, std::milli>(TClock::now() - start).count();
}

// Processor time of this thread: other work on a shared machine does not
// count, so it is the steadier figure of the two.
double threadMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Median wall and processor times of a repeated step.
struct TTiming {
    double wall = 0;
    double cpu = 0;
};

template <class TStep>
TTiming timeRepeated(int repeats, TStep step) {
    std::vector<double> walls, cpus;
    for (int i = 0; i < repeats; ++i) {
        const auto start = TClock::now();
        const double cpuStart = threadMilliseconds();
        step(i);
        cpus.push_back(threadMilliseconds() - cpuStart);
        walls.push_back(millisecondsSince(start));
    }
    std::sort(walls.begin(), walls.end());
    std::sort(cpus.begin(), cpus.end());
    return {walls[walls.size() / 2], cpus[cpus.size() / 2]};
}

void printTiming(const char* what, TTiming timing) {
    std::printf("%-40s %8.2f ms (processor %.2f ms)\n", what, timing.wall, timing.cpu);
}

// A bushy document of mixed styles: every node expanded, about one node in
// eight with its own view style, all outline and connector styles, captions
// of 4 to 30 bytes, some of them two-byte text.
std::unique_ptr<TTree_Node> mixedDocument(int32_t nodes, uint32_t seed) {
    std::mt19937 random(seed);
    auto pick = [&](int32_t below) { return static_cast<int32_t>(random() % below); };
    auto root = std::make_unique<TTree_Node>();
    root->setCaption("benchmark");
    std::vector<TTree_Node*> all{root.get()};
    for (int32_t i = 1; i < nodes; ++i) {
        // Prefer recent nodes as parents: depth grows like a real outline.
        const int32_t size = static_cast<int32_t>(all.size());
        TTree_Node* parent = all[size - 1 - pick(std::min(size, 40))];
        auto node = std::make_unique<TTree_Node>();
        std::string caption = "Node " + std::to_string(i);
        if (pick(4) == 0) caption += " \xB9\xFD\xB3\xCC\xB9\xDC\xC0\xED";
        caption.resize(std::min<size_t>(caption.size() + pick(12), 30), 'x');
        node->setCaption(caption);
        if (pick(8) == 0) node->setViewStyle(1 + pick(7));
        if (pick(6) == 0) node->setLinkStyle(1 + pick(4));
        node->Edge_Style = pick(6);
        node->Edge_Width = pick(4);
        if (pick(10) == 0) node->setLink("http://example.org/");
        all.push_back(parent->appendChild(std::move(node)));
    }
    return root;
}

// The document as the editor holds it: written to a file and read back, so
// its nodes are allocated in the order the reader creates them.
std::unique_ptr<TTree_Node> asRead(const TTree_Node& built) {
    TMemory_File file;
    if (!writeNodeTree(file, built, {})) std::abort();
    file.seek(0);
    auto root = std::make_unique<TTree_Node>();
    std::vector<TTree_Node*> viewRoots;
    TRead_Error error = TRead_Error::None;
    if (!readNodeTree(file, *root, viewRoots, error)) std::abort();
    return root;
}

TTiming timeFixedLayout(TTree_Node& root, int repeats) {
    TFixed_Metrics_Canvas metrics;
    TView_Picture picture;
    return timeRepeated(repeats, [&](int) { relayoutView(metrics, root, 0, 0, picture); });
}

TTiming timeScreenPaint(TTree_Node& root, const TView_Picture& picture, int repeats) {
    QImage screen(1920, 1080, QImage::Format_RGB32);
    const int32_t left = std::max(0, picture.Width / 2 - 960);
    const int32_t top = std::max(0, picture.Height / 2 - 540);
    return timeRepeated(repeats, [&](int) {
        QPainter painter(&screen);
        painter.translate(-left, -top);
        TQPainter_Canvas canvas(&painter);
        paintViewPicture(canvas, root, picture, TPaint_Options{},
                         {left, top, left + 1920, top + 1080});
        painter.end();
    });
}

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);

    auto small = asRead(*mixedDocument(10000, 1));
    auto large = asRead(*mixedDocument(100000, 1));
    const TTiming fixedSmall = timeFixedLayout(*small, 9);
    const TTiming fixedLarge = timeFixedLayout(*large, 9);
    printTiming("fixed-metrics layout, 10 000 nodes:", fixedSmall);
    printTiming("fixed-metrics layout, 100 000 nodes:", fixedLarge);
    std::printf("growth from 10 000 to 100 000:           %8.2f x (processor %.2f x)\n",
                fixedLarge.wall / fixedSmall.wall, fixedLarge.cpu / fixedSmall.cpu);
    {
        // Both sizes past the processor caches: 100 000 against 1 000 000.
        auto huge = asRead(*mixedDocument(1000000, 1));
        const TTiming fixedHuge = timeFixedLayout(*huge, 3);
        printTiming("fixed-metrics layout, 1 000 000 nodes:", fixedHuge);
        std::printf("growth from 100 000 to 1 000 000:        %8.2f x (processor %.2f x)\n",
                    fixedHuge.wall / fixedLarge.wall, fixedHuge.cpu / fixedLarge.cpu);
    }

    TQPainter_Canvas metrics;
    TText_Measure_Cache cache;
    TView_Picture picture;
    const TTiming first =
        timeRepeated(1, [&](int) { relayoutView(metrics, *large, 0, 0, picture, &cache); });
    printTiming("first layout with real fonts:", first);
    std::printf("  (%zu captions measured)\n", cache.misses());

    TTree_Node* edited = large->child(0)->child(0);
    printTiming("re-layout after one caption change:", timeRepeated(9, [&](int i) {
                    edited->setCaption("edited caption " + std::to_string(i));
                    relayoutView(metrics, *large, 0, 0, picture, &cache);
                }));
    printTiming("re-layout after inserting one node:", timeRepeated(9, [&](int) {
                    auto node = std::make_unique<TTree_Node>();
                    node->setCaption(newNodeCaption());
                    edited->appendChild(std::move(node));
                    relayoutView(metrics, *large, 0, 0, picture, &cache);
                }));
    std::printf("drawing:                                  %d x %d px\n", picture.Width,
                picture.Height);
    printTiming("paint of 1920 x 1080 at the middle:", timeScreenPaint(*large, picture, 9));

    auto chain = std::make_unique<TTree_Node>();
    TTree_Node* tail = chain.get();
    for (int i = 0; i < 100000; ++i) {
        auto link = std::make_unique<TTree_Node>();
        link->setCaption("chain " + std::to_string(i));
        tail = tail->appendChild(std::move(link));
    }
    TView_Picture chainPicture;
    printTiming("chain of 100 000, first layout:", timeRepeated(1, [&](int) {
                    relayoutView(metrics, *chain, 0, 0, chainPicture, &cache);
                }));
    printTiming("chain of 100 000, paint at the middle:", timeScreenPaint(*chain, chainPicture, 3));
    const TNode_Point at = absolutePosition(*tail);
    TNode_Hit hit;
    printTiming("chain of 100 000, hit the last node:",
                timeRepeated(3, [&](int) { hit = hitSubtree(*chain, at.x + 1, at.y + 1); }));
    std::printf("  (%s)\n", hit.node == tail ? "found" : "missed");
    return 0;
}
