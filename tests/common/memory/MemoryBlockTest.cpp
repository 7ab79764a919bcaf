#include "common/memory/MemoryBlock.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace zor {
namespace {

TEST(MemoryBlock, HeaderRecordsUsableSizeRoundedToEight) {
    for (std::size_t requested : {1u, 7u, 8u, 9u, 130u}) {
        void* block = allocateMemoryBlock(requested);
        EXPECT_EQ(memoryBlockSize(block), (requested + 7u) / 8u * 8u) << requested;
        uint64 header = 0;
        std::memcpy(&header, static_cast<unsigned char*>(block) - kMemoryBlockHeaderSize, sizeof header);
        EXPECT_EQ(header, memoryBlockSize(block));
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % 16u, 0u);
        freeMemoryBlock(block);
    }
}

TEST(MemoryBlock, ReallocateKeepsTheSmallerOfBothSizes) {
    auto* block = static_cast<unsigned char*>(allocateMemoryBlock(16));
    for (int i = 0; i < 16; ++i)
        block[i] = static_cast<unsigned char>(i + 1);
    auto* smaller = static_cast<unsigned char*>(reallocateMemoryBlock(block, 4));
    EXPECT_EQ(memoryBlockSize(smaller), 8u);
    EXPECT_EQ(smaller[0], 1);
    EXPECT_EQ(smaller[3], 4);
    auto* larger = static_cast<unsigned char*>(reallocateMemoryBlock(smaller, 64));
    EXPECT_EQ(larger[3], 4);
    freeMemoryBlock(larger);

    void* fresh = reallocateMemoryBlock(nullptr, 24);
    EXPECT_EQ(memoryBlockSize(fresh), 24u);
    freeMemoryBlock(fresh);
    freeMemoryBlock(nullptr);
}

TEST(MemoryBlock, DefaultAllocatorIsOneRecordOverMemoryBlocks) {
    const Allocator* record = defaultAllocator();
    ASSERT_EQ(record, defaultAllocator());
    void* block = record->allocate(10);
    EXPECT_EQ(memoryBlockSize(block), 16u);
    block = record->reallocate(block, 40);
    EXPECT_EQ(memoryBlockSize(block), 40u);
    record->free(block, 40);
}

TEST(MemoryBlockDeathTest, ZeroSizeAborts) {
    EXPECT_DEATH(allocateMemoryBlock(0), "");
}

TEST(MemoryBlockDeathTest, ExhaustedHeapAborts) {
    EXPECT_DEATH(allocateMemoryBlock(SIZE_MAX / 2), "");
}

} // namespace
} // namespace zor
