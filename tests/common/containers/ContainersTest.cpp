#include "common/containers/HashMap.h"

#include "common/compression/CompressionCallbacks.h"
#include "common/containers/Array.h"
#include "common/containers/List.h"
#include "common/containers/NameTable.h"
#include "common/containers/String.h"

#include "TestAllocator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
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

const int kNew[] = {7, 8, 9, 10};
const Ints kOld = {1, 2, 3, 4};

Ints contents(const Array<int>& array) {
    return {array.begin(), array.end()};
}

Array<int> arrayOf(std::initializer_list<int> values) {
    Array<int> array;
    array.append(values.begin(), values.size());
    return array;
}

/// A class-type element whose default constructor zeroes it, as the vector types do.
struct Point {
    float x = 0, y = 0, z = 0;
};

TEST(Array, GrowthPolicies) {
    Array<int> array;
    std::vector<uint64> capacities;
    for (int i = 0; i < 8; ++i) {
        ASSERT_TRUE(array.pushBack(i * 10));
        capacities.push_back(array.capacity());
    }
    EXPECT_EQ(capacities, (std::vector<uint64>{2, 4, 4, 8, 8, 8, 8, 16}));
    ASSERT_TRUE(array.resize(3));
    EXPECT_EQ(array.capacity(), 4u);
    // The policy gives 1 for an empty array, so even size 0 keeps a block.
    ASSERT_TRUE(array.resize(0));
    EXPECT_EQ(array.capacity(), 1u);
    // The exact policy frees the storage at size 0 instead of asking for an empty block.
    ASSERT_TRUE(array.setMode(ArrayModeOwned, 0) && array.resize(2) && array.resize(0));
    EXPECT_EQ(array.data(), nullptr);

    // Each policy sizes the block for `size`; shrinking to 1 keeps the block only in mode 6;
    // `setFixed` switches to mode 6, where growing past the capacity follows the policy again.
    // Mode, growth, size, capacity, capacity after shrinking to 1, capacity after growing in mode 6.
    // clang-format off
    const uint32 cases[][6] = {
        {ArrayModeGrowOnly, 0x10000000, 5, 10, 10, 22}, {ArrayModeGrowOnly, 0x1000ABCD, 3, 6, 6, 14},
        {ArrayModeOwned, 0x2FFFFFFF, 9, 16, 2, 4}, {ArrayModeOwned, 5, 11, 15, 5, 10},
        {ArrayModeOwned, 5, 10, 10, 5, 10}, {ArrayModeOwned, 1, 7, 7, 1, 2}, {ArrayModeOwned, 0, 7, 7, 1, 2}};
    // clang-format on
    for (const auto& [mode, growth, size, capacity, shrunk, grown] : cases) {
        SCOPED_TRACE(growth);
        Array<uint8> sized;
        ASSERT_TRUE(sized.setMode(mode, growth) && sized.resize(size));
        EXPECT_EQ(sized.capacity(), capacity);
        sized[0] = 42;
        ASSERT_TRUE(sized.resize(1));
        EXPECT_EQ(sized.capacity(), shrunk);
        sized.setFixed(40);
        EXPECT_EQ(sized.size(), shrunk);
        ASSERT_TRUE(sized.resize(shrunk + 1));
        EXPECT_EQ(sized.capacity(), grown);
        EXPECT_EQ(sized[0], 42);
    }
}

TEST(Array, PushBackFollowsThePolicyFromAnyStartingStorage) {
    // pushBack keeps the storage only where a resize would: from capacities the power-of-two
    // policy did not choose (a buffer taken over, a mode-6 block), the first push reallocates.
    // Growth in mode 6, size grown to, size shrunk to (mode 6 keeps the block), capacity before
    // switching to mode 1, capacity after one push.
    const uint64 cases[][5] = {{10, 21, 21, 30, 32},
                               {10, 5, 5, 10, 8},
                               {0x20000000, 5, 5, 8, 8},
                               {0x20000000, 20, 3, 32, 8},
                               {0x20000000, 20, 16, 32, 32}};
    for (const auto& [growth, grown, size, capacity, pushed] : cases) {
        SCOPED_TRACE(::testing::Message() << growth << " " << grown << " " << size);
        Array<int> array;
        ASSERT_TRUE(array.setMode(ArrayModeGrowOnly, static_cast<uint32>(growth)) && array.resize(grown) &&
                    array.resize(size));
        ASSERT_EQ(array.capacity(), capacity);
        ASSERT_TRUE(array.setMode(ArrayModeOwned, ArrayGrowthPowerOfTwo));
        ASSERT_TRUE(array.pushBack(7));
        EXPECT_EQ(array.capacity(), pushed);
        EXPECT_EQ(array[size], 7);
    }
    auto* block = static_cast<int*>(allocateMemoryBlock(6 * sizeof(int)));
    Array<int> adopted;
    adopted.adopt(block, 6);
    ASSERT_TRUE(adopted.pushBack(adopted[0]));
    EXPECT_EQ(adopted.capacity(), 8u);

    // A pushed element from the array's own storage survives the move to a new block; the
    // doubling policy refuses in mode 1, as resize does.
    Array<int> self = arrayOf({1, 2, 3, 4});
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(self.pushBack(self[static_cast<uint64>(i)]));
    EXPECT_EQ(contents(self), (Ints{1, 2, 3, 4, 1, 2, 3, 4}));
    ASSERT_TRUE(self.setMode(ArrayModeOwned, ArrayGrowthDouble));
    EXPECT_FALSE(self.pushBack(5));
    EXPECT_EQ(self.size(), 8u);
}

