#include "common/containers/Array.h"
#include "common/containers/HashMap.h"
#include "common/containers/List.h"

#include "support/VtableSlot.h"

#include <gtest/gtest.h>

#include <cstring>

namespace zor {
namespace {

using test::expectSlotsInOrder;
using test::NamedSlot;

TEST(ContainerSlots, Array) {
    using A = Array<uint8>;
    // clang-format off
    const NamedSlot slots[] = {
        ZOR_NAMED_SLOT(A, deletingDestructor), ZOR_NAMED_SLOT(A, create), ZOR_NAMED_SLOT(A, retain),
        ZOR_NAMED_SLOT_OF(A, void, (), release), ZOR_NAMED_SLOT(A, setAllocator), ZOR_NAMED_SLOT(A, swap),
        ZOR_NAMED_SLOT(A, assign), ZOR_NAMED_SLOT(A, reset), ZOR_NAMED_SLOT(A, resize),
        ZOR_NAMED_SLOT(A, insert), ZOR_NAMED_SLOT(A, write), ZOR_NAMED_SLOT(A, remove),
        ZOR_NAMED_SLOT(A, append), ZOR_NAMED_SLOT(A, pushBack),
        ZOR_NAMED_SLOT_OF(A, uint64, (uint8*, uint64), popBack), ZOR_NAMED_SLOT_OF(A, uint8, (), popBack),
        ZOR_NAMED_SLOT(A, setFixed), ZOR_NAMED_SLOT(A, attach), ZOR_NAMED_SLOT(A, adopt),
        ZOR_NAMED_SLOT_OF(A, void, (uint8**, std::size_t*), release), ZOR_NAMED_SLOT(A, setMode),
        ZOR_NAMED_SLOT(A, getMode), ZOR_NAMED_SLOT(A, getGrowth), ZOR_NAMED_SLOT(A, data),
        ZOR_NAMED_SLOT(A, size), ZOR_NAMED_SLOT(A, isEmpty), ZOR_NAMED_SLOT(A, capacity),
        ZOR_NAMED_SLOT(A, isExternal)
    };
    // clang-format on
    expectSlotsInOrder(slots);
}

TEST(ContainerSlots, List) {
    using L = List<String>;
    // clang-format off
    const NamedSlot slots[] = {
        ZOR_NAMED_SLOT(L, deletingDestructor), ZOR_NAMED_SLOT(L, create), ZOR_NAMED_SLOT(L, retain),
        ZOR_NAMED_SLOT(L, release), ZOR_NAMED_SLOT(L, setAllocator),
        ZOR_NAMED_SLOT_OF(L, L::ConstIterator, () const, begin), ZOR_NAMED_SLOT_OF(L, L::Iterator, (), begin),
        ZOR_NAMED_SLOT_OF(L, L::ConstIterator, () const, end), ZOR_NAMED_SLOT_OF(L, L::Iterator, (), end),
        ZOR_NAMED_SLOT(L, isEmpty), ZOR_NAMED_SLOT(L, size),
        ZOR_NAMED_SLOT_OF(L, const String&, () const, front), ZOR_NAMED_SLOT_OF(L, String&, (), front),
        ZOR_NAMED_SLOT_OF(L, const String&, () const, back), ZOR_NAMED_SLOT_OF(L, String&, (), back),
        ZOR_NAMED_SLOT(L, pushFront), ZOR_NAMED_SLOT(L, popFront), ZOR_NAMED_SLOT(L, pushBack),
        ZOR_NAMED_SLOT(L, popBack), ZOR_NAMED_SLOT(L, insert),
        ZOR_NAMED_SLOT_OF(L, void, (L::Iterator), remove),
        ZOR_NAMED_SLOT_OF(L, void, (L::Iterator, L::Iterator), remove), ZOR_NAMED_SLOT(L, swap),
        ZOR_NAMED_SLOT(L, assign), ZOR_NAMED_SLOT(L, clear)
    };
    // clang-format on
    expectSlotsInOrder(slots);
}

TEST(ContainerSlots, HashMapBase) {
    using M = HashMapBase<String, uint32, Hash<String>, EqualTo<String>>;
    // clang-format off
    const NamedSlot slots[] = {
        ZOR_NAMED_SLOT(M, deletingDestructor), ZOR_NAMED_SLOT(M, create), ZOR_NAMED_SLOT(M, retain),
        ZOR_NAMED_SLOT(M, release), ZOR_NAMED_SLOT(M, setAllocator),
        ZOR_NAMED_SLOT_OF(M, M::ConstIterator, () const, begin), ZOR_NAMED_SLOT_OF(M, M::Iterator, (), begin),
        ZOR_NAMED_SLOT_OF(M, M::ConstIterator, () const, end), ZOR_NAMED_SLOT_OF(M, M::Iterator, (), end),
        ZOR_NAMED_SLOT(M, isEmpty), ZOR_NAMED_SLOT(M, size),
        ZOR_NAMED_SLOT_OF(M, const uint32&, () const, front), ZOR_NAMED_SLOT_OF(M, uint32&, (), front),
        ZOR_NAMED_SLOT_OF(M, const uint32&, () const, back), ZOR_NAMED_SLOT_OF(M, uint32&, (), back),
        ZOR_NAMED_SLOT(M, insertFront), ZOR_NAMED_SLOT(M, popFront), ZOR_NAMED_SLOT(M, insertBack),
        ZOR_NAMED_SLOT(M, insert), ZOR_NAMED_SLOT(M, popBack),
        ZOR_NAMED_SLOT_OF(M, void, (M::Iterator), remove),
        ZOR_NAMED_SLOT_OF(M, bool, (const String&), remove),
        ZOR_NAMED_SLOT_OF(M, void, (M::Iterator, M::Iterator), remove), ZOR_NAMED_SLOT(M, swap),
        ZOR_NAMED_SLOT(M, assign), ZOR_NAMED_SLOT(M, clear),
        ZOR_NAMED_SLOT_OF(M, M::Iterator, (const String&), find),
        ZOR_NAMED_SLOT_OF(M, M::ConstIterator, (const String&) const, find), ZOR_NAMED_SLOT(M, contains)
    };
    // clang-format on
    expectSlotsInOrder(slots);
    // The map type adds nothing but its own slot 0.
    EXPECT_EQ(test::vtableSlot(&HashMap<String, uint32>::deletingDestructor), 0u);
    EXPECT_EQ(sizeof(HashMap<String, uint32>), sizeof(M));
}

// Members start after the base's table, counter and counter free function.
constexpr std::size_t kFirstMember = 3 * sizeof(void*);

/// The word of `Type` stored `offset` bytes after the base's members, read as the host reads it.
template <typename Type, typename Object>
Type memberAt(const Object& object, std::size_t offset) {
    Type value;
    std::memcpy(&value, reinterpret_cast<const unsigned char*>(&object) + kFirstMember + offset,
                sizeof value);
    return value;
}

TEST(ContainerLayout, ArrayMembersInOrder) {
    Array<uint8> array;
    array.pushBack(7);
    array.setMode(ArrayModeGrowOnly, 0x123);
    EXPECT_EQ(sizeof array, kFirstMember + 3 * 8 + 2 * 4 + sizeof(void*));
    EXPECT_EQ(memberAt<uint8*>(array, 0), array.data());
    EXPECT_EQ(memberAt<uint64>(array, 8), 1u);
    EXPECT_EQ(memberAt<uint64>(array, 16), 2u);
    EXPECT_EQ(memberAt<uint32>(array, 24), 6u);
    EXPECT_EQ(memberAt<uint32>(array, 28), 0x123u);
    EXPECT_EQ(memberAt<const Allocator*>(array, 32), defaultAllocator());
}

// The last node or entry pointer stays null until there is a second one.
TEST(ContainerLayout, ListAndMapLastPointerIsNullUntilTheSecondElement) {
    List<int> list;
    EXPECT_EQ(sizeof list, kFirstMember + 3 * sizeof(void*));
    EXPECT_EQ(memberAt<const Allocator*>(list, 16), defaultAllocator());
    list.pushBack(1);
    EXPECT_EQ(memberAt<void*>(list, 8), nullptr);
    list.pushFront(0);
    EXPECT_EQ(memberAt<List<int>::Node*>(list, 8)->value, 1);
    list.popBack();
    EXPECT_EQ(memberAt<void*>(list, 8), nullptr);

    using Map = HashMap<String, uint32>;
    Map map;
    EXPECT_EQ(sizeof map, kFirstMember + 6 * 8);
    map.insertBack(String("a"), 1);
    map.insertFront(String("b"), 2);
    EXPECT_EQ(memberAt<Map::HashMapEntry*>(map, 0)->m_second, 2u);
    EXPECT_EQ(memberAt<Map::HashMapEntry*>(map, 8)->m_second, 1u);
    EXPECT_EQ(memberAt<uint64>(map, 16), 2u);
    EXPECT_EQ(memberAt<uint64>(map, 32), 8u);
    map.remove(String("a"));
    EXPECT_EQ(memberAt<void*>(map, 8), nullptr);
    map.remove(String("b"));
    EXPECT_EQ(memberAt<void*>(map, 24), nullptr); // the bucket array
    EXPECT_EQ(memberAt<uint64>(map, 32), 0u);
}

} // namespace
} // namespace zor
