#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <utility>

#include "model/block_pool.h"

namespace vetra {

// Growable array of pointers that does not own what it points to. Access at
// an index grows the array: the first growth gives 4 cells, each later one
// half as many again (at least up to the index), so that a node with a few
// children wastes little and one with hundreds of thousands is built in
// linear time. Storage never shrinks until clear().
template <class T>
class TPtr_Array {
  public:
    static constexpr int32_t Min_Capacity = 4;

    TPtr_Array() = default;
    ~TPtr_Array() { release(); }
    TPtr_Array(const TPtr_Array&) = delete;
    TPtr_Array& operator=(const TPtr_Array&) = delete;
    TPtr_Array(TPtr_Array&& other) noexcept { std::swap(Block_, other.Block_); }
    TPtr_Array& operator=(TPtr_Array&& other) noexcept {
        TPtr_Array moved(std::move(other));
        std::swap(Block_, moved.Block_);
        return *this;
    }

    // Slot `index`, growing the array and raising the count when needed; a
    // negative index is taken as 0, so at(count()) appends a slot.
    T*& at(int32_t index) {
        if (index < 0) index = 0;
        if (index >= capacity()) grow(index);
        if (index >= head().count) head().count = index + 1;
        return items()[index];
    }

    T* operator[](int32_t index) const { return items()[index]; }
    int32_t count() const { return Block_ != nullptr ? head().count : 0; }
    int32_t capacity() const { return Block_ != nullptr ? head().capacity : 0; }
    bool empty() const { return count() == 0; }
    T* first() const { return count() > 0 ? items()[0] : nullptr; }
    T* last() const { return count() > 0 ? items()[count() - 1] : nullptr; }

    void append(T* item) { at(count()) = item; }
    // Room for exactly `cells` cells when it has fewer, so that a list whose
    // length is known ahead (a node read from a file) wastes no room.
    void reserve(int32_t cells) {
        if (cells > capacity()) resize(cells);
    }

    // Moves the cells at index .. count-1 up by one and stores `item` at index.
    void insertAt(int32_t index, T* item) {
        const int32_t before = count();
        if (index < 0) index = 0;
        if (index > before) index = before;
        at(before);
        std::memmove(items() + index + 1, items() + index, sizeof(T*) * (before - index));
        items()[index] = item;
    }

    // Moves the later cells down by one and lowers the count.
    void removeAt(int32_t index) {
        const int32_t before = count();
        if (index < 0 || index >= before) return;
        std::memmove(items() + index, items() + index + 1, sizeof(T*) * (before - 1 - index));
        --head().count;
    }

    int32_t indexOf(const T* item) const {
        const int32_t n = count();
        for (int32_t i = 0; i < n; ++i)
            if (items()[i] == item) return i;
        return -1;
    }

    void swapSlots(int32_t a, int32_t b) { std::swap(items()[a], items()[b]); }

    // Frees the slot storage only; what the cells point to is the owner's business.
    void clear() { release(); }

    T* const* begin() const { return Block_ != nullptr ? items() : nullptr; }
    T* const* end() const { return Block_ != nullptr ? items() + head().count : nullptr; }

  private:
    // One block holds the capacity and count, then the cells, so an empty
    // array (a leaf's children) is a single null pointer.
    struct THead {
        int32_t capacity;
        int32_t count;
    };
    static_assert(sizeof(THead) % alignof(T*) == 0, "the cells follow the head aligned");

    THead& head() const { return *std::launder(static_cast<THead*>(Block_)); }
    T** items() const {
        return std::launder(reinterpret_cast<T**>(static_cast<char*>(Block_) + sizeof(THead)));
    }

    static size_t blockSize(int32_t capacity) {
        return sizeof(THead) + sizeof(T*) * size_t(capacity);
    }

    void grow(int32_t index) {
        const int32_t old = capacity();
        int64_t wanted = std::max<int64_t>(int64_t{old} + old / 2, int64_t{index} + 1);
        resize(static_cast<int32_t>(std::clamp<int64_t>(wanted, Min_Capacity, INT32_MAX)));
    }

    void resize(int32_t capacity) {
        const int32_t old = this->capacity(), used = count();
        void* block = allocateSmallBlock(blockSize(capacity));
        new (block) THead{capacity, used};
        T** cells = reinterpret_cast<T**>(static_cast<char*>(block) + sizeof(THead));
        std::uninitialized_value_construct_n(cells, capacity);
        if (Block_ != nullptr) std::memcpy(cells, items(), sizeof(T*) * size_t(old));
        release();
        Block_ = block;
    }

    void release() {
        if (Block_ != nullptr) releaseSmallBlock(Block_, blockSize(capacity()));
        Block_ = nullptr;
    }

    void* Block_ = nullptr;
};

}  // namespace vetra
