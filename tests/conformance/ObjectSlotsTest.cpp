#include "common/application/ApplicationData.h"
#include "common/object/IObject.h"
#include "common/object/WObject.h"
#include "common/variables/VariableReference.h"

#include "support/VtableSlot.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

using test::expectSlotsInOrder;
using test::NamedSlot;
using test::vtableSlot;

// Every operation of the host object interface, at its slot; a wrapper keeps them all there.
template <typename C>
void expectObjectSlots() {
    // clang-format off
    const NamedSlot slots[] = {
        ZOR_NAMED_SLOT(C, deletingDestructor), ZOR_NAMED_SLOT(C, getUserData), ZOR_NAMED_SLOT(C, copy),
        ZOR_NAMED_SLOT(C, clone), ZOR_NAMED_SLOT(C, reset), ZOR_NAMED_SLOT(C, getTypeName),
        ZOR_NAMED_SLOT(C, getTemplateTypeName), ZOR_NAMED_SLOT(C, getTemplateType),
        ZOR_NAMED_SLOT(C, getTemplateTypeSize), ZOR_NAMED_SLOT(C, getGUID), ZOR_NAMED_SLOT(C, isTypeOf),
        ZOR_NAMED_SLOT(C, castTo), ZOR_NAMED_SLOT(C, getName), ZOR_NAMED_SLOT(C, setName),
        ZOR_NAMED_SLOT(C, getParent), ZOR_NAMED_SLOT(C, setParent), ZOR_NAMED_SLOT(C, getFlags),
        ZOR_NAMED_SLOT(C, setFlags), ZOR_NAMED_SLOT(C, handleEvent), ZOR_NAMED_SLOT(C, read),
        ZOR_NAMED_SLOT(C, write), ZOR_NAMED_SLOT(C, getVariableCount), ZOR_NAMED_SLOT(C, getVariableName),
        ZOR_NAMED_SLOT(C, getVariableType), ZOR_NAMED_SLOT(C, getVariableReference),
        ZOR_NAMED_SLOT(C, getReferenceCount), ZOR_NAMED_SLOT(C, retain), ZOR_NAMED_SLOT(C, release),
        ZOR_NAMED_SLOT(C, getObjectId), ZOR_NAMED_SLOT(C, getChildCount), ZOR_NAMED_SLOT(C, getChild),
        ZOR_NAMED_SLOT(C, addChild), ZOR_NAMED_SLOT(C, removeChild), ZOR_NAMED_SLOT(C, findChild),
        ZOR_NAMED_SLOT(C, getRoot), ZOR_NAMED_SLOT(C, getWrapper), ZOR_NAMED_SLOT(C, addEventListener),
        ZOR_NAMED_SLOT(C, removeEventListener), ZOR_NAMED_SLOT(C, notifyEventListeners),
        ZOR_NAMED_SLOT(C, setWrapper), ZOR_NAMED_SLOT(C, setUserData), ZOR_NAMED_SLOT(C, isDescendantOf)
    };
    // clang-format on
    expectSlotsInOrder(slots);
}

TEST(ObjectSlots, IObject) {
    expectObjectSlots<IObject>();
}

TEST(ObjectSlots, WObject) {
    expectObjectSlots<WObject>();
    EXPECT_EQ(vtableSlot(&WObject::initObjectInterface), SIZE_MAX);
    // The interface object pointer, the counter block and its free function follow the table.
    EXPECT_EQ(sizeof(WObject), 4 * sizeof(void*));
}

