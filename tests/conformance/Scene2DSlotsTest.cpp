// Host interfaces of 2D scenes that the hit tests call: every named operation at its slot.

#include "common/framework/IDockingLayout.h"
#include "common/framework/IElementGeometry.h"
#include "common/framework/IElementState.h"
#include "common/framework/IScene2D.h"

#include "support/VtableSlot.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

#define AT ZOR_SLOT_AT

TEST(Scene2DSlots, SceneHoldsItsTwoLists) {
    test::expectSlots({AT(IScene2D, getUserData, 1), AT(IScene2D, getTemplateType, 7),
                       AT(IScene2D, getClipMarkedElements, 50), AT(IScene2D, getUnfoldedElements, 56)});
}

TEST(Scene2DSlots, ElementStateGeometryAndDockingLayout) {
    test::expectSlots(
        {AT(IElementState, deletingDestructor, 0), AT(IElementState, isPointerActive, 5),
         AT(IElementState, isHitTestVisible, 11), AT(IElementState, isKeyboardActive, 13),
         AT(IElementGeometry, deletingDestructor, 0), AT(IElementGeometry, getRectangle, 19),
         AT(IElementGeometry, getMatrix, 22), AT(IElementGeometry, getScale, 25),
         AT(IDockingLayout, deletingDestructor, 0), AT(IDockingLayout, getHorizontalPositions, 1),
         AT(IDockingLayout, getVerticalPositions, 4), AT(IDockingLayout, getHorizontalSeparators, 7),
         AT(IDockingLayout, getVerticalSeparators, 10)});
}

#undef AT

} // namespace
} // namespace zor
