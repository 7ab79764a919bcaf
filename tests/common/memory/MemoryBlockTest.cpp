#include "common/memory/MemoryBlock.h"

#include "common/memory/RefCountedData.h"
#include "common/memory/SlotArena.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <thread>
#include <vector>

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

// Counts destructions so that tests see exactly when slot 0 runs.
class Probe : public RefCountedData {
public:
    explicit Probe(int* destroyed) : m_destroyed(destroyed) {}
    ~Probe() { ++*m_destroyed; }
    ZOR_DELETING_DESTRUCTOR(Probe)

private:
    int* m_destroyed;
};

TEST(RefCountedData, ConcurrentRetainsBalanceAndTheLastReleaseDestroys) {
    int destroyed = 0;
    auto* probe = new Probe(&destroyed);
    EXPECT_EQ(probe->retain(), probe);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([probe] {
            for (int i = 0; i < 10000; ++i)
                probe->retain()->release();
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(probe->referenceCount(), 1u);
    probe->release();
    EXPECT_EQ(destroyed, 0);
    probe->release();
    EXPECT_EQ(destroyed, 1);

    // Without bit 0, slot 0 ends the object and leaves its memory alone.
    alignas(Probe) unsigned char storage[sizeof(Probe)];
    (new (storage) Probe(&destroyed))->deletingDestructor(0);
    EXPECT_EQ(destroyed, 2);
}

TEST(SlotArena, HandsOutSlotsInOrderAndReusesReleasedOnesWithoutGrowing) {
    SlotArena arena(1000);
    EXPECT_EQ(arena.slotSize(), 1024u) << "whole cache lines";

    // Beyond the first blocks, so that slots come from several.
    std::vector<void*> slots;
    for (int i = 0; i < 3000; ++i)
        slots.push_back(arena.allocate());
    EXPECT_EQ(static_cast<unsigned char*>(slots[1]) - static_cast<unsigned char*>(slots[0]), 1024);
    EXPECT_EQ(static_cast<unsigned char*>(slots[2]) - static_cast<unsigned char*>(slots[1]), 1024);
    std::set<std::uintptr_t> distinct;
    for (void* slot : slots) {
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(slot) % 64, 0u);
        // Written whole: a slot overlapping another or past its block shows under the sanitizer.
        std::fill_n(static_cast<unsigned char*>(slot), 1000, 0xA5);
        distinct.insert(reinterpret_cast<std::uintptr_t>(slot));
    }
    EXPECT_EQ(distinct.size(), slots.size());

    arena.free(slots[1]);
    EXPECT_EQ(arena.allocate(), slots[1]) << "the released slot first";
    const std::size_t reserved = arena.reservedBytes();
    for (int i = 0; i < 10000; ++i)
        arena.free(arena.allocate());
    for (void* slot : slots)
        arena.free(slot);
    for (int i = 0; i < 3000; ++i)
        arena.allocate();
    EXPECT_EQ(arena.reservedBytes(), reserved) << "released slots are taken again before any new block";
}

} // namespace
} // namespace zor
