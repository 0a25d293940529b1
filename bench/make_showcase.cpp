// Writes a document that uses every view style, outline style and connector
// style, for looking at `vetra --render` output:
//   vetra_make_showcase OUT.vt
#include <cstdio>
#include <string>
#include <vector>

#include "layout/style_codes.h"
#include "layout/tree_builder.h"
#include "platform/file.h"
#include "platform/text_mode.h"
#include "store/node_record.h"

using namespace vetra;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vetra_make_showcase OUT.vt\n");
        return 2;
    }
    setActiveTextMode(1);
    const char* viewNames[] = {"",          "Tree_Main",  "Tree_Left", "Tree_Right",
                               "List_Left", "List_Right", "Stru_Up",   "Stru_Down"};
    const char* edgeNames[] = {"Auto", "Round_Rect", "Rect", "Lozenge", "Circle", "Underline"};
    const char* linkNames[] = {"Auto", "Direct", "Round_Direct", "Rect", "Round_Rect"};
    const int32_t fills[] = {-1, 0xE0F0FF, 0xFFF0E0, 0xE0FFE0, 0xF0E0FF, -1};

    auto root = testing::makeNode("Showcase \xCA\xBE\xC0\xFD");  // "示例" in GBK
    root->Edge_Style = kEdge_Round_Rect;
    root->Edge_Width = 3;
    root->Color_Fill = 0xD0F0FF;
    int32_t linkStyle = 1;
    for (int32_t view = 1; view <= 7; ++view) {
        TTree_Node* group = testing::addChild(*root, viewNames[view]);
        group->setViewStyle(view);
        group->Edge_Style = 1 + (view % 5);
        group->Edge_Width = 1 + view % 3;
        group->Color_Edge = view * 0x201030;
        group->Color_Fill = fills[view % 6];
        group->setLinkStyle(linkStyle);
        group->Link_Down_Width = 1 + view % 2;
        group->Color_Link_Down = 0x00804000 + view * 0x10;
        for (int32_t i = 0; i < 3; ++i) {
            const int32_t edge = (view + i) % 6;
            TTree_Node* child = testing::addChild(
                *group, std::string(edgeNames[edge]) + " / " + linkNames[linkStyle]);
            child->Edge_Style = edge;
            child->Color_Fill = fills[(view + i) % 6];
            if (i == 1) child->setLink("https://example.org/");
            for (int32_t j = 0; j < (i == 2 ? 2 : 1); ++j) {
                TTree_Node* leaf = testing::addChild(*child, "leaf " + std::to_string(j));
                leaf->Edge_Style = (edge + j + 1) % 6;
            }
            if (view == 4 && i == 0) child->Expanded = 0;
        }
        linkStyle = linkStyle % 4 + 1;
    }
    auto file = openFile(argv[1], TOpen_Mode::Create);
    if (!file || !writeNodeTree(*file, *root, {})) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