TEST(ObjectSlots, VariableReference) {
    using R = VariableReference;
    // clang-format off
    const NamedSlot slots[] = {
        ZOR_NAMED_SLOT(R, changeValueBool), ZOR_NAMED_SLOT(R, changeValueUInt8),
        ZOR_NAMED_SLOT(R, changeValueInt8), ZOR_NAMED_SLOT(R, changeValueUInt16),
        ZOR_NAMED_SLOT(R, changeValueInt16), ZOR_NAMED_SLOT(R, changeValueUInt32),
        ZOR_NAMED_SLOT(R, changeValueInt32), ZOR_NAMED_SLOT(R, changeValueUInt64),
        ZOR_NAMED_SLOT(R, changeValueInt64), ZOR_NAMED_SLOT(R, changeValueFloat),
        ZOR_NAMED_SLOT(R, changeValueDouble), ZOR_NAMED_SLOT(R, changeValueString),
        ZOR_NAMED_SLOT(R, changeValueVector2Int32), ZOR_NAMED_SLOT(R, changeValueVector2Int64),
        ZOR_NAMED_SLOT(R, changeValueVector2Float), ZOR_NAMED_SLOT(R, changeValueVector3Float),
        ZOR_NAMED_SLOT(R, changeValueVector4Float), ZOR_NAMED_SLOT(R, changeValueVector2Double),
        ZOR_NAMED_SLOT(R, changeValueVector3Double), ZOR_NAMED_SLOT(R, changeValueVector4Double),
        ZOR_NAMED_SLOT(R, changeValueMatrix3x3Float), ZOR_NAMED_SLOT(R, changeValueMatrix4x4Float),
        ZOR_NAMED_SLOT(R, changeValueMatrix3x3Double), ZOR_NAMED_SLOT(R, changeValueMatrix4x4Double),
        ZOR_NAMED_SLOT(R, changeValueExtPositionXFloat), ZOR_NAMED_SLOT(R, changeValueExtPositionXDouble),
        ZOR_NAMED_SLOT(R, changeValueExtPositionYFloat), ZOR_NAMED_SLOT(R, changeValueExtPositionYDouble),
        ZOR_NAMED_SLOT(R, changeValueExtPositionZFloat), ZOR_NAMED_SLOT(R, changeValueExtPositionZDouble),
        ZOR_NAMED_SLOT(R, changeValueExtDimensionWidthFloat),
        ZOR_NAMED_SLOT(R, changeValueExtDimensionWidthDouble),
        ZOR_NAMED_SLOT(R, changeValueExtDimensionHeightFloat),
        ZOR_NAMED_SLOT(R, changeValueExtDimensionHeightDouble),
        ZOR_NAMED_SLOT(R, changeValueExtDimensionDepthFloat),
        ZOR_NAMED_SLOT(R, changeValueExtDimensionDepthDouble), ZOR_NAMED_SLOT(R, changeValueExtVector2Int32),
        ZOR_NAMED_SLOT(R, changeValueExtVector2Int64), ZOR_NAMED_SLOT(R, changeValueExtVector2Float),
        ZOR_NAMED_SLOT(R, changeValueExtVector3Float), ZOR_NAMED_SLOT(R, changeValueExtVector2Double),
        ZOR_NAMED_SLOT(R, changeValueExtVector3Double), ZOR_NAMED_SLOT(R, changeValueRectSizeInt32),
        ZOR_NAMED_SLOT(R, changeValueRectSizeInt64), ZOR_NAMED_SLOT(R, changeValueRectSizeFloat),
        ZOR_NAMED_SLOT(R, changeValueRectSizeDouble), ZOR_NAMED_SLOT(R, changeValueRectInt32),
        ZOR_NAMED_SLOT(R, changeValueRectInt64), ZOR_NAMED_SLOT(R, changeValueRectFloat),
        ZOR_NAMED_SLOT(R, changeValueRectDouble), ZOR_NAMED_SLOT(R, changeValueBoxSizeFloat),
        ZOR_NAMED_SLOT(R, changeValueBoxSizeDouble), ZOR_NAMED_SLOT(R, changeValueBoxFloat),
        ZOR_NAMED_SLOT(R, changeValueBoxDouble), ZOR_NAMED_SLOT(R, changeValueExtRectInt32),
        ZOR_NAMED_SLOT(R, changeValueExtRectInt64), ZOR_NAMED_SLOT(R, changeValueExtRectFloat),
        ZOR_NAMED_SLOT(R, changeValueExtRectDouble), ZOR_NAMED_SLOT(R, changeValueExtBoxFloat),
        ZOR_NAMED_SLOT(R, changeValueExtBoxDouble), ZOR_NAMED_SLOT(R, changeValueColorRGBFloat),
        ZOR_NAMED_SLOT(R, changeValueColorRGBDouble), ZOR_NAMED_SLOT(R, changeValueColorRGBAFloat),
        ZOR_NAMED_SLOT(R, changeValueColorRGBADouble), ZOR_NAMED_SLOT(R, changeValueGUID),
        ZOR_NAMED_SLOT(R, changeValueStringReference), ZOR_NAMED_SLOT(R, changeValueObjectReference),
        ZOR_NAMED_SLOT(R, getType), ZOR_NAMED_SLOT(R, getValuePointer), ZOR_NAMED_SLOT(R, destroy)
    };
    // clang-format on
    expectSlotsInOrder(slots);
}

TEST(ObjectSlots, ApplicationDataLogOperations) {
    EXPECT_EQ(vtableSlot(&ApplicationData::deletingDestructor), 0u);
    EXPECT_EQ(vtableSlot(&ApplicationData::openLog), 10u);
    EXPECT_EQ(vtableSlot(&ApplicationData::isConsoleEchoEnabled), 12u);
    EXPECT_EQ(vtableSlot(&ApplicationData::writeLog), 13u);
}

} // namespace
} // namespace zor
