#pragma once

// A document window as the tool windows see it: a document whose tree is laid
// out with fixed metrics, a picture, scroll bars and a search text, with a
// record of what the tool windows asked of it.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "layout/fixed_metrics_canvas.h"
#include "layout/tree_builder.h"
#include "layout/view_paint.h"
#include "ui/tool_window_target.h"

namespace vetra::test {

class TFake_Target : public TTool_Window_Target {
  public:
    TFake_Target() { relayout(); }

    TTree_Node& viewRoot() override { return *View_Root; }
    TDocument_Tree& document() override { return Doc; }
    const TView_Picture& viewPicture() override { return Picture; }
    void refreshView() override {
        ++Refreshes;
        relayout();
    }
    void revealNode(TTree_Node& node, bool relayoutNeeded) override {
        Revealed.emplace_back(&node, relayoutNeeded);
        if (relayoutNeeded) relayout();
    }
    TView_Scroll viewScroll() override { return Scroll; }
    void setViewScroll(int32_t x, int32_t y) override { Scrolled_To.emplace_back(x, y); }
    int32_t outerWidth() override { return Outer_Width; }
    int32_t outerHeight() override { return Outer_Height; }
    std::string& searchText() override { return Search_Text; }

    void relayout() {
        TFixed_Metrics_Canvas metrics;
        relayoutView(metrics, *View_Root, 0, 0, Picture);
    }

    TDocument_Tree Doc;
    TTree_Node* View_Root = Doc.root();
    TView_Picture Picture;
    TView_Scroll Scroll;
    int32_t Outer_Width = 400, Outer_Height = 300;
    std::string Search_Text;
    int Refreshes = 0;
    std::vector<std::pair<TTree_Node*, bool>> Revealed;
    std::vector<std::pair<int32_t, int32_t>> Scrolled_To;
};

}  // namespace vetra::test
