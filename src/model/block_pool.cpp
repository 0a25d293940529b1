#include "model/block_pool.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <new>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define VETRA_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VETRA_ADDRESS_SANITIZER 1
#endif
#endif

#ifdef VETRA_ADDRESS_SANITIZER
#include <sanitizer/asan_interface.h>
#define POISON(address, size) ASAN_POISON_MEMORY_REGION(address, size)
#define UNPOISON(address, size) ASAN_UNPOISON_MEMORY_REGION(address, size)
#else
#define POISON(address, size) ((void)(address), (void)(size))
#define UNPOISON(address, size) ((void)(address), (void)(size))
#endif

namespace vetra {

// The head of a slab, at its start; its blocks follow from kFirst_Block.
// A slab is aligned to its size, so a block finds its slab by its address.
struct TBlock_Pool::TSlab {
    TSlab* previous;
    TSlab* next;
    void* released;  // blocks given back, each holding the address of the next (unaligned)
    uint32_t block_size;
    uint32_t used;   // blocks handed out
    uint32_t fresh;  // offset of the first block never handed out
    bool open;       // listed among the slabs with room (else among the full)
};

namespace {

constexpr size_t kFirst_Block = 64;
static_assert(sizeof(void*) <= 8 && kFirst_Block % 16 == 0);

// A released block holds the address of the next, so none is smaller.
size_t sizeIndexOf(size_t size, size_t step) {
    return (std::max(size, sizeof(void*)) + step - 1) / step - 1;
}

}  // namespace

bool TBlock_Pool::hasRoom(const TSlab* slab) {
    return slab->released != nullptr || slab->fresh + slab->block_size <= kSlab_Size;
}

TBlock_Pool::~TBlock_Pool() {
    std::vector<TSlab**> lists{&Full_, &Empty_};
    for (TSlab*& open : Open_) lists.push_back(&open);
    for (TSlab** list : lists)
        while (*list != nullptr) {
            TSlab* slab = *list;
            *list = slab->next;
            freeSlab(slab);
        }
    if (Carve_End_ > Carve_Next_)
        munmap(reinterpret_cast<void*>(Carve_Next_), Carve_End_ - Carve_Next_);
}

TBlock_Pool::TSlab* TBlock_Pool::newSlab(size_t blockSize) {
    const size_t index = sizeIndexOf(blockSize, kStep);
    if (Empty_ != nullptr) {
        // A slab emptied before: its pages are in memory already.
        TSlab* slab = Empty_;
        Empty_ = slab->next;
        *slab =
            TSlab{nullptr, nullptr, nullptr, uint32_t(blockSize), 0, uint32_t(kFirst_Block), false};
        ++Slabs_Of_Size_[index];
        return slab;
    }
    if (Carve_Next_ == Carve_End_ && !mapRegion()) return nullptr;
    const uintptr_t aligned = Carve_Next_;
    Carve_Next_ += kSlab_Size;
    // A size that already fills a slab is being used in bulk (a document
    // being read): its next slab is faulted in with one call rather than a
    // fault a page. The first slab of a size fills page by page.
    if (Slabs_Of_Size_[index] > 0)
        madvise(reinterpret_cast<void*>(aligned), kSlab_Size, MADV_POPULATE_WRITE);
    ++Slabs_Of_Size_[index];
    auto* slab = new (reinterpret_cast<void*>(aligned))
        TSlab{nullptr, nullptr, nullptr, uint32_t(blockSize), 0, uint32_t(kFirst_Block), false};
    POISON(reinterpret_cast<char*>(aligned) + kFirst_Block, kSlab_Size - kFirst_Block);
    ++Slab_Count_;
    return slab;
}

bool TBlock_Pool::mapRegion() {
    // One more slab's size is mapped so that aligned slabs lie inside; the
    // rest is unmapped again. Slabs are cut from the region as needed: pages
    // not yet cut cost no memory.
    const size_t size = kRegion_Size + kSlab_Size;
    void* mapped = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) return false;
    const uintptr_t start = reinterpret_cast<uintptr_t>(mapped);
    const uintptr_t aligned = (start + kSlab_Size - 1) & ~uintptr_t(kSlab_Size - 1);
    if (aligned > start) munmap(mapped, aligned - start);
    const uintptr_t end = start + size, regionEnd = aligned + kRegion_Size;
    if (end > regionEnd) munmap(reinterpret_cast<void*>(regionEnd), end - regionEnd);
    Carve_Next_ = aligned;
    Carve_End_ = regionEnd;
    return true;
}

