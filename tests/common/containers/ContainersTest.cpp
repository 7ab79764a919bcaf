#include "common/containers/HashMap.h"

#include "common/compression/CompressionCallbacks.h"
#include "common/containers/List.h"
#include "common/containers/NameTable.h"
#include "common/containers/String.h"

#include "TestAllocator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <tuple>
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

using IntList = List<int>;
using Ints = std::vector<int>;

/// The values in order, after checking every back link, `end`'s previous node, `back` and `size`.
Ints checked(IntList& list) {
    Ints values;
    IntList::Node* previous = nullptr;
    for (IntList::Node* node = list.headNode(); node != nullptr; previous = node, node = node->next) {
        EXPECT_EQ(node->prev, previous);
        values.push_back(node->value);
    }
    EXPECT_EQ(list.end().previous(), previous);
    EXPECT_EQ(&list.back(), previous != nullptr ? &previous->value : &list.front());
    EXPECT_EQ(list.size(), values.size());
    return values;
}

IntList::Iterator at(IntList& list, int index) {
    auto it = list.begin();
    while (index-- > 0)
        ++it;
    return it;
}

// clang-format off
#define EDIT(statement) #statement, [](IntList& l) { statement; }
// clang-format on

TEST(List, EditsKeepTheLinksAndTheEnds) {
    // Contents before, the edit, contents after.
    // clang-format off
    const std::tuple<Ints, const char*, void (*)(IntList&), Ints> cases[] = {
        {{}, EDIT(l.pushFront(1)), {1}}, {{1}, EDIT(l.pushFront(0)), {0, 1}}, {{0}, EDIT(l.popFront()), {}},
        {{0, 1}, EDIT(l.popFront()), {1}}, {{0, 1}, EDIT(l.popBack()), {0}},
        {{5}, EDIT(l.insert(l.begin(), false, 4)), {4, 5}}, {{5}, EDIT(l.insert(l.begin(), true, 6)), {5, 6}},
        {{}, EDIT(l.insert(l.begin(), false, 3)), {3}},
        {{0, 1, 2}, EDIT(l.insert(at(l, 1), false, 9)), {0, 9, 1, 2}},
        {{0, 1, 2}, EDIT(l.insert(at(l, 1), true, 9)), {0, 1, 9, 2}},
        {{0, 1, 2}, EDIT(l.insert(at(l, 2), true, 9)), {0, 1, 2, 9}},
        {{0, 1, 2}, EDIT(l.remove(l.begin())), {1, 2}}, {{0, 1, 2}, EDIT(l.remove(at(l, 1))), {0, 2}},
        {{0, 1, 2}, EDIT(l.remove(at(l, 2))), {0, 1}}, {{0, 1}, EDIT(l.remove(at(l, 1))), {0}},
        {{0, 1, 2, 3}, EDIT(l.remove(at(l, 1), at(l, 2))), {0, 3}},
        {{0, 1, 2}, EDIT(l.remove(l.begin(), l.begin())), {1, 2}},
        {{0, 1, 2}, EDIT(l.remove(at(l, 1), l.end())), {0}}};
    // clang-format on
    for (const auto& [before, what, edit, after] : cases) {
        IntList list;
        for (int value : before)
            list.pushBack(value);
        edit(list);
        SCOPED_TRACE(what);
        EXPECT_EQ(checked(list), after);
    }
    EXPECT_EQ(IntList().front(), 0); // the shared zero value of an empty list
}

#undef EDIT

TEST(List, EmptyPopsAndNullRemovalsWarnAndChangeNothing) {
    List<String> list;
    testing::internal::CaptureStdout();
    list.popBack();
    list.popFront();
    list.remove(list.end()); // an empty list has nothing to remove: no warning
    list.pushBack(String("a"));
    list.remove(list.end());
    list.remove(list.end(), list.end());
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "WARN : Cannot pop further, the list is empty\nWARN : Cannot pop further, the list is empty\n"
              "WARN : Unable to remove NULL entry from the list\nWARN : Unable to remove NULL entry from the "
              "list\n");
    EXPECT_EQ(list.size(), 1u);
}

TEST(List, LogLinesNameTheElementTypeAsTheFrameworkSpellsIt) {
    EXPECT_STREQ(List<String>::functionName<"popBack">, "zor::List<class zor::String>::popBack");
    EXPECT_STREQ(List<void (*)()>::functionName<"popFront">, "zor::List<void (__cdecl*)(void)>::popFront");
    EXPECT_STREQ(List<uint8>::functionName<"popFront">, "zor::List<unsigned char>::popFront");
    EXPECT_STREQ(List<CompressDataCallback>::functionName<"popBack">,
                 "zor::List<unsigned __int64 (__cdecl*)(const void *,unsigned __int64,"
                 "class zor::Array<unsigned char> &,unsigned char)>::popBack");
    EXPECT_STREQ(List<List<String>*>::functionName<"popBack">,
                 "zor::List<class zor::List<class zor::String> *>::popBack");
    using StringMapBucket = HashMap<String, uint32>::Bucket;
    EXPECT_STREQ(StringMapBucket::functionName<"remove">,
                 "zor::List<struct zor::HashMapBase<class zor::String,unsigned int,struct zor::Hash<class "
                 "zor::String>,struct zor::EqualTo<class zor::String> >::HashMapEntry *>::remove");
}

TEST(List, CopiesOwnTheirStrings) {
    List<String> source, assigned;
    source.pushBack(String(std::string(80, 'h').c_str()));
    assigned.pushBack(String("x"));
    assigned = source;
    List<String> copy(source);
    source.front().assign("changed", 7);
    EXPECT_EQ(assigned.front().length() + copy.front().length(), 160u);
    assigned.swap(source);
    EXPECT_STREQ(assigned.front().c_str(), "changed");
}

TEST(List, NodesComeFromItsAllocator) {
    IntList list;
    list.setAllocator(TestAllocator::record());
    list.pushBack(1);
    list.insert(list.begin(), true, 2);
    list.popBack();
    EXPECT_EQ(TestAllocator::allocations, 2);
    EXPECT_EQ(TestAllocator::frees, 1);
    TestAllocator::exhausted = true;
    list.pushBack(7);
    list.pushFront(7);
    list.insert(list.begin(), true, 7);
    EXPECT_EQ(checked(list), (Ints{1}));
    TestAllocator::exhausted = false;
    list.clear();
    EXPECT_EQ(TestAllocator::frees, 2);
}

} // namespace
} // namespace zor
