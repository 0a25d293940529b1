#include "layout/text_measure_cache.h"

#include <cstring>

namespace vetra {

namespace {

constexpr int32_t kWraps_Flag = 8;

uint64_t mixBits(uint64_t x) {
    x ^= x >> 32;
    x *= 0xD6E8FEB86659FD93ULL;
    x ^= x >> 32;
    x *= 0xD6E8FEB86659FD93ULL;
    x ^= x >> 32;
    return x;
}

}  // namespace

uint64_t TText_Measure_Cache::hashOf(const TKey& key) {
    uint64_t hash =
        mixBits(reinterpret_cast<uintptr_t>(key.face) ^
                (uint64_t{static_cast<uint32_t>(key.points)} << 32) ^
                static_cast<uint32_t>(key.flags) ^ (uint64_t{key.caption.size()} << 40));
    size_t at = 0;
    for (; at + 8 <= key.caption.size(); at += 8) {
        uint64_t chunk;
        std::memcpy(&chunk, key.caption.data() + at, 8);
        hash = mixBits(hash ^ chunk) + at;
    }
    if (at < key.caption.size()) {
        uint64_t tail = 0;
        std::memcpy(&tail, key.caption.data() + at, key.caption.size() - at);
        hash = mixBits(hash ^ tail ^ 0x5555555555555555ULL);
    }
    return hash;
}

void TText_Measure_Cache::addSlot(uint64_t hash, size_t offset) {
    const size_t mask = Slots_.size() - 1;
    size_t at = hash & mask;
    while (Slots_[at].offset != kEmpty) at = (at + 1) & mask;
    Slots_[at] = {static_cast<uint32_t>(hash >> 32), static_cast<uint32_t>(offset)};
}

bool TText_Measure_Cache::entryAt(size_t offset, const TKey& key, TEntry_Head& head) const {
    if (offset >= Entries_.size()) return false;
    std::memcpy(&head, Entries_.data() + offset, sizeof head);
    if (head.face != key.face || head.points != key.points || head.flags != key.flags ||
        head.length != key.caption.size())
        return false;
    return key.caption.empty() || std::memcmp(Entries_.data() + offset + sizeof head,
                                              key.caption.data(), key.caption.size()) == 0;
}

bool TText_Measure_Cache::find(const TKey& key, uint64_t hash, TText_Size& size) {
    if (Slots_.empty()) return false;
    const uint32_t tag = static_cast<uint32_t>(hash >> 32);
    const size_t mask = Slots_.size() - 1;
    for (size_t at = hash & mask; Slots_[at].offset != kEmpty; at = (at + 1) & mask) {
        TEntry_Head head;
        if (Slots_[at].tag != tag || !entryAt(Slots_[at].offset, key, head)) continue;
        Next_ = Slots_[at].offset + sizeof head + head.length;
        size = {head.width, head.height};
        return true;
    }
    return false;
}

TText_Size TText_Measure_Cache::captionSize(TCanvas& canvas, const TTree_Node& node) {
    const TKey key{node.fontName().data(), node.Font_Size,
                   (node.Font_Style & (kFont_Bold | kFont_Italic | kFont_Underline)) |
                       (captionWraps(node) ? kWraps_Flag : 0),
                   node.Caption.view()};
    TEntry_Head head;
    if (entryAt(Next_, key, head)) {
        Next_ += sizeof head + head.length;
        return {head.width, head.height};
    }

    const uint64_t hash = hashOf(key);
    TText_Size size;
    if (find(key, hash, size)) return size;
    ++Misses_;
    size = measureCaption(canvas, node);
    if (key.caption.size() <= kMax_Cached_Caption) insert(key, hash, size);
    return size;
}

void TText_Measure_Cache::insert(const TKey& key, uint64_t hash, TText_Size size) {
    const size_t bytes = sizeof(TEntry_Head) + key.caption.size();
    if (Count_ >= kMax_Entries || Entries_.size() + bytes > kMax_Entry_Bytes) clear();
    if ((Count_ + 1) * 2 > Slots_.size()) grow();
    // The store is reserved whole once, so it never grows past its limit by
    // doubling; the pages it does not use yet cost no memory.
    if (Entries_.capacity() == 0) Entries_.reserve(kMax_Entry_Bytes);

    const size_t offset = Entries_.size();
    const TEntry_Head head{
        key.face,   key.points,  key.flags, static_cast<uint32_t>(key.caption.size()),
        size.width, size.height, 0};
    Entries_.resize(offset + bytes);
    std::memcpy(Entries_.data() + offset, &head, sizeof head);
    if (!key.caption.empty())
        std::memcpy(Entries_.data() + offset + sizeof head, key.caption.data(), key.caption.size());
    Next_ = Entries_.size();

    addSlot(hash, offset);
    ++Count_;
}

// The table keeps only tags and offsets, so growing hashes each kept entry
// again, walking the store from the start.
void TText_Measure_Cache::grow() {
    Slots_.assign(Slots_.empty() ? 1024 : Slots_.size() * 2, TSlot{0, kEmpty});
    TEntry_Head head;
    for (size_t offset = 0; offset < Entries_.size(); offset += sizeof head + head.length) {
        std::memcpy(&head, Entries_.data() + offset, sizeof head);
        const TKey key{head.face,
                       head.points,
                       head.flags,
                       {Entries_.data() + offset + sizeof head, head.length}};
        addSlot(hashOf(key), offset);
    }
}

void TText_Measure_Cache::clear() {
    Slots_.clear();
    Entries_.clear();
    Next_ = 0;
    Count_ = 0;
}

}  // namespace vetra
