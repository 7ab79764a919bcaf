#include "host/scene3d/Element3D.h"
#include "host/scene3d/GridStage.h"

#include "common/object/Identifiers.h"
#include "host/scene3d/Transform3D.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

TEST(Element3D, OnlyMeshElementsHaveAMeshAndHandItsVerticesOutInWorldCoordinates) {
    auto* sphere = new Element3D<double>(ElementKind::Sphere);
    EXPECT_EQ(sphere->getMesh(), nullptr);
    Matrix4x4<double> world;
    EXPECT_EQ(sphere->transformMeshVertices(&world), nullptr);
    sphere->release();

    auto* element = new Element3D<double>(ElementKind::Mesh);
    ASSERT_NE(element->mesh(), nullptr);
    EXPECT_EQ(element->getMesh()->getVertexCount(), 0u);
    element->mesh()->vertices().pushBack({1, 0, 0});
    element->mesh()->vertices().pushBack({0, 2, 0});
    world = host::localMatrix<double>({10, 0, 0}, {0, 0, 0}, {2, 2, 2});
    const auto* moved = static_cast<const Array<Vector3<double>>*>(element->transformMeshVertices(&world));
    ASSERT_NE(moved, nullptr);
    ASSERT_EQ(moved->size(), 2u);
    EXPECT_EQ((*moved)[0], (Vector3<double>{12, 0, 0}));
    EXPECT_EQ((*moved)[1], (Vector3<double>{10, 4, 0}));
    element->release();
}

TEST(GridStage, KeepsItsCellsTilesAndAttributeListsWithReferences) {
    auto* stage = new GridStage<float>(3, 2, 1.5f, 2.0f);
    EXPECT_TRUE(stage->isTypeOf(guids::kGridStage));
    EXPECT_EQ(stage->getCells()->size(), 6u);
    EXPECT_EQ(stage->getTemplateType(), 10);
    auto* attribute = new HostObject();
    EXPECT_EQ(stage->rigidBodyAttributes().add(attribute), 0u);
    EXPECT_EQ(stage->rigidBodyAttributes().add(nullptr), 1u);
    EXPECT_EQ(attribute->getReferenceCount(), 1u);
    EXPECT_EQ(stage->getRigidBodyAttributes()->getData()[0], attribute);
    EXPECT_EQ(stage->getRigidBodyAttributes()->getCount(), 2u);
    stage->release();
    EXPECT_EQ(attribute->getReferenceCount(), 0u);
    attribute->release();
}

} // namespace
} // namespace zor
