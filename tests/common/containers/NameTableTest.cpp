#include "common/containers/NameTable.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

TEST(NameTable, LookupFallsBackToTheIndexedForm) {
    // A repeated name keeps its first index.
    const char* const names[] = {"x", "points[]", "exact[2]", "[]", "x"};
    HashMap<String, uint32>* map = makeIndexMap(5, names);
    EXPECT_EQ(map->size(), 4u);
    const struct {
        const char* name;
        uint32 result, index; // index 77: left alone
    } cases[] = {{"x", 0, 77},

                 {"points[12]", 1, 12}, {"points[99999999999]", 1, 0xFFFFFFFF},
                 {"points[7", ~0u, 77}, {"points", ~0u, 77},
                 {"exact[2]", 2, 77},   {"exact[3]", ~0u, 77},
                 {"[5]", 3, 5},         {"y]z[1", ~0u, 77}};
    for (const auto& c : cases) {
        uint32 index = 77;
        EXPECT_EQ(lookupIndexedName(String(c.name), &index, *map), c.result) << c.name;
        EXPECT_EQ(index, c.index) << c.name;
    }
    EXPECT_EQ(lookupIndexedName(String("points[4]"), nullptr, *map), 1u);
    EXPECT_EQ(map->referenceCount(), 0u);
    map->release();
}

} // namespace
} // namespace zor
