// Writes a large document for the editor benchmark: N nodes (default
// 100 000), captions of 10 to 30 bytes, inner nodes with 2 to 8 children, a
// mix of view, edge and link styles on some subtrees.
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "model/tree_node.h"
#include "platform/file.h"
#include "platform/text_mode.h"
#include "store/node_record.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: vetra_make_large OUT.vt [NODES]\n");
        return 2;
    }
    int count = argc > 2 ? std::atoi(argv[2]) : 100000;
    vetra::setActiveTextMode(1);
    std::mt19937 random(7);
    vetra::TTree_Node root;
    root.setCaption("Large document");
    std::vector<vetra::TTree_Node*> nodes{&root};
    for (size_t next = 0; static_cast<int>(nodes.size()) < count; ++next) {
        vetra::TTree_Node* parent = nodes[next];
        int children = 2 + static_cast<int>(random() % 7);
        for (int c = 0; c < children && static_cast<int>(nodes.size()) < count; ++c) {
            auto* node = parent->appendChild(std::make_unique<vetra::TTree_Node>());
            std::string caption;
            int length = 10 + static_cast<int>(random() % 21);
            while (static_cast<int>(caption.size()) + 2 <= length) {
                caption.push_back(static_cast<char>(0xB0 + random() % 0x20));
                caption.push_back(static_cast<char>(0xA1 + random() % 0x5E));
            }
            node->setCaption(caption);
            if (random() % 50 == 0) node->setViewStyle(1 + static_cast<int>(random() % 7));
            if (random() % 10 == 0) node->Edge_Style = static_cast<int>(random() % 6);
            if (random() % 20 == 0) node->setLinkStyle(1 + static_cast<int>(random() % 4));
            nodes.push_back(node);
        }
    }
    auto file = vetra::openFile(argv[1], vetra::TOpen_Mode::Create);
    if (!file || !vetra::writeNodeTree(*file, root, {&root})) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
