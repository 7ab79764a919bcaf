// The host scene interfaces the engines call, and the host records the 3D engine reads in place.

#include "common/framework/IDockingLayout.h"
#include "common/framework/IElementGeometry.h"
#include "common/framework/IElementState.h"
#include "common/framework/IObjectCollection.h"
#include "common/framework/IScene2D.h"
#include "common/framework/IScene3D.h"
#include "common/framework/ShapeData.h"
#include "common/framework/TransformRecord.h"
#include "common/framework/ViewRecord.h"

#include "support/VtableSlot.h"

#include <gtest/gtest.h>

#include <cstddef>

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

TEST(Scene3DSlots, SceneLayerAndCollection) {
    test::expectSlots({AT(IScene3D, getTemplateType, 7), AT(IScene3D, getElementLayer, 52),
                       AT(IScene3D, getGridStages, 54), AT(IScene3D, getGravity, 64),
                       AT(IScene3D, getViewHolder, 66), AT(IElementLayer, getElements, 50),
                       AT(IObjectCollection, begin, 43), AT(IObjectCollection, beginConst, 44),
                       AT(IObjectCollection, end, 45), AT(IObjectCollection, endConst, 46)});
}

#undef AT

// Byte offset of a member in a live record (the view record holds an object with operations,
// where offsetof is not defined).
template <typename Record, typename Member>
std::ptrdiff_t offsetIn(const Record& record, const Member& member) {
    return reinterpret_cast<const char*>(&member) - reinterpret_cast<const char*>(&record);
}

template <typename T>
void expectRecordLayouts() {
    SCOPED_TRACE(sizeof(T) == 4 ? "float" : "double");
    constexpr std::ptrdiff_t t = sizeof(T);
    const TransformRecord<T> transform{};
    EXPECT_EQ(offsetIn(transform, transform.position), 16 * t);
    EXPECT_EQ(offsetIn(transform, transform.rotation), 19 * t);

    // Packed: its members are not aligned, so only offsetof may name them.
    EXPECT_EQ(offsetof(UnfoldedEntry3D<T>, kind), 0u);
    EXPECT_EQ(offsetof(UnfoldedEntry3D<T>, owner), 4u);
    EXPECT_EQ(offsetof(UnfoldedEntry3D<T>, m_element), 12u);
    EXPECT_EQ(offsetof(UnfoldedEntry3D<T>, spare), 20u);
    EXPECT_EQ(offsetof(UnfoldedEntry3D<T>, world), 28u);

    const ViewRecord<T> view;
    EXPECT_EQ(offsetIn(view, view.unfoldedEntries), 0);
    EXPECT_EQ(offsetIn(view, view.projection), static_cast<std::ptrdiff_t>(sizeof(view.unfoldedEntries)));
    EXPECT_EQ(offsetIn(view, view.view), offsetIn(view, view.projection) + 16 * t);

    const ShapeData<T> shape{};
    EXPECT_EQ(offsetIn(shape, shape.radius), 0);
    EXPECT_EQ(offsetIn(shape, shape.height), t);
}

TEST(Scene3DLayout, TransformUnfoldedEntryViewAndShapeRecords) {
    expectRecordLayouts<float>();
    expectRecordLayouts<double>();
}

TEST(Scene3DLayout, IteratorWordsAndNodeLinks) {
    const CollectionIterator it{};
    EXPECT_EQ(offsetIn(it, it.collection), 0);
    EXPECT_EQ(offsetIn(it, it.current), 8);
    EXPECT_EQ(offsetIn(it, it.previous), 16);
    const CollectionNode node{};
    EXPECT_EQ(offsetIn(node, node.item), 0);
    EXPECT_EQ(offsetIn(node, node.next), 16);
}

} // namespace
} // namespace zor
