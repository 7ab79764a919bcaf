#include "common/application/ApplicationData.h"
#include "common/object/IObject.h"
#include "common/object/WObject.h"
#include "common/variables/VariableReference.h"

#include "support/ObjectSlots.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace zor
