#include "common/memory/SlotArena.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <vector>

namespace zor {
namespace {

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