// Each edit starts from {1, 2, 3, 4} (capacity 8); a failed edit leaves it unchanged.
// clang-format off
#define EDIT(expression) #expression, [](Array<int>& a) { return static_cast<uint64>(expression); }
// clang-format on

TEST(Array, EditsAtAnOffsetFromEitherEnd) {
    struct Case {
        const char* what;
        uint64 (*edit)(Array<int>&);
        uint64 result;
        Ints after;
    };
    // clang-format off
    const Case cases[] = {
        {EDIT(a.insert(kNew, 1, 2, false)), 1, {1, 7, 8, 2, 3, 4}},
        {EDIT(a.insert(kNew, 1, 1, true)), 1, {1, 2, 3, 7, 4}},
        {EDIT(a.insert(kNew, 0, 1, true)), 1, {1, 2, 3, 4, 7}}, {EDIT(a.popBack(nullptr, 9)), 4, {}},
        {EDIT(a.insert(kNew, 0, 1, false)), 1, {7, 1, 2, 3, 4}}, {EDIT(a.popBack(a.data(), 2)), 2, {3, 4}},
        {EDIT(a.write(kNew, 1, 2, false)), 2, {1, 7, 8, 4}}, {EDIT(a.remove(1, 2, false)), 1, {1, 4}},
        {EDIT(a.write(kNew, 2, 3, true)), 3, {1, 2, 7, 8, 9}}, {EDIT(a.remove(1, 1, true)), 1, {1, 2, 3}},
        {EDIT(a.insert(kNew, 5, 1, true)), 0, kOld}, {EDIT(a.insert(kNew, 0, 0, false)), 0, kOld},
        {EDIT(a.write(kNew, 5, 1, false)), 0, kOld}, {EDIT(a.remove(3, 2, false)), 0, kOld},
        {EDIT(a.remove(5, 1, false)), 0, kOld}, {EDIT(a.remove(0, 0, false)), 0, kOld},
        // Sources inside the array itself, across a move to a new block and within the block.
        {EDIT(a.append(a.data(), 4)), 1, {1, 2, 3, 4, 1, 2, 3, 4}},
        {EDIT(a.write(a.data(), 4, 4, false)), 4, {1, 2, 3, 4, 1, 2, 3, 4}},
        {EDIT(a.insert(a.data() + 2, 0, 2, false)), 1, {3, 4, 1, 2, 3, 4}},
        // A gap smaller than the growth keeps the tail at the end, after the new elements.
        {EDIT(a.resize(6, 2, 1) && a.write(kNew, 2, 1, false) && a.popBack(nullptr, 1)), 1, {1, 2, 7, 3, 4}},
        {EDIT(a.resize(9, 2, 1) && a.write(kNew, 2, 1, false) && a.popBack(nullptr, 4)), 1, {1, 2, 7, 3, 4}}};
    // clang-format on
    for (const Case& c : cases) {
        Array<int> array = arrayOf({1, 2, 3, 4});
        EXPECT_EQ(c.edit(array), c.result) << c.what;
        EXPECT_EQ(contents(array), c.after) << c.what;
    }
}

#undef EDIT

