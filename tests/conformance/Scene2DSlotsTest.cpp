// Host interfaces of 2D scenes that the hit tests call: every named operation at its slot.

#include "common/framework/IDockingLayout.h"
#include "common/framework/IElementGeometry.h"
#include "common/framework/IElementState.h"
#include "common/framework/IScene2D.h"

#include "support/VtableSlot.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

using test::vtableSlot;

TEST(Scene2DSlots, SceneHoldsItsTwoLists) {
    EXPECT_EQ(vtableSlot(&IScene2D::getTemplateType), 7u);
    EXPECT_EQ(vtableSlot(&IScene2D::getUserData), 1u);
    EXPECT_EQ(vtableSlot(&IScene2D::getClipMarkedElements), 50u);
    EXPECT_EQ(vtableSlot(&IScene2D::getUnfoldedElements), 56u);
}

TEST(Scene2DSlots, ElementStateGeometryAndDockingLayout) {
    EXPECT_EQ(vtableSlot(&IElementState::deletingDestructor), 0u);
    EXPECT_EQ(vtableSlot(&IElementState::isPointerActive), 5u);
    EXPECT_EQ(vtableSlot(&IElementState::isHitTestVisible), 11u);
    EXPECT_EQ(vtableSlot(&IElementState::isKeyboardActive), 13u);

    EXPECT_EQ(vtableSlot(&IElementGeometry::deletingDestructor), 0u);
    EXPECT_EQ(vtableSlot(&IElementGeometry::getRectangle), 19u);
    EXPECT_EQ(vtableSlot(&IElementGeometry::getMatrix), 22u);
    EXPECT_EQ(vtableSlot(&IElementGeometry::getScale), 25u);

    EXPECT_EQ(vtableSlot(&IDockingLayout::deletingDestructor), 0u);
    EXPECT_EQ(vtableSlot(&IDockingLayout::getHorizontalPositions), 1u);
    EXPECT_EQ(vtableSlot(&IDockingLayout::getVerticalPositions), 4u);
    EXPECT_EQ(vtableSlot(&IDockingLayout::getHorizontalSeparators), 7u);
    EXPECT_EQ(vtableSlot(&IDockingLayout::getVerticalSeparators), 10u);
}

} // namespace
} // namespace zor
