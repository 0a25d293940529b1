#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

#include "layout/canvas.h"
#include "layout/node_measure.h"
#include "model/tree_node.h"

namespace vetra {

// Caption sizes already measured, keyed by everything the size depends on:
// face, points, flags, whether the caption wraps, and the caption bytes. A
// repaint after one edit finds every other node here and measures only what
// changed. One cache belongs to one source of metrics (a screen canvas, the
// fixed metrics); the owner must not share it between them.
class TText_Measure_Cache {
  public:
    // At most this many entries; past it the cache starts over.
    static constexpr size_t kMax_Entries = 1 << 20;

    // The caption size of the node, measured on the canvas when not cached.
    TText_Size captionSize(TCanvas& canvas, const TTree_Node& node);

    size_t size() const { return Sizes_.size(); }
    size_t misses() const { return Misses_; }
    void clear() { Sizes_.clear(); }

  private:
    struct THash {
        using is_transparent = void;
        size_t operator()(std::string_view key) const { return std::hash<std::string_view>{}(key); }
    };
    struct TEqual {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const { return a == b; }
    };

    std::unordered_map<std::string, TText_Size, THash, TEqual> Sizes_;
    std::string Key_;
    size_t Misses_ = 0;
};

}  // namespace vetra