TEST(Array, ForeignStorageKeepsItsSizeAndBlocksChangeHands) {
    int buffer[4] = {1, 2, 3, 4};
    Array<int> external = arrayOf({5}), doubling = arrayOf({1, 2, 7, 8});
    external.attach(buffer, 4);
    EXPECT_FALSE(external.setMode(ArrayModeOwned, ArrayGrowthPowerOfTwo));
    EXPECT_FALSE(Array<int>().setMode(ArrayModeExternal, 0));
    // Writing past the end of an external buffer is cut at its end.
    EXPECT_EQ(external.write(kNew, 2, 3, false), 2u);
    EXPECT_EQ(external.write(kNew, 0, 3, true), 0u);
    // The doubling owner keeps its size too.
    ASSERT_TRUE(doubling.setMode(ArrayModeOwned, ArrayGrowthDouble));
    for (Array<int>* array : {&external, &doubling}) {
        EXPECT_FALSE(array->resize(4));
        EXPECT_FALSE(array->append(kNew, 1));
        EXPECT_FALSE(array->insert(kNew, 0, 1, false));
        EXPECT_FALSE(array->remove(0, 1, false));
        EXPECT_EQ(array->popBack(nullptr, 1), 0u);
        EXPECT_EQ(array->write(kNew, 3, 1, false), 1u); // in place needs no resize
        EXPECT_EQ(contents(*array), (Ints{1, 2, 7, 7}));
        EXPECT_EQ(array->capacity(), array == &external ? 4u : 8u);
    }

    // Release hands the block over and resets the array; adopt takes one.
    Array<int> released = arrayOf({1, 2, 3});
    released.setMode(ArrayModeGrowOnly, 7);
    int* storage = nullptr;
    std::size_t size = 0;
    released.release(&storage, &size);
    EXPECT_EQ(released.data(), nullptr);
    EXPECT_EQ(released.getMode(), ArrayModeOwned);
    EXPECT_EQ(released.getGrowth(), 0x20000000u);
    external.adopt(storage, size);
    ASSERT_TRUE(external.pushBack(4));
    EXPECT_EQ(contents(external), (Ints{1, 2, 3, 4}));
}

TEST(Array, UsesItsAllocatorAndStaysUnchangedWhenItRunsOut) {
    Array<int> array;
    array.setAllocator(TestAllocator::record());
    for (int i = 0; i < 5; ++i)
        array.pushBack(i);
    EXPECT_EQ(TestAllocator::allocations, 3);
    EXPECT_EQ(TestAllocator::frees, 2);

    TestAllocator::exhausted = true;
    const int* storage = array.data();
    EXPECT_FALSE(array.append(kNew, 4));
    EXPECT_FALSE(array.insert(kNew, 0, 4, false));
    EXPECT_EQ(array.write(kNew, 4, 4, false), 0u);
    EXPECT_FALSE(array.remove(0, 4, false));
    EXPECT_EQ(array.data(), storage);
    EXPECT_EQ(contents(array), (Ints{0, 1, 2, 3, 4}));
    TestAllocator::exhausted = false;
    array.reset();
    EXPECT_EQ(TestAllocator::frees, 3);

    // Class elements are default-constructed over the whole new block.
    Array<Point> points;
    points.setAllocator(TestAllocator::record());
    points.pushBack(Point{1, 2, 3});
    ASSERT_TRUE(points.resize(3));
    EXPECT_EQ(points[0].z, 3.0f);
    for (uint64 i = 1; i < points.capacity(); ++i)
        EXPECT_EQ(points.data()[i].x + points.data()[i].y + points.data()[i].z, 0.0f) << i;
    // So are those of the built-in allocation, zeroed storage or not: a block freed dirty and
    // taken again, and an element whose default is not zero.
    struct Marked {
        float x = 5;
    };
    for (int round = 0; round < 2; ++round) {
        Array<Point> reused;
        Array<Marked> marked;
        ASSERT_TRUE(reused.resize(20) && marked.resize(20));
        for (uint64 i = 0; i < 32; ++i) {
            EXPECT_EQ(reused.data()[i].x + reused.data()[i].y + reused.data()[i].z, 0.0f) << i;
            EXPECT_EQ(marked.data()[i].x, 5.0f) << i;
        }
        std::memset(static_cast<void*>(reused.data()), 0xFF, 32 * sizeof(Point));
    }

    // Blocks of the built-in allocation grow in place where they can, with the same result: a
    // mode-6 block whose elements past the size hold old values, then a gap opened before a tail.
    Array<Point> grown;
    ASSERT_TRUE(grown.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo));
    for (float x : {9.0f, 9.0f, 9.0f, 9.0f})
        grown.pushBack(Point{x, x, x});
    ASSERT_TRUE(grown.resize(1) && grown.resize(6));
    for (uint64 i = 0; i < 6; ++i)
        EXPECT_EQ(grown[i].x, i == 0 ? 9.0f : 0.0f) << i;
    for (uint64 i = 0; i < 6; ++i)
        grown[i].x = float(i + 1);
    ASSERT_TRUE(grown.resize(10, 2, 1));
    std::vector<float> xs;
    for (uint64 i = 0; i < grown.capacity(); ++i)
        xs.push_back(grown.data()[i].x);
    EXPECT_EQ(xs, (std::vector<float>{1, 2, 3, 4, 0, 5, 6, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

} // namespace
} // namespace zor
