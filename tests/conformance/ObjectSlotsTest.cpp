#include "common/application/ApplicationData.h"
#include "common/object/IObject.h"
#include "common/object/WObject.h"
#include "common/variables/VariableReference.h"

#include "support/VtableSlot.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

using test::vtableSlot;

// Every operation of the host object interface, at its slot; a wrapper keeps them all there.
template <typename C>
void expectObjectSlots() {
    EXPECT_EQ(vtableSlot(&C::deletingDestructor), 0u);
    EXPECT_EQ(vtableSlot(&C::getUserData), 1u);
    EXPECT_EQ(vtableSlot(&C::copy), 2u);
    EXPECT_EQ(vtableSlot(&C::clone), 3u);
    EXPECT_EQ(vtableSlot(&C::reset), 4u);
    EXPECT_EQ(vtableSlot(&C::getTypeName), 5u);
    EXPECT_EQ(vtableSlot(&C::getTemplateTypeName), 6u);
    EXPECT_EQ(vtableSlot(&C::getTemplateType), 7u);
    EXPECT_EQ(vtableSlot(&C::getTemplateTypeSize), 8u);
    EXPECT_EQ(vtableSlot(&C::getGUID), 9u);
    EXPECT_EQ(vtableSlot(&C::isTypeOf), 10u);
    EXPECT_EQ(vtableSlot(&C::castTo), 11u);
    EXPECT_EQ(vtableSlot(&C::getName), 12u);
    EXPECT_EQ(vtableSlot(&C::setName), 13u);
    EXPECT_EQ(vtableSlot(&C::getParent), 14u);
    EXPECT_EQ(vtableSlot(&C::setParent), 15u);
    EXPECT_EQ(vtableSlot(&C::getFlags), 16u);
    EXPECT_EQ(vtableSlot(&C::setFlags), 17u);
    EXPECT_EQ(vtableSlot(&C::handleEvent), 18u);
    EXPECT_EQ(vtableSlot(&C::read), 19u);
    EXPECT_EQ(vtableSlot(&C::write), 20u);
    EXPECT_EQ(vtableSlot(&C::getVariableCount), 21u);
    EXPECT_EQ(vtableSlot(&C::getVariableName), 22u);
    EXPECT_EQ(vtableSlot(&C::getVariableType), 23u);
    EXPECT_EQ(vtableSlot(&C::getVariableReference), 24u);
    EXPECT_EQ(vtableSlot(&C::getReferenceCount), 25u);
    EXPECT_EQ(vtableSlot(&C::retain), 26u);
    EXPECT_EQ(vtableSlot(&C::release), 27u);
    EXPECT_EQ(vtableSlot(&C::getObjectId), 28u);
    EXPECT_EQ(vtableSlot(&C::getChildCount), 29u);
    EXPECT_EQ(vtableSlot(&C::getChild), 30u);
    EXPECT_EQ(vtableSlot(&C::addChild), 31u);
    EXPECT_EQ(vtableSlot(&C::removeChild), 32u);
    EXPECT_EQ(vtableSlot(&C::findChild), 33u);
    EXPECT_EQ(vtableSlot(&C::getRoot), 34u);
    EXPECT_EQ(vtableSlot(&C::getWrapper), 35u);
    EXPECT_EQ(vtableSlot(&C::addEventListener), 36u);
    EXPECT_EQ(vtableSlot(&C::removeEventListener), 37u);
    EXPECT_EQ(vtableSlot(&C::notifyEventListeners), 38u);
    EXPECT_EQ(vtableSlot(&C::setWrapper), 39u);
    EXPECT_EQ(vtableSlot(&C::setUserData), 40u);
    EXPECT_EQ(vtableSlot(&C::isDescendantOf), 41u);
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
    const std::size_t slots[] = {
        vtableSlot(&R::changeValueBool),
        vtableSlot(&R::changeValueUInt8),
        vtableSlot(&R::changeValueInt8),
        vtableSlot(&R::changeValueUInt16),
        vtableSlot(&R::changeValueInt16),
        vtableSlot(&R::changeValueUInt32),
        vtableSlot(&R::changeValueInt32),
        vtableSlot(&R::changeValueUInt64),
        vtableSlot(&R::changeValueInt64),
        vtableSlot(&R::changeValueFloat),
        vtableSlot(&R::changeValueDouble),
        vtableSlot(&R::changeValueString),
        vtableSlot(&R::changeValueVector2Int32),
        vtableSlot(&R::changeValueVector2Int64),
        vtableSlot(&R::changeValueVector2Float),
        vtableSlot(&R::changeValueVector3Float),
        vtableSlot(&R::changeValueVector4Float),
        vtableSlot(&R::changeValueVector2Double),
        vtableSlot(&R::changeValueVector3Double),
        vtableSlot(&R::changeValueVector4Double),
        vtableSlot(&R::changeValueMatrix3x3Float),
        vtableSlot(&R::changeValueMatrix4x4Float),
        vtableSlot(&R::changeValueMatrix3x3Double),
        vtableSlot(&R::changeValueMatrix4x4Double),
        vtableSlot(&R::changeValueExtPositionXFloat),
        vtableSlot(&R::changeValueExtPositionXDouble),
        vtableSlot(&R::changeValueExtPositionYFloat),
        vtableSlot(&R::changeValueExtPositionYDouble),
        vtableSlot(&R::changeValueExtPositionZFloat),
        vtableSlot(&R::changeValueExtPositionZDouble),
        vtableSlot(&R::changeValueExtDimensionWidthFloat),
        vtableSlot(&R::changeValueExtDimensionWidthDouble),
        vtableSlot(&R::changeValueExtDimensionHeightFloat),
        vtableSlot(&R::changeValueExtDimensionHeightDouble),
        vtableSlot(&R::changeValueExtDimensionDepthFloat),
        vtableSlot(&R::changeValueExtDimensionDepthDouble),
        vtableSlot(&R::changeValueExtVector2Int32),
        vtableSlot(&R::changeValueExtVector2Int64),
        vtableSlot(&R::changeValueExtVector2Float),
        vtableSlot(&R::changeValueExtVector3Float),
        vtableSlot(&R::changeValueExtVector2Double),
        vtableSlot(&R::changeValueExtVector3Double),
        vtableSlot(&R::changeValueRectSizeInt32),
        vtableSlot(&R::changeValueRectSizeInt64),
        vtableSlot(&R::changeValueRectSizeFloat),
        vtableSlot(&R::changeValueRectSizeDouble),
        vtableSlot(&R::changeValueRectInt32),
        vtableSlot(&R::changeValueRectInt64),
        vtableSlot(&R::changeValueRectFloat),
        vtableSlot(&R::changeValueRectDouble),
        vtableSlot(&R::changeValueBoxSizeFloat),
        vtableSlot(&R::changeValueBoxSizeDouble),
        vtableSlot(&R::changeValueBoxFloat),
        vtableSlot(&R::changeValueBoxDouble),
        vtableSlot(&R::changeValueExtRectInt32),
        vtableSlot(&R::changeValueExtRectInt64),
        vtableSlot(&R::changeValueExtRectFloat),
        vtableSlot(&R::changeValueExtRectDouble),
        vtableSlot(&R::changeValueExtBoxFloat),
        vtableSlot(&R::changeValueExtBoxDouble),
        vtableSlot(&R::changeValueColorRGBFloat),
        vtableSlot(&R::changeValueColorRGBDouble),
        vtableSlot(&R::changeValueColorRGBAFloat),
        vtableSlot(&R::changeValueColorRGBADouble),
        vtableSlot(&R::changeValueGUID),
        vtableSlot(&R::changeValueStringReference),
        vtableSlot(&R::changeValueObjectReference),
        vtableSlot(&R::getType),
        vtableSlot(&R::getValuePointer),
        vtableSlot(&R::destroy),
    };
    static_assert(sizeof slots / sizeof slots[0] == 70);
    for (std::size_t i = 0; i < 70; ++i)
        EXPECT_EQ(slots[i], i);
}

TEST(ObjectSlots, ApplicationDataLogOperations) {
    EXPECT_EQ(vtableSlot(&ApplicationData::deletingDestructor), 0u);
    EXPECT_EQ(vtableSlot(&ApplicationData::openLog), 10u);
    EXPECT_EQ(vtableSlot(&ApplicationData::isConsoleEchoEnabled), 12u);
    EXPECT_EQ(vtableSlot(&ApplicationData::writeLog), 13u);
}

} // namespace
} // namespace zor
