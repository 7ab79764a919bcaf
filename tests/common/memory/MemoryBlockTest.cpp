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
    const Allocator* record = defaultAllocator();
    ASSERT_EQ(record, defaultAllocator());
    auto* block = static_cast<unsigned char*>(record->allocate(16));
    for (int i = 0; i < 16; ++i)
        block[i] = static_cast<unsigned char>(i + 1);
    auto* smaller = static_cast<unsigned char*>(reallocateMemoryBlock(block, 4));
    EXPECT_EQ(memoryBlockSize(smaller), 8u);
    auto* larger = static_cast<unsigned char*>(record->reallocate(smaller, 64));
    EXPECT_EQ(memoryBlockSize(larger), 64u);
    EXPECT_EQ(larger[0] + larger[3], 1 + 4);

    // Growing in place keeps the contents and records the new size, as moving does.
    auto* grown = static_cast<unsigned char*>(growMemoryBlock(larger, 4001));
    EXPECT_EQ(memoryBlockSize(grown), 4008u);
    EXPECT_EQ(grown[0] + grown[3], 1 + 4);
    freeMemoryBlock(grown);

    void* fresh = reallocateMemoryBlock(nullptr, 24);
    EXPECT_EQ(memoryBlockSize(fresh), 24u);
    freeMemoryBlock(fresh);
    fresh = growMemoryBlock(nullptr, 24);
    EXPECT_EQ(memoryBlockSize(fresh), 24u);
    freeMemoryBlock(fresh);
    freeMemoryBlock(nullptr);
}

TEST(MemoryBlockDeathTest, ZeroSizeOrAnExhaustedHeapAborts) {
    EXPECT_DEATH(allocateMemoryBlock(0), "");
    EXPECT_DEATH(allocateMemoryBlock(SIZE_MAX / 2), "");
}

} // namespace
} // namespace zor
