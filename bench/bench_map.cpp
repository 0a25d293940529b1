// Prints how long the overview map takes to redraw large views. Not a test:
// run it from a Release build for real numbers.
#include <QApplication>
#include <QImage>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "layout/fixed_metrics_canvas.h"
#include "layout/hit_test.h"
#include "layout/view_paint.h"
#include "ui/map_render.h"

using namespace vetra;

namespace {

using TClock = std::chrono::steady_clock;

// A bushy outline of mixed styles, every node expanded.
std::unique_ptr<TTree_Node> mixedDocument(int32_t nodes, uint32_t seed) {
    std::mt19937 random(seed);
    auto pick = [&](int32_t below) { return static_cast<int32_t>(random() % below); };
    auto root = std::make_unique<TTree_Node>();
    root->setCaption("map benchmark");
    std::vector<TTree_Node*> all{root.get()};
    for (int32_t i = 1; i < nodes; ++i) {
        const int32_t size = static_cast<int32_t>(all.size());
        TTree_Node* parent = all[size - 1 - pick(std::min(size, 40))];
        auto node = std::make_unique<TTree_Node>();
        node->setCaption("Node " + std::to_string(i));
        if (pick(8) == 0) node->setViewStyle(1 + pick(7));
        if (pick(6) == 0) node->setLinkStyle(1 + pick(4));
        node->Edge_Style = pick(6);
        node->Edge_Width = 1 + pick(3);
        if (pick(3) == 0) node->Color_Fill = static_cast<int32_t>(random() & 0xFFFFFF);
        all.push_back(parent->appendChild(std::move(node)));
    }
    return root;
}

// One root with every other node as its child: a column far taller than wide.
std::unique_ptr<TTree_Node> flatDocument(int32_t nodes) {
    auto root = std::make_unique<TTree_Node>();
    root->setCaption("flat");
    for (int32_t i = 1; i < nodes; ++i) {
        auto node = std::make_unique<TTree_Node>();
        node->setCaption("Item " + std::to_string(i));
        node->Edge_Style = i % 6;
        root->appendChild(std::move(node));
    }
    return root;
}

// Median and worst of `runs` redraws, in milliseconds.
std::pair<double, double> timeRedraws(TTree_Node& root, const TView_Picture& picture, QSize size,
                                      TMap_Detail detail, int runs) {
    QImage image(size, QImage::Format_RGB32);
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = TClock::now();
        renderMap(image, root, picture.Width, picture.Height, 0xF9F4F3, detail);
        times.push_back(std::chrono::duration<double, std::milli>(TClock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.back()};
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    std::printf("overview map redraw, median and worst of 15 runs (ms)\n");
    std::printf("%9s  %-10s %9s  %8s  %8s\n", "nodes", "detail", "map", "median", "worst");
    const struct {
        int32_t nodes;
        TMap_Detail detail;
        const char* name;
        bool flat;
    } cases[] = {
        {1000, TMap_Detail::Full, "full", false},
        {1000, TMap_Detail::Sketch, "sketch", false},
        {100000, TMap_Detail::Automatic, "automatic", false},
        {100000, TMap_Detail::Automatic, "flat", true},
        {1000000, TMap_Detail::Automatic, "automatic", false},
    };
    for (const auto& c : cases) {
        auto root = c.flat ? flatDocument(c.nodes) : mixedDocument(c.nodes, 7);
        TFixed_Metrics_Canvas metrics;
        TView_Picture picture;
        relayoutView(metrics, *root, 1000, 700, picture);
        for (QSize size : {QSize(200, 150), QSize(480, 360)}) {
            const auto [median, worst] = timeRedraws(*root, picture, size, c.detail, 15);
            std::printf("%9d  %-10s %4dx%-4d  %8.2f  %8.2f\n", c.nodes, c.name, size.width(),
                        size.height(), median, worst);
        }
        std::printf("%9s  picture %d x %d\n", "", picture.Width, picture.Height);
    }
    return 0;
}
