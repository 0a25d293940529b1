#pragma once

#include <cstddef>
#include <mutex>

namespace vetra {

// Small blocks carved from slabs that each hold blocks of one size, a
// multiple of 4 up to kLargest_Pooled bytes. The general allocator puts a
// header before every block and rounds it up to 16 bytes; a large tree
// holds a node and a short caption for each of its nodes, so those bytes
// come to a tenth of its memory. A slab whose blocks have all come back is
// returned to the system, unless it is the last one of its size with room.
class TBlock_Pool {
  public:
    static constexpr size_t kLargest_Pooled = 256;
    static constexpr size_t kSlab_Size = 64 * 1024;

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
    size_t slabCount() const;

  private:
    struct TSlab;
    static constexpr size_t kStep = 4;
    static constexpr size_t kSizes = kLargest_Pooled / kStep;

    static bool hasRoom(const TSlab* slab);
    TSlab* newSlab(size_t blockSize);
    void listAsOpen(size_t sizeIndex, TSlab* slab);
    void unlistOpen(size_t sizeIndex, TSlab* slab);
    void freeSlab(TSlab* slab);

    TSlab* Open_[kSizes] = {};  // per size: the slabs with room
    TSlab* Full_ = nullptr;     // the slabs without room, of every size
    size_t Slab_Count_ = 0;
    mutable std::mutex Mutex_;
};

// Blocks for nodes, their texts and child lists, from one pool of the run;
// sizes above kLargest_Pooled come from the general allocator. Under
// AddressSanitizer every block does, so that each is checked on its own
// (overflow, use after release, release with another size).
void* allocateSmallBlock(size_t size);
void releaseSmallBlock(void* block, size_t size) noexcept;

}  // namespace vetra
