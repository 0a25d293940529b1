// Builds a document of N nodes with captions of 10 to 30 bytes, writes it to a
// file and reads it back, and prints nodes per second and the bytes the tree
// costs per node beyond its texts.
#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "model/tree_node.h"
#include "platform/file.h"
#include "platform/text_codec.h"
#include "platform/text_mode.h"
#include "store/node_record.h"

namespace vetra::bench {
namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

size_t heapInUse() {
    return mallinfo2().uordblks;
}

// An outline as people write them: every inner node has 2 to 8 children,
// filled breadth first, so about one node in five has children.
std::unique_ptr<TTree_Node> buildDocument(int nodeCount) {
    std::mt19937 random(42);
    auto root = std::make_unique<TTree_Node>();
    std::vector<TTree_Node*> nodes{root.get()};
    nodes.reserve(nodeCount);
    std::string caption;
    for (size_t next = 0; static_cast<int>(nodes.size()) < nodeCount; ++next) {
        TTree_Node* parent = nodes[next];
        int children = 2 + static_cast<int>(random() % 7);
        for (int c = 0; c < children && static_cast<int>(nodes.size()) < nodeCount; ++c) {
            TTree_Node* node = parent->appendChild(std::make_unique<TTree_Node>());
            int length = 10 + static_cast<int>(random() % 21);
            caption.clear();
            while (static_cast<int>(caption.size()) + 2 <= length) {
                caption.push_back(static_cast<char>(0xB0 + random() % 0x20));
                caption.push_back(static_cast<char>(0xA1 + random() % 0x5E));
            }
            if (static_cast<int>(caption.size()) < length) caption.push_back('a');
            node->setCaption(caption);
            nodes.push_back(node);
        }
    }
    return root;
}

size_t textBytes(const TTree_Node& root) {
    size_t total = 0;
    std::vector<const TTree_Node*> pending{&root};
    while (!pending.empty()) {
        const TTree_Node* node = pending.back();
        pending.pop_back();
        total += node->Caption.size() + node->Link.size() + node->Note_Excerpt.size();
        pending.insert(pending.end(), node->Children.begin(), node->Children.end());
    }
    return total;
}

}  // namespace

void runStoreBenchmark(int nodeCount) {
    setActiveTextMode(kTextModeSimplified);
    auto document = buildDocument(nodeCount);
    std::string path = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") +
                       "/vetra_bench_store.vt";

    double bestWrite = 1e9, bestRead = 1e9;
    int64_t fileSize = 0;
    double bytesPerNode = 0;
    for (int round = 0; round < 5; ++round) {
        auto out = openFile(path, TOpen_Mode::Create);
        auto start = Clock::now();
        if (!out || !writeNodeTree(*out, *document, {document.get()})) {
            std::fprintf(stderr, "write failed\n");
            return;
        }
        bestWrite = std::min(bestWrite, secondsSince(start));
        fileSize = out->size();
        out.reset();

        auto in = openFile(path, TOpen_Mode::ReadOnly);
        size_t heapBefore = heapInUse();
        start = Clock::now();
        auto back = std::make_unique<TTree_Node>();
        std::vector<TTree_Node*> viewRoots;
        TRead_Error error;
        if (!in || !readNodeTree(*in, *back, viewRoots, error)) {
            std::fprintf(stderr, "read failed\n");
            return;
        }
        bestRead = std::min(bestRead, secondsSince(start));
        size_t heapAfter = heapInUse();
        bytesPerNode = (double(heapAfter - heapBefore) - double(textBytes(*back))) / nodeCount;
    }
    std::remove(path.c_str());

    std::printf("nodes            %d\n", nodeCount);
    std::printf("file size        %lld bytes (%.1f per node)\n", static_cast<long long>(fileSize),
                double(fileSize) / nodeCount);
    std::printf("write            %.1f ms, %.0f nodes/s\n", bestWrite * 1e3, nodeCount / bestWrite);
    std::printf("read             %.1f ms, %.0f nodes/s\n", bestRead * 1e3, nodeCount / bestRead);
    std::printf("tree in memory   %.0f bytes per node beyond its texts (node object %zu bytes)\n",
                bytesPerNode, sizeof(TTree_Node));
}

}  // namespace vetra::bench
