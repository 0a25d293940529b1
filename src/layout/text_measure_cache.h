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
// Entries (key and size) are appended to one byte store in the order they are
// first measured. A layout walks the nodes in the same order as the last one,
// so the entry a node needs is usually the one after the previous node's: that
// one is compared first, and the store is read forward. Otherwise a flat
// open-addressed table, indexed by a 64-bit hash of the key, finds the entry.
// Every hit compares the whole key, so two keys with the same hash never
// share a size.
class TText_Measure_Cache {
  public:
    // At most this many entries, and this many bytes of kept entries; past
    // either the cache starts over. A larger tree is measured again on a
    // full layout rather than hold some 60 bytes more per node: edits lay out
    // only what they change, and measuring costs about as much as a miss.
    static constexpr size_t kMax_Entries = size_t{1} << 12;
    static constexpr size_t kMax_Entry_Bytes = size_t{1} << 18;
    // Longer captions are measured every time rather than kept.
    static constexpr size_t kMax_Cached_Caption = 4096;

    // The caption size of the node, measured on the canvas when not cached.
    TText_Size captionSize(TCanvas& canvas, const TTree_Node& node);

    size_t size() const { return Count_; }
    size_t misses() const { return Misses_; }
    void clear();

  private:
    struct TKey {
        const char* face;  // interned: equal faces have equal pointers
        int32_t points;
        int32_t flags;  // font flags, and 8 when the caption wraps
        std::string_view caption;
    };
    // The fixed part of a kept entry; the caption bytes follow it.
    struct TEntry_Head {
        const char* face;
        int32_t points;
        int32_t flags;
        uint32_t length;
        int32_t width;
        int32_t height;
        uint32_t unused;
    };
    struct TSlot {
        uint32_t tag;     // high half of the key's hash
        uint32_t offset;  // of the entry in Entries_; kEmpty when free
    };
    static constexpr uint32_t kEmpty = UINT32_MAX;

    static uint64_t hashOf(const TKey& key);
    void addSlot(uint64_t hash, size_t offset);
    // The entry at `offset` when it holds `key`.
    bool entryAt(size_t offset, const TKey& key, TEntry_Head& head) const;
    bool find(const TKey& key, uint64_t hash, TText_Size& size);
    void insert(const TKey& key, uint64_t hash, TText_Size size);
    void grow();

    std::vector<TSlot> Slots_;  // a power of two in size, at most half full
    std::vector<char> Entries_;
    size_t Next_ = 0;  // where the entry after the last one found begins
    size_t Count_ = 0;
    size_t Misses_ = 0;
};

}  // namespace vetra
