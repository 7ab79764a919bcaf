// Host interfaces the module calls: every named operation at its slot.

#include "common/framework/IAttributeReserved.h"
#include "common/framework/ICollisionDetector.h"
#include "common/framework/ICollisionReach.h"
#include "common/framework/IElement.h"
#include "common/framework/IGridStage.h"
#include "common/framework/IMesh.h"
#include "common/framework/IObjectList.h"
#include "common/framework/IPhysicsAttributeLevel.h"
#include "common/framework/IVariableReader.h"
#include "common/framework/IVariableWriter.h"

#include "support/ObjectSlots.h"

#include <gtest/gtest.h>

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
                 AT(ICollisionReach, getContactReach, 42)});
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

#undef AT

} // namespace
} // namespace zor
