#include "common/containers/HashMap.h"
#include "common/containers/NameTable.h"

#include "TestAllocator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace zor {
namespace {

using test::TestAllocator;
using StringMap = HashMap<String, uint32>;
using Entries = std::vector<std::pair<std::string, uint32>>;

Entries entries(const StringMap& map) {
    Entries out;
    for (auto it = map.begin(); it != map.end(); ++it)
        out.emplace_back(it->m_first.c_str(), it->m_second);
    return out;
}

TEST(HashMap, StringHashIsBase101OverUnsignedBytes) {
    const Hash<String> hash;
    EXPECT_EQ(hash(String()), 0u);
    EXPECT_EQ(hash(String("ab")), 9895u);
    EXPECT_EQ(hash(String("\xff\x01")), 25756u);
    EXPECT_EQ(hash(String("linearSpeed")), 3037240344u);
}

TEST(HashMap, BucketsGrowAtSevenTenthsAndGoWithTheLastEntry) {
    StringMap map;
    std::vector<uint64> buckets;
    for (uint32 i = 1; i <= 23; ++i) {
        ASSERT_TRUE(map.insertBack(String::formatted("k%u", i), i));
        buckets.push_back(map.bucketCount());
    }
    EXPECT_EQ(buckets, (std::vector<uint64>{8,  8,  8,  8,  8,  16, 16, 16, 16, 16, 16, 32,
                                            32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 64}));
    // A copy is deep and keeps the order.
    StringMap copy(map);
    EXPECT_EQ(entries(copy), entries(map));
    copy.find(String("k3"))->m_second = 30;
    EXPECT_EQ(map.find(String("k3"))->m_second, 3u);

    map.remove(map.begin(), map.find(String("k22")));
    EXPECT_EQ(map.bucketCount(), 64u);
    map.remove(map.begin());
    EXPECT_EQ(map.bucketCount(), 0u);
    EXPECT_EQ(map.front(), 0u);
    map.insertBack(String("k7"), 7);
    EXPECT_EQ(map.bucketCount(), 8u);
    EXPECT_EQ(&map.front(), &map.back());
    EXPECT_EQ(map.end().previous(), map.begin().entry());
}

TEST(HashMap, EntriesAndBucketsComeFromItsAllocator) {
    HashMap<uint8, uint32> map;
    map.setAllocator(TestAllocator::record());
    map.insertBack(1, 1);
    // The bucket array, the entry and the bucket's node.
    EXPECT_EQ(TestAllocator::allocations, 3);
    map.remove(uint8{1});
    EXPECT_EQ(TestAllocator::frees, 3);
    TestAllocator::exhausted = true;
    EXPECT_FALSE(map.insertBack(2, 2));
    EXPECT_TRUE(map.isEmpty());
}

// A random mix of every insertion and removal form against a plain model: the chain order, the
// values, the lookups and the bucket bookkeeping must agree.
TEST(HashMap, RandomOperationsAgreeWithAModel) {
    std::mt19937 random(12345);
    StringMap map;
    Entries model;
    const auto inModel = [&](const std::string& k) {
        return std::find_if(model.begin(), model.end(), [&](const auto& entry) { return entry.first == k; });
    };
    for (uint32 step = 0; step < 4000; ++step) {
        const std::string k = "k" + std::to_string(random() % 100);
        const String text(k.c_str());
        const auto found = inModel(k);
        const bool absent = found == model.end(), after = random() % 2 != 0;
        const std::size_t at = model.empty() ? 0 : random() % model.size();
        const uint32 operation = random() % 5;
        if (operation <= 2) { // at the back, at the front, or before or after a present entry
            const auto position = model.empty() ? map.end() : map.find(String(model[at].first.c_str()));
            const std::size_t index[] = {model.size(), 0, model.empty() ? 0 : at + after};
            uint32* existing = nullptr;
            EXPECT_EQ(operation == 0   ? map.insertBack(text, step, &existing)
                      : operation == 1 ? map.insertFront(text, step, &existing)
                                       : map.insert(text, position, after, step, &existing),
                      absent);
            if (absent)
                model.emplace(model.begin() + static_cast<std::ptrdiff_t>(index[operation]), k, step);
            else // the stored value is reported and left alone
                EXPECT_EQ(existing != nullptr ? *existing : ~0u, found->second) << "step " << step;
        } else if (operation == 3) {
            if (after)
                map.remove(map.find(text));
            else
                EXPECT_EQ(map.remove(text), !absent);
            if (!absent)
                model.erase(found);
        } else {
            after ? map.popBack() : map.popFront();
            if (!model.empty())
                model.erase(after ? model.end() - 1 : model.begin());
        }
        ASSERT_EQ(map.size(), model.size()) << "step " << step;
    }
    EXPECT_EQ(entries(map), model);
    for (int i = 0; i < 100; ++i) {
        const std::string k = "k" + std::to_string(i);
        EXPECT_EQ(map.contains(String(k.c_str())), inModel(k) != model.end()) << k;
    }
}

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
