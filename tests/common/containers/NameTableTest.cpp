#include "common/containers/NameTable.h"

#include <gtest/gtest.h>

#include <memory>

namespace zor {
namespace {

struct ReleaseMap {
    void operator()(HashMap<String, uint32>* map) const { map->release(); }
};

TEST(NameTable, IndexMapKeepsTheFirstIndexOfARepeatedName) {
    const char* const names[] = {"LEFT", "RIGHT", "points[]", "LEFT"};
    std::unique_ptr<HashMap<String, uint32>, ReleaseMap> map(makeIndexMap(4, names));
    EXPECT_EQ(map->size(), 3u);
    EXPECT_EQ(map->find(String("RIGHT"))->m_second, 1u);
    EXPECT_EQ(map->find(String("LEFT"))->m_second, 0u);
    EXPECT_EQ(map->referenceCount(), 0u);
}

TEST(NameTable, LookupFallsBackToTheIndexedForm) {
    const char* const names[] = {"x", "points[]", "exact[2]", "[]"};
    std::unique_ptr<HashMap<String, uint32>, ReleaseMap> map(makeIndexMap(4, names));
    struct Case {
        const char* name;
        uint32 result;
        uint32 index; // 77: left alone
    };
    const Case cases[] = {
        {"x", 0, 77},
        {"points[3]", 1, 3},
        {"points[]", 1, 77},
        {"points[12]", 1, 12},
        {"points[99999999999]", 1, 0xFFFFFFFF},
        {"points[7", 0xFFFFFFFF, 77},
        {"points", 0xFFFFFFFF, 77},
        {"exact[2]", 2, 77},
        {"exact[3]", 0xFFFFFFFF, 77},
        {"[5]", 3, 5},
        {"y]z[1", 0xFFFFFFFF, 77},
    };
    for (const Case& c : cases) {
        uint32 index = 77;
        EXPECT_EQ(lookupIndexedName(String(c.name), &index, *map), c.result) << c.name;
        EXPECT_EQ(index, c.index) << c.name;
    }
    EXPECT_EQ(lookupIndexedName(String("points[4]"), nullptr, *map), 1u);
}

} // namespace
} // namespace zor
