#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <thread>

namespace vetra {

// A lock for work of a few instructions that nearly always finds it free:
// taking it costs one atomic exchange, where a mutex costs a call.
class TSpin_Lock {
  public:
    void lock() noexcept {
        while (Taken_.test_and_set(std::memory_order_acquire)) std::this_thread::yield();
    }
    void unlock() noexcept { Taken_.clear(std::memory_order_release); }

  private:
    std::atomic_flag Taken_;
};

// Small blocks carved from slabs that each hold blocks of one size, a
// multiple of 4 up to kLargest_Pooled bytes. The general allocator puts a
// header before every block and rounds it up to 16 bytes; a large tree
// holds a node and a short caption for each of its nodes, so those bytes
// come to a tenth of its memory. A slab whose blocks have all come back is
// kept for blocks of any size, until releaseEmptySlabs returns such slabs to
// the system: a tree read again after one was freed finds its memory ready.
class TBlock_Pool {
  public:
    static constexpr size_t kLargest_Pooled = 256;
    static constexpr size_t kSlab_Size = 64 * 1024;
    static constexpr size_t kRegion_Size = 64 * kSlab_Size;  // mapped at once

    TBlock_Pool() = default;
    // Returns every slab, whether or not its blocks came back.
    ~TBlock_Pool();
    TBlock_Pool(const TBlock_Pool&) = delete;
    TBlock_Pool& operator=(const TBlock_Pool&) = delete;

    // A block of `size` bytes (1 to kLargest_Pooled), aligned to 8 when the
    // size is a multiple of 8 and to 4 otherwise; throws std::bad_alloc when
    // the system has no memory left.
    void* allocate(size_t size);
    // Takes back a block from allocate, given the size it was asked with.
    void release(void* block, size_t size) noexcept;
    void releaseEmptySlabs();
    size_t slabCount() const;

  private:
    struct TSlab;
    static constexpr size_t kStep = 4;
    static constexpr size_t kSizes = kLargest_Pooled / kStep;

    static bool hasRoom(const TSlab* slab);
    TSlab* newSlab(size_t blockSize);
    bool mapRegion();
    void listAsOpen(size_t sizeIndex, TSlab* slab);
    void unlistOpen(size_t sizeIndex, TSlab* slab);
    void freeSlab(TSlab* slab);

    TSlab* Open_[kSizes] = {};  // per size: the slabs with room
    TSlab* Full_ = nullptr;     // the slabs without room, of every size
    TSlab* Empty_ = nullptr;    // emptied slabs, kept for any size
    uint32_t Slabs_Of_Size_[kSizes] = {};
    uintptr_t Carve_Next_ = 0, Carve_End_ = 0;  // the mapped region not yet cut into slabs
    size_t Slab_Count_ = 0;
    mutable TSpin_Lock Lock_;
};

// Blocks for nodes, their texts and child lists, from one pool of the run;
// sizes above kLargest_Pooled come from the general allocator. Under
// AddressSanitizer every block does, so that each is checked on its own
// (overflow, use after release, release with another size).
void* allocateSmallBlock(size_t size);
void releaseSmallBlock(void* block, size_t size) noexcept;
// Returns the pool's emptied slabs to the system (after a document closes).
void releaseEmptyBlockSlabs();

}  // namespace vetra
