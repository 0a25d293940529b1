#include "layout/node_measure.h"

#include <algorithm>

#include "layout/layout_engine.h"
#include "layout/style_codes.h"
#include "layout/text_measure_cache.h"
#include "platform/text_codec.h"

namespace vetra {

size_t firstLineLength(std::string_view caption) {
    const size_t limit = (caption.size() + 1) / 2;
    size_t at = 0;
    while (at < caption.size()) {
        size_t step = codePageCharacterLength(caption[at]);
        if (at + step > limit) break;
        at += step;
    }
    return at;
}

bool captionWraps(const TTree_Node& node) {
    return node.Caption.size() > static_cast<uint32_t>(wrapLimit(node.Parent != nullptr));
}

void setCaptionFont(TCanvas& canvas, const TTree_Node& node) {
    canvas.setFont(node.fontName(), node.Font_Size,
                   node.Font_Style & (kFont_Bold | kFont_Italic | kFont_Underline));
}

TText_Size measureCaption(TCanvas& canvas, const TTree_Node& node) {
    setCaptionFont(canvas, node);
    std::string_view caption = node.Caption.view();
    // Sums in 64 bits: metrics of a huge caption must not overflow here.
    int64_t width = 0, height = 0;
    if (captionWraps(node)) {
        size_t split = firstLineLength(caption);
        std::string_view first = caption.substr(0, split);
        std::string_view second = caption.substr(split);
        width = std::max(canvas.textWidth(first), canvas.textWidth(second));
        height = int64_t{canvas.textHeight(first)} + canvas.textHeight(second) + 4;
    } else {
        width = canvas.textWidth(caption);
        height = int64_t{canvas.textHeight(caption)} + 1;
    }
    return {static_cast<int32_t>(std::clamp<int64_t>(width, 0, kMax_Text_Extent)),
            static_cast<int32_t>(std::clamp<int64_t>(height, 0, kMax_Text_Extent))};
}

void measureBox(TTree_Node& node, TText_Size text) {
    TLayout_Cache& cache = node.Layout;
    // An outline of width 0 (Auto) is drawn one pixel wide, and painting
    // stores that 1 in the node. Storing it here already measures the box as
    // it will be drawn: painting then leaves the box as laid out, and the
    // layout of the nodes around it stays true.
    if (lineWidthUsed(node.Edge_Width) == 0) node.Edge_Width = 1;
    const int32_t ew = lineWidthUsed(node.Edge_Width);
    // A caption of megabytes must not overflow the box arithmetic below.
    const int32_t tw = std::clamp(text.width, 0, kMax_Text_Extent);
    const int32_t th = std::clamp(text.height, 0, kMax_Text_Extent);
    const int32_t lw = node.Link.isPresent() && !node.Link.isEmpty() ? 11 : 0;
    const int32_t mw = node.hasChildren() ? 11 : 0;

    int32_t height = static_cast<int32_t>(th + th * 0.4);
    int32_t width = mw + tw + lw + 4;
    int32_t margin = 2;
    switch (node.Edge_Style) {
        case kEdge_Round_Rect:
        case kEdge_Rect:
        case kEdge_Underline:
            width += 2 * ew + 10;
            height += 2 * ew;
            margin = ew + 7;
            break;
        case kEdge_Lozenge:
            margin = 2 + width / 2 + ew;
            width = 2 * width + 2 * ew;
            height = 2 * height + 2 * ew;
            break;
        case kEdge_Circle:
            margin = static_cast<int32_t>(width * 0.2 * 0.5 + ew + 2);
            width = static_cast<int32_t>(width * 0.2 + 2 * ew + width);
            height = static_cast<int32_t>(height * 0.4 + 2 * ew + height);
            break;
        default:
            break;
    }

    storeIfChanged(cache.Text_Rect, {margin, (height - th) / 2, tw, th});
    storeIfChanged(cache.Box_Width, width + ew + 2);
    storeIfChanged(cache.Box_Height, height + ew + 2);
}

void measureNode(TCanvas& canvas, TTree_Node& node, TText_Measure_Cache* cache) {
    TText_Size text =
        cache != nullptr ? cache->captionSize(canvas, node) : measureCaption(canvas, node);
    measureBox(node, text);
}

namespace {

int32_t linkSide(const TTree_Node& node) {
    return node.Link.isPresent() && !node.Link.isEmpty() ? 11 : 0;
}

// The box height before the outline's width was added.
int32_t innerHeight(const TTree_Node& node) {
    return node.Layout.Box_Height - lineWidthUsed(node.Edge_Width) - 2;
}

}  // namespace

TNode_Rect linkRect(const TTree_Node& node) {
    const TNode_Rect& text = node.Layout.Text_Rect;
    const int32_t side = linkSide(node);
    return {text.x + text.width, (innerHeight(node) - side) / 2, side, side};
}

TNode_Rect markerRect(const TTree_Node& node) {
    const TNode_Rect& text = node.Layout.Text_Rect;
    const int32_t link = linkSide(node);
    const int32_t side = node.hasChildren() ? 11 : 0;
    const int32_t x = link >= 1 ? text.x + text.width + link + 1 : text.x + text.width;
    return {x, (innerHeight(node) - side) / 2, side, side};
}

}  // namespace vetra