void TBlock_Pool::freeSlab(TSlab* slab) {
    UNPOISON(slab, kSlab_Size);
    munmap(slab, kSlab_Size);
    --Slab_Count_;
}

void TBlock_Pool::listAsOpen(size_t sizeIndex, TSlab* slab) {
    // Out of the full list, to the front of the open list of its size.
    if (slab->previous != nullptr) slab->previous->next = slab->next;
    if (slab->next != nullptr) slab->next->previous = slab->previous;
    if (Full_ == slab) Full_ = slab->next;
    slab->previous = nullptr;
    slab->next = Open_[sizeIndex];
    if (slab->next != nullptr) slab->next->previous = slab;
    Open_[sizeIndex] = slab;
    slab->open = true;
}

void TBlock_Pool::unlistOpen(size_t sizeIndex, TSlab* slab) {
    if (slab->previous != nullptr) slab->previous->next = slab->next;
    if (slab->next != nullptr) slab->next->previous = slab->previous;
    if (Open_[sizeIndex] == slab) Open_[sizeIndex] = slab->next;
    slab->previous = slab->next = nullptr;
    slab->open = false;
}

void* TBlock_Pool::allocate(size_t size) {
    if (size == 0 || size > kLargest_Pooled) throw std::bad_alloc();
    const size_t index = sizeIndexOf(size, kStep);
    const std::lock_guard lock(Lock_);
    TSlab* slab = Open_[index];
    if (slab == nullptr) {
        slab = newSlab((index + 1) * kStep);
        if (slab == nullptr) throw std::bad_alloc();
        listAsOpen(index, slab);
    }
    char* block;
    if (slab->released != nullptr) {
        block = static_cast<char*>(slab->released);
        UNPOISON(block, slab->block_size);
        std::memcpy(&slab->released, block, sizeof(void*));
    } else {
        block = reinterpret_cast<char*>(slab) + slab->fresh;
        UNPOISON(block, slab->block_size);
        slab->fresh += slab->block_size;
    }
    ++slab->used;
    if (!hasRoom(slab)) {
        unlistOpen(index, slab);
        slab->next = Full_;
        if (Full_ != nullptr) Full_->previous = slab;
        Full_ = slab;
    }
    return block;
}

void TBlock_Pool::release(void* block, size_t size) noexcept {
    if (block == nullptr) return;
    const size_t index = sizeIndexOf(size, kStep);
    const std::lock_guard lock(Lock_);
    auto* slab =
        reinterpret_cast<TSlab*>(reinterpret_cast<uintptr_t>(block) & ~uintptr_t(kSlab_Size - 1));
    std::memcpy(block, &slab->released, sizeof(void*));
    slab->released = block;
    POISON(block, slab->block_size);
    --slab->used;
    if (!slab->open) listAsOpen(index, slab);
    // An empty slab is kept for any size unless it is the only one of its
    // size with room, so that one block coming and going moves no slab.
    if (slab->used == 0 && (Open_[index] != slab || slab->next != nullptr)) {
        unlistOpen(index, slab);
        --Slabs_Of_Size_[index];
        slab->next = Empty_;
        Empty_ = slab;
    }
}

void TBlock_Pool::releaseEmptySlabs() {
    const std::lock_guard lock(Lock_);
    while (Empty_ != nullptr) {
        TSlab* slab = Empty_;
        Empty_ = slab->next;
        freeSlab(slab);
    }
}

size_t TBlock_Pool::slabCount() const {
    const std::lock_guard lock(Lock_);
    return Slab_Count_;
}

#ifndef VETRA_ADDRESS_SANITIZER
namespace {
// Never destroyed: blocks may be released while static objects go.
TBlock_Pool& runPool() {
    static TBlock_Pool* pool = new TBlock_Pool;
    return *pool;
}
}  // namespace
#endif

void* allocateSmallBlock(size_t size) {
#ifndef VETRA_ADDRESS_SANITIZER
    if (size > 0 && size <= TBlock_Pool::kLargest_Pooled) return runPool().allocate(size);
#endif
    return ::operator new(size);
}

void releaseEmptyBlockSlabs() {
#ifndef VETRA_ADDRESS_SANITIZER
    runPool().releaseEmptySlabs();
#endif
}

void releaseSmallBlock(void* block, size_t size) noexcept {
#ifndef VETRA_ADDRESS_SANITIZER
    if (size > 0 && size <= TBlock_Pool::kLargest_Pooled) {
        runPool().release(block, size);
        return;
    }
#endif
    ::operator delete(block, size);
}

}  // namespace vetra
