#include "common/containers/Array.h"
#include "common/containers/HashMap.h"
#include "common/containers/List.h"

#include "support/VtableSlot.h"

#include <gtest/gtest.h>

#include <cstring>

namespace zor {
namespace {

using test::vtableSlot;

// Members start after the base's table, counter and counter free function.
constexpr std::size_t kFirstMember = 3 * sizeof(void*);

/// The word of `Type` stored `offset` bytes into an object, read as the host would read it.
template <typename Type, typename Object>
Type memberAt(const Object& object, std::size_t offset) {
    Type value;
    std::memcpy(&value, reinterpret_cast<const unsigned char*>(&object) + offset, sizeof value);
    return value;
}

TEST(ContainerSlots, Array) {
    using A = Array<uint8>;
    EXPECT_EQ(vtableSlot(&A::deletingDestructor), 0u);
    EXPECT_EQ(vtableSlot(&A::create), 1u);
    EXPECT_EQ(vtableSlot(&A::retain), 2u);
    EXPECT_EQ(ZOR_SLOT_OF(A, void, (), release), 3u);
    EXPECT_EQ(vtableSlot(&A::setAllocator), 4u);
    EXPECT_EQ(vtableSlot(&A::swap), 5u);
    EXPECT_EQ(vtableSlot(&A::assign), 6u);
    EXPECT_EQ(vtableSlot(&A::reset), 7u);
    EXPECT_EQ(vtableSlot(&A::resize), 8u);
    EXPECT_EQ(vtableSlot(&A::insert), 9u);
    EXPECT_EQ(vtableSlot(&A::write), 10u);
    EXPECT_EQ(vtableSlot(&A::remove), 11u);
    EXPECT_EQ(vtableSlot(&A::append), 12u);
    EXPECT_EQ(vtableSlot(&A::pushBack), 13u);
    EXPECT_EQ(ZOR_SLOT_OF(A, uint64, (uint8*, uint64), popBack), 14u);
    EXPECT_EQ(ZOR_SLOT_OF(A, uint8, (), popBack), 15u);
    EXPECT_EQ(vtableSlot(&A::setFixed), 16u);
    EXPECT_EQ(vtableSlot(&A::attach), 17u);
    EXPECT_EQ(vtableSlot(&A::adopt), 18u);
    EXPECT_EQ(ZOR_SLOT_OF(A, void, (uint8**, std::size_t*), release), 19u);
    EXPECT_EQ(vtableSlot(&A::setMode), 20u);
    EXPECT_EQ(vtableSlot(&A::getMode), 21u);
    EXPECT_EQ(vtableSlot(&A::getGrowth), 22u);
    EXPECT_EQ(vtableSlot(&A::data), 23u);
    EXPECT_EQ(vtableSlot(&A::size), 24u);
    EXPECT_EQ(vtableSlot(&A::isEmpty), 25u);
    EXPECT_EQ(vtableSlot(&A::capacity), 26u);
    EXPECT_EQ(vtableSlot(&A::isExternal), 27u);
}

TEST(ContainerSlots, List) {
    using L = List<String>;
    EXPECT_EQ(vtableSlot(&L::deletingDestructor), 0u);
    EXPECT_EQ(vtableSlot(&L::create), 1u);
    EXPECT_EQ(vtableSlot(&L::retain), 2u);
    EXPECT_EQ(vtableSlot(&L::release), 3u);
    EXPECT_EQ(vtableSlot(&L::setAllocator), 4u);
    EXPECT_EQ(ZOR_SLOT_OF(L, L::ConstIterator, () const, begin), 5u);
    EXPECT_EQ(ZOR_SLOT_OF(L, L::Iterator, (), begin), 6u);
    EXPECT_EQ(ZOR_SLOT_OF(L, L::ConstIterator, () const, end), 7u);
    EXPECT_EQ(ZOR_SLOT_OF(L, L::Iterator, (), end), 8u);
    EXPECT_EQ(vtableSlot(&L::isEmpty), 9u);
    EXPECT_EQ(vtableSlot(&L::size), 10u);
    EXPECT_EQ(ZOR_SLOT_OF(L, const String&, () const, front), 11u);
    EXPECT_EQ(ZOR_SLOT_OF(L, String&, (), front), 12u);
    EXPECT_EQ(ZOR_SLOT_OF(L, const String&, () const, back), 13u);
    EXPECT_EQ(ZOR_SLOT_OF(L, String&, (), back), 14u);
    EXPECT_EQ(vtableSlot(&L::pushFront), 15u);
    EXPECT_EQ(vtableSlot(&L::popFront), 16u);
    EXPECT_EQ(vtableSlot(&L::pushBack), 17u);
    EXPECT_EQ(vtableSlot(&L::popBack), 18u);
    EXPECT_EQ(vtableSlot(&L::insert), 19u);
    EXPECT_EQ(ZOR_SLOT_OF(L, void, (L::Iterator), remove), 20u);
    EXPECT_EQ(ZOR_SLOT_OF(L, void, (L::Iterator, L::Iterator), remove), 21u);
    EXPECT_EQ(vtableSlot(&L::swap), 22u);
    EXPECT_EQ(vtableSlot(&L::assign), 23u);
    EXPECT_EQ(vtableSlot(&L::clear), 24u);
}

TEST(ContainerSlots, HashMapBase) {
    using M = HashMapBase<String, uint32, Hash<String>, EqualTo<String>>;
    EXPECT_EQ(vtableSlot(&M::deletingDestructor), 0u);
    EXPECT_EQ(vtableSlot(&M::create), 1u);
    EXPECT_EQ(vtableSlot(&M::retain), 2u);
    EXPECT_EQ(vtableSlot(&M::release), 3u);
    EXPECT_EQ(vtableSlot(&M::setAllocator), 4u);
    EXPECT_EQ(ZOR_SLOT_OF(M, M::ConstIterator, () const, begin), 5u);
    EXPECT_EQ(ZOR_SLOT_OF(M, M::Iterator, (), begin), 6u);
    EXPECT_EQ(ZOR_SLOT_OF(M, M::ConstIterator, () const, end), 7u);
    EXPECT_EQ(ZOR_SLOT_OF(M, M::Iterator, (), end), 8u);
    EXPECT_EQ(vtableSlot(&M::isEmpty), 9u);
    EXPECT_EQ(vtableSlot(&M::size), 10u);
    EXPECT_EQ(ZOR_SLOT_OF(M, const uint32&, () const, front), 11u);
    EXPECT_EQ(ZOR_SLOT_OF(M, uint32&, (), front), 12u);
    EXPECT_EQ(ZOR_SLOT_OF(M, const uint32&, () const, back), 13u);
    EXPECT_EQ(ZOR_SLOT_OF(M, uint32&, (), back), 14u);
    EXPECT_EQ(vtableSlot(&M::insertFront), 15u);
    EXPECT_EQ(vtableSlot(&M::popFront), 16u);
    EXPECT_EQ(vtableSlot(&M::insertBack), 17u);
    EXPECT_EQ(vtableSlot(&M::insert), 18u);
    EXPECT_EQ(vtableSlot(&M::popBack), 19u);
    EXPECT_EQ(ZOR_SLOT_OF(M, void, (M::Iterator), remove), 20u);
    EXPECT_EQ(ZOR_SLOT_OF(M, bool, (const String&), remove), 21u);
    EXPECT_EQ(ZOR_SLOT_OF(M, void, (M::Iterator, M::Iterator), remove), 22u);
    EXPECT_EQ(vtableSlot(&M::swap), 23u);
    EXPECT_EQ(vtableSlot(&M::assign), 24u);
    EXPECT_EQ(vtableSlot(&M::clear), 25u);
    EXPECT_EQ(ZOR_SLOT_OF(M, M::Iterator, (const String&), find), 26u);
    EXPECT_EQ(ZOR_SLOT_OF(M, M::ConstIterator, (const String&) const, find), 27u);
    EXPECT_EQ(vtableSlot(&M::contains), 28u);
    // The map type adds nothing but its own slot 0.
    EXPECT_EQ(vtableSlot(&HashMap<String, uint32>::deletingDestructor), 0u);
    EXPECT_EQ(sizeof(HashMap<String, uint32>), sizeof(M));
}

TEST(ContainerLayout, ArrayMembersInOrder) {
    Array<uint8> array;
    array.pushBack(7);
    array.setMode(ArrayModeGrowOnly, 0x123);
    EXPECT_EQ(sizeof array, kFirstMember + 3 * 8 + 2 * 4 + sizeof(void*));
    EXPECT_EQ(memberAt<uint8*>(array, kFirstMember), array.data());
    EXPECT_EQ(memberAt<uint64>(array, kFirstMember + 8), 1u);
    EXPECT_EQ(memberAt<uint64>(array, kFirstMember + 16), 2u);
    EXPECT_EQ(memberAt<uint32>(array, kFirstMember + 24), 6u);
    EXPECT_EQ(memberAt<uint32>(array, kFirstMember + 28), 0x123u);
    EXPECT_EQ(memberAt<const Allocator*>(array, kFirstMember + 32), defaultAllocator());
}

TEST(ContainerLayout, ListTailIsNullUntilTheSecondNode) {
    using Node = List<int>::Node;
    List<int> list;
    EXPECT_EQ(sizeof list, kFirstMember + 3 * sizeof(void*));
    EXPECT_EQ(memberAt<const Allocator*>(list, kFirstMember + 16), defaultAllocator());
    const auto head = [&] { return memberAt<Node*>(list, kFirstMember); };
    const auto tail = [&] { return memberAt<Node*>(list, kFirstMember + 8); };

    list.pushBack(1);
    EXPECT_EQ(head()->value, 1);
    EXPECT_EQ(tail(), nullptr);
    list.pushBack(2);
    EXPECT_EQ(tail()->value, 2);
    list.popFront();
    EXPECT_EQ(head()->value, 2);
    EXPECT_EQ(tail(), nullptr);
    list.pushFront(1);
    EXPECT_EQ(tail()->value, 2);
    list.popBack();
    EXPECT_EQ(tail(), nullptr);
    list.insert(list.begin(), false, 0);
    EXPECT_EQ(head()->value, 0);
    EXPECT_EQ(tail()->value, 1);
    EXPECT_EQ(head()->prev, nullptr);
    EXPECT_EQ(tail()->next, nullptr);
    EXPECT_EQ(head()->next, tail());
    EXPECT_EQ(tail()->prev, head());
}

TEST(ContainerLayout, MapLastEntryIsNullUntilTheSecondEntry) {
    using Map = HashMap<String, uint32>;
    using Entry = Map::HashMapEntry;
    Map map;
    EXPECT_EQ(sizeof map, kFirstMember + 6 * 8);
    const auto first = [&] { return memberAt<Entry*>(map, kFirstMember); };
    const auto last = [&] { return memberAt<Entry*>(map, kFirstMember + 8); };
    const auto bucketCount = [&] { return memberAt<uint64>(map, kFirstMember + 32); };

    map.insertBack(String("a"), 1);
    EXPECT_EQ(first()->m_second, 1u);
    EXPECT_EQ(last(), nullptr);
    EXPECT_EQ(memberAt<uint64>(map, kFirstMember + 16), 1u);
    EXPECT_NE(memberAt<Map::Bucket*>(map, kFirstMember + 24), nullptr);
    EXPECT_EQ(bucketCount(), 8u);
    map.insertFront(String("b"), 2);
    EXPECT_EQ(first()->m_second, 2u);
    EXPECT_EQ(last()->m_second, 1u);
    map.remove(String("a"));
    EXPECT_EQ(last(), nullptr);
    map.remove(String("b"));
    EXPECT_EQ(first(), nullptr);
    EXPECT_EQ(memberAt<Map::Bucket*>(map, kFirstMember + 24), nullptr);
    EXPECT_EQ(bucketCount(), 0u);
}

} // namespace
} // namespace zor
