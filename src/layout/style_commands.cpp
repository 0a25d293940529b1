#include "layout/style_commands.h"

#include <vector>

#include "layout/hit_test.h"

namespace vetra {

void applyStyle(TTree_Node& node, TStyle_Command command, int32_t value,
                std::string_view fontName) {
    switch (command) {
        case TStyle_Command::View_Style:
            node.setViewStyle(value);
            break;
        case TStyle_Command::Link_Style:
            node.setLinkStyle(value);
            break;
        case TStyle_Command::Edge_Style:
            node.Edge_Style = value;
            break;
        case TStyle_Command::Edge_Width:
            node.Edge_Width = value;
            break;
        case TStyle_Command::Link_Up_Width:
            node.Link_Up_Width = value;
            break;
        case TStyle_Command::Link_Down_Width:
            node.Link_Down_Width = value;
            break;
        case TStyle_Command::Color_Fill:
            node.Color_Fill = value;
            break;
        case TStyle_Command::Color_Edge:
            node.Color_Edge = value;
            break;
        case TStyle_Command::Color_Caption:
            node.Color_Caption = value;
            break;
        case TStyle_Command::Color_Link_Up:
            node.Color_Link_Up = value;
            break;
        case TStyle_Command::Color_Link_Down:
            node.Color_Link_Down = value;
            break;
        case TStyle_Command::Font_Style:
            node.toggleFontStyle(value);
            break;
        case TStyle_Command::Font_Name:
            node.setFontName(fontName);
            break;
    }
}

int32_t applyStyleCommand(TTree_Node& root, TStyle_Command command, int32_t value,
                          std::string_view fontName, TStyle_Change_Recorder* recorder) {
    std::vector<TTree_Node*> selected;
    collectSelected(root, selected);
    for (TTree_Node* node : selected) {
        if (recorder != nullptr) recorder->recordStyleChange(*node);
        applyStyle(*node, command, value, fontName);
    }
    return static_cast<int32_t>(selected.size());
}

}  // namespace vetra
