// The foundation's objects and variable references, its counted classes, containers and path
// commands: every named operation at its slot, and the container members where the host reads
// them.

#include "common/application/ApplicationData.h"
#include "common/containers/Array.h"
#include "common/containers/HashMap.h"
#include "common/containers/List.h"
#include "common/containers/String.h"
#include "common/object/IObject.h"
#include "common/object/WObject.h"
#include "common/path/Path2DCommands.h"
#include "common/variables/VariableReference.h"

#include "support/ObjectSlots.h"

#include <gtest/gtest.h>

#include <cstring>

namespace zor {
namespace {

using test::expectObjectSlots;
using test::expectSlotsInOrder;
using test::NamedSlot;
using test::vtableSlot;

TEST(ObjectSlots, IObjectAndWObject) {
    expectObjectSlots<IObject>();
    expectObjectSlots<WObject>();
    EXPECT_EQ(vtableSlot(&WObject::initObjectInterface), SIZE_MAX);
    // The interface object pointer, the counter block and its free function follow the table.
    EXPECT_EQ(sizeof(WObject), 4 * sizeof(void*));
}

TEST(ObjectSlots, VariableReference) {
    // The change operations, one per value type, then the three others.
#define V(type) ZOR_NAMED_SLOT(VariableReference, changeValue##type)
    // clang-format off
    const NamedSlot slots[] = {
        V(Bool), V(UInt8), V(Int8), V(UInt16), V(Int16), V(UInt32), V(Int32), V(UInt64), V(Int64),
        V(Float), V(Double), V(String),
        V(Vector2Int32), V(Vector2Int64), V(Vector2Float), V(Vector3Float), V(Vector4Float),
        V(Vector2Double), V(Vector3Double), V(Vector4Double),
        V(Matrix3x3Float), V(Matrix4x4Float), V(Matrix3x3Double), V(Matrix4x4Double),
        V(ExtPositionXFloat), V(ExtPositionXDouble), V(ExtPositionYFloat), V(ExtPositionYDouble),
        V(ExtPositionZFloat), V(ExtPositionZDouble),
        V(ExtDimensionWidthFloat), V(ExtDimensionWidthDouble), V(ExtDimensionHeightFloat),
        V(ExtDimensionHeightDouble), V(ExtDimensionDepthFloat), V(ExtDimensionDepthDouble),
        V(ExtVector2Int32), V(ExtVector2Int64), V(ExtVector2Float), V(ExtVector3Float),
        V(ExtVector2Double), V(ExtVector3Double),
        V(RectSizeInt32), V(RectSizeInt64), V(RectSizeFloat), V(RectSizeDouble),
        V(RectInt32), V(RectInt64), V(RectFloat), V(RectDouble),
        V(BoxSizeFloat), V(BoxSizeDouble), V(BoxFloat), V(BoxDouble),
        V(ExtRectInt32), V(ExtRectInt64), V(ExtRectFloat), V(ExtRectDouble), V(ExtBoxFloat), V(ExtBoxDouble),
        V(ColorRGBFloat), V(ColorRGBDouble), V(ColorRGBAFloat), V(ColorRGBADouble),
        V(GUID), V(StringReference), V(ObjectReference),
        ZOR_NAMED_SLOT(VariableReference, getType), ZOR_NAMED_SLOT(VariableReference, getValuePointer),
        ZOR_NAMED_SLOT(VariableReference, destroy)
    };
    // clang-format on
#undef V
    expectSlotsInOrder(slots);
}

TEST(ObjectSlots, ApplicationDataLogOperations) {
    test::expectSlots(
        {ZOR_SLOT_AT(ApplicationData, deletingDestructor, 0), ZOR_SLOT_AT(ApplicationData, openLog, 10),
         ZOR_SLOT_AT(ApplicationData, isConsoleEchoEnabled, 12), ZOR_SLOT_AT(ApplicationData, writeLog, 13)});
}

// Table entries of the class `C`, an alias in each test; O picks an overload.
#define S(name) ZOR_NAMED_SLOT(C, name)
#define O(Return, Signature, name) ZOR_NAMED_SLOT_OF(C, Return, Signature, name)

TEST(FoundationSlots, RefCountedData) {
    using C = RefCountedData;
    const NamedSlot slots[] = {S(deletingDestructor), S(create), S(retain), S(release)};
    expectSlotsInOrder(slots);
    EXPECT_EQ(vtableSlot(&RefCountedData::referenceCount), SIZE_MAX);
}

TEST(FoundationSlots, String) {
    using C = String;
    const NamedSlot slots[] = {
        S(deletingDestructor), S(create),     S(retain),    S(release), S(clear), S(resize),
        S(allocate),           S(reallocate), S(deallocate)};
    expectSlotsInOrder(slots);
    EXPECT_EQ(vtableSlot(&String::assign), SIZE_MAX);
    EXPECT_EQ(ZOR_SLOT_OF(String, void, (const String&), pushBack), SIZE_MAX);

    // Table, counter, counter free function, then data, size, capacity and the inline buffer.
    EXPECT_EQ(sizeof(String), 3 * sizeof(void*) + sizeof(char*) + 2 * sizeof(uint64) + 64);
    // String keeps the base's create: a plain RefCountedData.
    RefCountedData* created = String().create();
    EXPECT_EQ(dynamic_cast<String*>(created), nullptr);
    created->release();
}

TEST(ContainerSlots, Array) {
    using C = Array<uint8>;
    // clang-format off
    const NamedSlot slots[] = {
        S(deletingDestructor), S(create), S(retain), O(void, (), release), S(setAllocator), S(swap),
        S(assign), S(reset), S(resize), S(insert), S(write), S(remove), S(append), S(pushBack),
        O(uint64, (uint8*, uint64), popBack), O(uint8, (), popBack), S(setFixed), S(attach), S(adopt),
        O(void, (uint8**, std::size_t*), release), S(setMode), S(getMode), S(getGrowth),
        S(data), S(size), S(isEmpty), S(capacity), S(isExternal)
    };
    // clang-format on
    expectSlotsInOrder(slots);
}

TEST(ContainerSlots, List) {
    using C = List<String>;
    // clang-format off
    const NamedSlot slots[] = {
        S(deletingDestructor), S(create), S(retain), S(release), S(setAllocator),
        O(C::ConstIterator, () const, begin), O(C::Iterator, (), begin),
        O(C::ConstIterator, () const, end), O(C::Iterator, (), end), S(isEmpty), S(size),
        O(const String&, () const, front), O(String&, (), front),
        O(const String&, () const, back), O(String&, (), back),
        S(pushFront), S(popFront), S(pushBack), S(popBack), S(insert),
        O(void, (C::Iterator), remove), O(void, (C::Iterator, C::Iterator), remove),
        S(swap), S(assign), S(clear)
    };
    // clang-format on
    expectSlotsInOrder(slots);
}

TEST(ContainerSlots, HashMapBase) {
    using C = HashMapBase<String, uint32, Hash<String>, EqualTo<String>>;
    // clang-format off
    const NamedSlot slots[] = {
        S(deletingDestructor), S(create), S(retain), S(release), S(setAllocator),
        O(C::ConstIterator, () const, begin), O(C::Iterator, (), begin),
        O(C::ConstIterator, () const, end), O(C::Iterator, (), end), S(isEmpty), S(size),
        O(const uint32&, () const, front), O(uint32&, (), front),
        O(const uint32&, () const, back), O(uint32&, (), back),
        S(insertFront), S(popFront), S(insertBack), S(insert), S(popBack),
        O(void, (C::Iterator), remove), O(bool, (const String&), remove),
        O(void, (C::Iterator, C::Iterator), remove), S(swap), S(assign), S(clear),
        O(C::Iterator, (const String&), find), O(C::ConstIterator, (const String&) const, find), S(contains)
    };
    // clang-format on
    expectSlotsInOrder(slots);
    // The map type adds nothing but its own slot 0.
    EXPECT_EQ(test::vtableSlot(&HashMap<String, uint32>::deletingDestructor), 0u);
    EXPECT_EQ(sizeof(HashMap<String, uint32>), sizeof(C));
}

template <typename Command>
class PathCommandSlots : public ::testing::Test {};
using Commands =
    ::testing::Types<Path2DCommand<float>, MoveToPath2DCommand<float>, LineToPath2DCommand<double>,
                     CurveToPath2DCommand<float>, SmoothPath2DCommand<double>,
                     QuadCurveToPath2DCommand<float>, QuadSmoothPath2DCommand<double>,
                     ArcPath2DCommand<float>, ArcPath2DCommand<double>, ClosePath2DCommand<double>>;
TYPED_TEST_SUITE(PathCommandSlots, Commands);

TYPED_TEST(PathCommandSlots, InSlotOrder) {
    using C = TypeParam;
    // clang-format off
    const NamedSlot slots[] = {S(deletingDestructor), S(create), S(retain), S(release), S(reset), S(getTypeName),
                               S(getCommandType), S(getVariableReference), S(read), S(write)};
    // clang-format on
    expectSlotsInOrder(slots);
}

#undef S
#undef O

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
