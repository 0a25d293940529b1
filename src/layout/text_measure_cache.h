#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "layout/canvas.h"
#include "layout/node_measure.h"
#include "model/tree_node.h"

namespace vetra {

// Caption sizes already measured, keyed by everything the size depends on:
// face, points, flags, whether the caption wraps, and the caption bytes. A
// repaint after one edit finds every other node here and measures only what
// changed. One cache belongs to one source of metrics (a screen canvas, the
// fixed metrics); the owner must not share it between them.
//
// The table is open-addressed and flat: a slot holds a 64-bit hash of the key
// and where the key itself is kept. A hit compares the whole key, so two keys
// with the same hash never share a size. Keys are appended to one byte store
// in the order they are first measured; a layout looks them up in nearly the
// same order, so the comparisons read that store forward.
class TText_Measure_Cache {
  public:
    // At most this many entries, and this many bytes of kept keys; past
    // either the cache starts over.
    static constexpr size_t kMax_Entries = size_t{1} << 20;
    static constexpr size_t kMax_Key_Bytes = size_t{64} << 20;
    // Longer captions are measured every time rather than kept.
    static constexpr size_t kMax_Cached_Caption = 4096;

    // Everything a caption size depends on, with its hash.
    struct TKey {
        const char* face = nullptr;  // interned: equal faces have equal pointers
        int32_t points = 0;
        int32_t flags = 0;  // font flags, and 8 when the caption wraps
        std::string_view caption;
        uint64_t hash = 0;
    };
    static TKey keyOf(const TTree_Node& node);

    // Starts loading the slot a key hashes to, ahead of its lookup.
    void prefetch(const TKey& key) const;

    // The caption size of the node, measured on the canvas when not cached.
    TText_Size captionSize(TCanvas& canvas, const TTree_Node& node) {
        return captionSize(canvas, node, keyOf(node));
    }
    // The same with the key already made by keyOf(node).
    TText_Size captionSize(TCanvas& canvas, const TTree_Node& node, const TKey& key);

    size_t size() const { return Count_; }
    size_t misses() const { return Misses_; }
    void clear();

  private:
    struct TSlot {
        uint64_t hash = 0;  // 0: empty
        uint64_t offset = 0;
        uint32_t length = 0;
        int32_t width = 0;
        int32_t height = 0;
        uint32_t unused = 0;
    };
    // The fixed part of a kept key; the caption bytes follow it.
    struct TKey_Head {
        const char* face;
        int32_t points;
        int32_t flags;
    };

    bool matches(const TSlot& slot, const TKey& key) const;
    void insert(const TKey& key, TText_Size size);
    void grow();

    std::vector<TSlot> Slots_;  // a power of two in size, at most half full
    std::vector<char> Keys_;
    size_t Count_ = 0;
    size_t Misses_ = 0;
};

}  // namespace vetra
