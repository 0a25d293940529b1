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

uint64_t hashKey(const char* face, int32_t points, int32_t flags, std::string_view caption) {
    uint64_t h = mixBits(reinterpret_cast<uintptr_t>(face) ^
                         (uint64_t{static_cast<uint32_t>(points)} << 32) ^
                         static_cast<uint32_t>(flags) ^ (uint64_t{caption.size()} << 40));
    size_t at = 0;
    for (; at + 8 <= caption.size(); at += 8) {
        uint64_t chunk;
        std::memcpy(&chunk, caption.data() + at, 8);
        h = mixBits(h ^ chunk) + at;
    }
    if (at < caption.size()) {
        uint64_t tail = 0;
        std::memcpy(&tail, caption.data() + at, caption.size() - at);
        h = mixBits(h ^ tail ^ 0x5555555555555555ULL);
    }
    return h == 0 ? 1 : h;  // 0 marks an empty slot
}

}  // namespace

TText_Measure_Cache::TKey TText_Measure_Cache::keyOf(const TTree_Node& node) {
    TKey key;
    key.face = node.Font_Name;
    key.points = node.Font_Size;
    key.flags = (node.Font_Style & (kFont_Bold | kFont_Italic | kFont_Underline)) |
                (captionWraps(node) ? kWraps_Flag : 0);
    key.caption = node.Caption.view();
    key.hash = hashKey(key.face, key.points, key.flags, key.caption);
    return key;
}

void TText_Measure_Cache::prefetch(const TKey& key) const {
    if (Slots_.empty()) return;
    __builtin_prefetch(&Slots_[key.hash & (Slots_.size() - 1)]);
}

bool TText_Measure_Cache::matches(const TSlot& slot, const TKey& key) const {
    if (slot.hash != key.hash || slot.length != key.caption.size()) return false;
    TKey_Head head;
    std::memcpy(&head, Keys_.data() + slot.offset, sizeof head);
    if (head.face != key.face || head.points != key.points || head.flags != key.flags) return false;
    return key.caption.empty() || std::memcmp(Keys_.data() + slot.offset + sizeof head,
                                              key.caption.data(), key.caption.size()) == 0;
}

TText_Size TText_Measure_Cache::captionSize(TCanvas& canvas, const TTree_Node& node,
                                            const TKey& key) {
    if (!Slots_.empty()) {
        const size_t mask = Slots_.size() - 1;
        for (size_t at = key.hash & mask;; at = (at + 1) & mask) {
            const TSlot& slot = Slots_[at];
            if (slot.hash == 0) break;
            if (matches(slot, key)) return {slot.width, slot.height};
        }
    }
    ++Misses_;
    const TText_Size size = measureCaption(canvas, node);
    if (key.caption.size() <= kMax_Cached_Caption) insert(key, size);
    return size;
}

void TText_Measure_Cache::insert(const TKey& key, TText_Size size) {
    const size_t bytes = sizeof(TKey_Head) + key.caption.size();
    if (Count_ >= kMax_Entries || Keys_.size() + bytes > kMax_Key_Bytes) clear();
    if ((Count_ + 1) * 2 > Slots_.size()) grow();

    TSlot slot;
    slot.hash = key.hash;
    slot.offset = Keys_.size();
    slot.length = static_cast<uint32_t>(key.caption.size());
    slot.width = size.width;
    slot.height = size.height;
    const TKey_Head head{key.face, key.points, key.flags};
    Keys_.resize(Keys_.size() + bytes);
    std::memcpy(Keys_.data() + slot.offset, &head, sizeof head);
    if (!key.caption.empty())
        std::memcpy(Keys_.data() + slot.offset + sizeof head, key.caption.data(),
                    key.caption.size());

    const size_t mask = Slots_.size() - 1;
    size_t at = key.hash & mask;
    while (Slots_[at].hash != 0) at = (at + 1) & mask;
    Slots_[at] = slot;
    ++Count_;
}

void TText_Measure_Cache::grow() {
    std::vector<TSlot> old = std::move(Slots_);
    Slots_.assign(old.empty() ? 1024 : old.size() * 2, TSlot{});
    const size_t mask = Slots_.size() - 1;
    for (const TSlot& slot : old) {
        if (slot.hash == 0) continue;
        size_t at = slot.hash & mask;
        while (Slots_[at].hash != 0) at = (at + 1) & mask;
        Slots_[at] = slot;
    }
}

void TText_Measure_Cache::clear() {
    Slots_.clear();
    Keys_.clear();
    Count_ = 0;
}

}  // namespace vetra
