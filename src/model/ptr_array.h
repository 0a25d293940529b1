#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

namespace vetra {

// Growable array of pointers that does not own what it points to. Access at
// an index grows the array: the first growth gives 4 slots, each later one
// half as many again (at least up to the index), so that a node with a few
// children wastes little and one with hundreds of thousands is built in
// linear time. Storage never shrinks until clear().
template <class T>
class TPtr_Array {
  public:
    static constexpr int32_t Min_Capacity = 4;

    TPtr_Array() = default;
    ~TPtr_Array() { delete[] Data_; }
    TPtr_Array(const TPtr_Array&) = delete;
    TPtr_Array& operator=(const TPtr_Array&) = delete;
    TPtr_Array(TPtr_Array&& other) noexcept { swap(other); }
    TPtr_Array& operator=(TPtr_Array&& other) noexcept {
        TPtr_Array moved(std::move(other));
        swap(moved);
        return *this;
    }

    // Slot `index`, growing the array and raising the count when needed; a
    // negative index is taken as 0, so at(count()) appends a slot.
    T*& at(int32_t index) {
        if (index < 0) index = 0;
        if (index >= Capacity_) grow(index);
        if (index >= Count_) Count_ = index + 1;
        return Data_[index];
    }

    T* operator[](int32_t index) const { return Data_[index]; }
    int32_t count() const { return Count_; }
    int32_t capacity() const { return Capacity_; }
    bool empty() const { return Count_ == 0; }
    T* first() const { return Count_ > 0 ? Data_[0] : nullptr; }
    T* last() const { return Count_ > 0 ? Data_[Count_ - 1] : nullptr; }

    void append(T* item) { at(Count_) = item; }

    // Moves the slots at index .. count-1 up by one and stores `item` at index.
    void insertAt(int32_t index, T* item) {
        if (index < 0) index = 0;
        if (index > Count_) index = Count_;
        at(Count_);
        std::memmove(Data_ + index + 1, Data_ + index, sizeof(T*) * (Count_ - 1 - index));
        Data_[index] = item;
    }

    // Moves the later slots down by one and lowers the count.
    void removeAt(int32_t index) {
        if (index < 0 || index >= Count_) return;
        std::memmove(Data_ + index, Data_ + index + 1, sizeof(T*) * (Count_ - 1 - index));
        --Count_;
    }

    int32_t indexOf(const T* item) const {
        for (int32_t i = 0; i < Count_; ++i)
            if (Data_[i] == item) return i;
        return -1;
    }

    void swapSlots(int32_t a, int32_t b) { std::swap(Data_[a], Data_[b]); }

    // Frees the slot storage only; what the slots point to is the owner's business.
    void clear() {
        delete[] Data_;
        Data_ = nullptr;
        Capacity_ = 0;
        Count_ = 0;
    }

    T* const* begin() const { return Data_; }
    T* const* end() const { return Data_ + Count_; }

  private:
    void grow(int32_t index) {
        int64_t wanted = std::max<int64_t>(int64_t{Capacity_} + Capacity_ / 2, int64_t{index} + 1);
        const int32_t capacity =
            static_cast<int32_t>(std::clamp<int64_t>(wanted, Min_Capacity, INT32_MAX));
        T** data = new T*[capacity]();
        if (Data_ != nullptr) std::memcpy(data, Data_, sizeof(T*) * Capacity_);
        delete[] Data_;
        Data_ = data;
        Capacity_ = capacity;
    }

    void swap(TPtr_Array& other) noexcept {
        std::swap(Data_, other.Data_);
        std::swap(Capacity_, other.Capacity_);
        std::swap(Count_, other.Count_);
    }

    T** Data_ = nullptr;
    int32_t Capacity_ = 0;
    int32_t Count_ = 0;
};

}  // namespace vetra
