// Telling pointers distinct by their increasing runs, and finding one among them.

#include "physics/engine3d/collision/IncreasingRuns.h"

#include <gtest/gtest.h>

#include <vector>

namespace zor {
namespace {

char g_memory[128 << 10];

std::vector<const void*> pointersAt(const std::vector<int>& offsets) {
    std::vector<const void*> pointers;
    for (int offset : offsets)
        pointers.push_back(g_memory + 16 + offset);
    return pointers;
}

const void* itself(const void* pointer) {
    return pointer;
}

TEST(IncreasingRuns, ProvesDistinctOnlyRunsThatLieApart) {
    std::vector<int> descending;
    for (int offset = 320; offset > 0; offset -= 8)
        descending.push_back(offset);
    const struct {
        const char* what;
        std::vector<int> offsets;
        bool distinct;
    } cases[] = {
        {"none", {}, true},
        {"one run", {0, 8, 16}, true},
        {"runs apart, each lower than the one before", {200, 208, 100, 108, 116, 0, 8}, true},
        {"runs apart, one a long step above the last", {0, 8, 100000, 100008, 50000, 50008}, true},
        {"runs that overlap", {0, 16, 8, 24}, false},
        {"a pointer twice in a row", {0, 8, 8, 16}, false},
        {"a pointer again in a later run", {0, 8, 16, 8}, false},
        {"more runs than a sixteenth of the pointers and sixteen", descending, false},
    };
    for (const auto& c : cases) {
        const std::vector<const void*> pointers = pointersAt(c.offsets);
        IncreasingRuns runs;
        EXPECT_EQ(runs.distinct(pointers.data(), pointers.size(), itself), c.distinct) << c.what;
    }
}

TEST(IncreasingRuns, FindsThePointersOfTheirRunsAndNoOther) {
    const std::vector<const void*> pointers = pointersAt({200, 208, 100, 108, 116, 0, 8});
    IncreasingRuns runs;
    ASSERT_TRUE(runs.distinct(pointers.data(), pointers.size(), itself));
    for (const void* pointer : pointers)
        EXPECT_TRUE(runs.contains(pointers.data(), pointer, itself));
    // Before the lowest, within a run's range, between runs, after the highest.
    for (int absent : {-16, 4, 50, 104, 150, 216})
        EXPECT_FALSE(runs.contains(pointers.data(), g_memory + 16 + absent, itself)) << absent;
}

} // namespace
} // namespace zor
