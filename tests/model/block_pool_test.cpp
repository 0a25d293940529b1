#include "model/block_pool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

namespace vetra {
namespace {

struct THeld {
    unsigned char* block;
    size_t size;
    unsigned char mark;
};

// Blocks of many sizes come and go in random order, emptied slabs serving
// other sizes: none overlaps another (each keeps the bytes written into it),
// and once all are back and emptied slabs are returned, only the one kept
// slab per size remains.
TEST(BlockPool, BlocksKeepTheirBytesAndEmptySlabsGoBack) {
    TBlock_Pool pool;
    std::mt19937 random(11);
    std::vector<THeld> held;
    std::vector<size_t> sizesUsed;
    auto check = [](const THeld& h) {
        for (size_t i = 0; i < h.size; ++i)
            if (h.block[i] != h.mark) return false;
        return true;
    };
    for (int step = 0; step < 60000; ++step) {
        if (held.empty() || random() % 3 != 0) {
            // Every size now and then; a few sizes in bulk, filling slabs.
            const size_t bulk[] = {3, 8, 22, 100, 192, 255};
            const size_t size = random() % 4 == 0 ? 1 + random() % TBlock_Pool::kLargest_Pooled
                                                  : bulk[random() % 6];
            auto* block = static_cast<unsigned char*>(pool.allocate(size));
            ASSERT_EQ(reinterpret_cast<uintptr_t>(block) % (size % 8 == 0 ? 8 : 4), 0u);
            const auto mark = static_cast<unsigned char>(random());
            std::memset(block, mark, size);
            held.push_back({block, size, mark});
            sizesUsed.push_back((std::max<size_t>(size, 8) + 3) / 4);
        } else {
            const size_t at = random() % held.size();
            ASSERT_TRUE(check(held[at])) << "a block was overwritten";
            pool.release(held[at].block, held[at].size);
            held[at] = held.back();
            held.pop_back();
        }
    }
    for (const THeld& h : held) {
        ASSERT_TRUE(check(h)) << "a block was overwritten";
        pool.release(h.block, h.size);
    }
    std::sort(sizesUsed.begin(), sizesUsed.end());
    const auto distinct =
        size_t(std::unique(sizesUsed.begin(), sizesUsed.end()) - sizesUsed.begin());
    EXPECT_GT(pool.slabCount(), distinct) << "emptied slabs are kept for reuse";
    pool.releaseEmptySlabs();
    EXPECT_EQ(pool.slabCount(), distinct);
}

TEST(BlockPool, AReleasedBlockIsHandedOutAgainAndSizesDoNotMix) {
    TBlock_Pool pool;
    void* a = pool.allocate(200);
    void* b = pool.allocate(24);
    const auto slabOf = [](void* p) {
        return reinterpret_cast<uintptr_t>(p) / TBlock_Pool::kSlab_Size;
    };
    EXPECT_NE(slabOf(a), slabOf(b));
    pool.release(a, 200);
    EXPECT_EQ(pool.allocate(197), a) << "197 and 200 bytes share one size";
    void* c = pool.allocate(196);
    EXPECT_NE(slabOf(c), slabOf(a)) << "196 bytes are a size of their own";
    EXPECT_THROW(pool.allocate(TBlock_Pool::kLargest_Pooled + 1), std::bad_alloc);
    // Blocks beyond the pooled sizes come from the general allocator.
    void* large = allocateSmallBlock(4096);
    std::memset(large, 1, 4096);
    releaseSmallBlock(large, 4096);
}

}  // namespace
}  // namespace vetra
