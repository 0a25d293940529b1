#include "layout/text_measure_cache.h"

#include <cstring>

namespace vetra {

TText_Size TText_Measure_Cache::captionSize(TCanvas& canvas, const TTree_Node& node) {
    // Key: points, flags and the wrap flag as fixed-width bytes, then the face
    // with its NUL, then the caption.
    const int32_t head[3] = {node.Font_Size, node.Font_Style, captionWraps(node) ? 1 : 0};
    std::string_view face = node.fontName();
    std::string_view caption = node.Caption.view();
    Key_.resize(sizeof head);
    std::memcpy(Key_.data(), head, sizeof head);
    Key_.append(face);
    Key_.push_back('\0');
    Key_.append(caption);

    auto found = Sizes_.find(std::string_view(Key_));
    if (found != Sizes_.end()) return found->second;

    ++Misses_;
    TText_Size size = measureCaption(canvas, node);
    if (Sizes_.size() >= kMax_Entries) Sizes_.clear();
    Sizes_.emplace(Key_, size);
    return size;
}

}  // namespace vetra
