// Host interfaces the module calls: every named operation at its slot; and the host records the
// 3D engine reads in place, member by member.

#include "common/framework/IAttributeReserved.h"
#include "common/framework/ICollisionDetector.h"
#include "common/framework/ICollisionReach.h"
#include "common/framework/IDockingLayout.h"
#include "common/framework/IElement.h"
#include "common/framework/IElementGeometry.h"
#include "common/framework/IElementState.h"
#include "common/framework/IGridStage.h"
#include "common/framework/IMesh.h"
#include "common/framework/IObjectCollection.h"
#include "common/framework/IObjectList.h"
#include "common/framework/IPhysicsAttributeLevel.h"
#include "common/framework/IScene2D.h"
#include "common/framework/IScene3D.h"
#include "common/framework/ISceneGeneration.h"
#include "common/framework/IVariableReader.h"
#include "common/framework/IVariableWriter.h"
#include "common/framework/ShapeData.h"
#include "common/framework/TransformRecord.h"
#include "common/framework/ViewRecord.h"

#include "support/ObjectSlots.h"

#include <gtest/gtest.h>

#include <cstddef>

namespace zor {
namespace {

using test::expectSlots;
using test::NamedSlot;

#define AT ZOR_SLOT_AT

TEST(FrameworkSlots, VariableReader) {
    expectSlots({AT(IVariableReader, enterNode, 44), AT(IVariableReader, leaveNode, 46),
                 AT(IVariableReader, readBool, 77), AT(IVariableReader, readEnumeration, 79),
                 AT(IVariableReader, readUInt32, 83), AT(IVariableReader, readFloat, 86),
                 AT(IVariableReader, readDouble, 87), AT(IVariableReader, readString, 88)});
}

TEST(FrameworkSlots, VariableWriter) {
    expectSlots({AT(IVariableWriter, beginTypedValue, 46), AT(IVariableWriter, endTypedValue, 47),
                 AT(IVariableWriter, writeTypedValue, 48), AT(IVariableWriter, beginNode, 49),
                 AT(IVariableWriter, endNode, 51), AT(IVariableWriter, isSinglePass, 67),
                 AT(IVariableWriter, writeBoolTyped, 86), AT(IVariableWriter, writeUInt8Typed, 88),
                 AT(IVariableWriter, writeUInt32Typed, 92), AT(IVariableWriter, writeFloatTyped, 95),
                 AT(IVariableWriter, writeDoubleTyped, 96), AT(IVariableWriter, writeStringTyped, 97),
                 AT(IVariableWriter, writeBool, 122), AT(IVariableWriter, writeEnumeration, 124),
                 AT(IVariableWriter, writeUInt32, 128), AT(IVariableWriter, writeFloat, 131),
                 AT(IVariableWriter, writeDouble, 132), AT(IVariableWriter, writeString, 133)});
}

TEST(FrameworkSlots, PhysicsAttributeLevelAndCompanion) {
    expectSlots({AT(IPhysicsAttributeLevel, getPhysicsAttributeReserved, 42)});
    test::expectAttributeCompanionSlots<IAttributeReserved>();
}

TEST(FrameworkSlots, Element) {
    expectSlots({AT(IElement, getAncestor, 46), AT(IElement, getPhysicsAttribute, 104),
                 AT(IElement, getState, 134), AT(IElement, getTransformRecord, 138),
                 AT(IElement, getMesh, 163), AT(IElement, getShapeData, 164),
                 AT(IElement, transformMeshVertices, 172), AT(IElement, getGeometry, 192),
                 AT(IElement, getSeparatorThickness, 199), AT(IElement, getDockingLayout, 202)});
}

TEST(FrameworkSlots, CollisionDetectorAndMesh) {
    using Detector = ICollisionDetector<float>;
    expectSlots({AT(Detector, testSphereSphere, 42), AT(Detector, testSphereMesh, 45),
                 AT(Detector, testCapsuleCapsule, 49), AT(Detector, testCapsuleQuadrilateral, 51),
                 AT(Detector, testCapsuleMesh, 52), AT(ICollisionDetector<double>, testCapsuleMesh, 52),
                 AT(ICollisionReach, getContactReach, 42), AT(ISceneGeneration, getSceneGeneration, 42)});
    const NamedSlot mesh[] = {ZOR_NAMED_SLOT(IMesh, deletingDestructor),
                              ZOR_NAMED_SLOT(IMesh, getVertexCount),
                              ZOR_NAMED_SLOT(IMesh, getTriangleIndices)};
    test::expectSlotsInOrder(mesh);
}

TEST(FrameworkSlots, GridStageAndAttributeList) {
    using Stage = IGridStage<double>;
    expectSlots({AT(Stage, getCollisionAttributes, 48), AT(Stage, getRigidBodyAttributes, 51),
                 AT(Stage, getColumns, 55), AT(Stage, getRows, 57), AT(Stage, getCellWidth, 59),
                 AT(Stage, getCellDepth, 61), AT(Stage, getCells, 63), AT(Stage, getTiles, 66),
                 AT(IGridStage<float>, getTiles, 66), AT(IObjectList, getData, 47),
                 AT(IObjectList, getCount, 48)});
}

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
