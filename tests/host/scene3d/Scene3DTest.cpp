#include "host/scene3d/Scene3D.h"

#include "common/object/Identifiers.h"
#include "host/scene3d/GridStage.h"
#include "host/scene3d/Transform3D.h"
#include "support/CollectionItems.h"
#include "support/Held.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace zor {
namespace {

using test::Held;

constexpr double kHalfPi = 1.5707963267948966;

template <typename T>
void expectNear(const Vector3<T>& actual, const Vector3<T>& expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-5);
    EXPECT_NEAR(actual.y, expected.y, 1e-5);
    EXPECT_NEAR(actual.z, expected.z, 1e-5);
}

TEST(HostCollection, WalksItemsInOrderAndEndsAfterTheLast) {
    Held<HostCollection> collection;
    CollectionIterator begin;
    CollectionIterator end;
    EXPECT_EQ(*collection->begin(&begin), *collection->end(&end)) << "an empty collection";

    Held<HostObject> a, b;
    collection->pushBack(a);
    collection->pushBack(b);
    EXPECT_EQ(test::itemsOf(*collection.object), (std::vector<IObject*>{a, b}));
    collection->endConst(&end);
    EXPECT_EQ(end.previous->item, b) << "the end position follows the last link";
    EXPECT_EQ(a->getReferenceCount(), 1u);
}

TEST(Element3D, AnswersForItsKindAndFindsAncestorsWithAReference) {
    Held<Scene3D<double>> scene;
    Held<Element3D<double>> group(ElementKind::Group), sphere(ElementKind::Sphere);
    scene->addElement(group);
    scene->addElement(sphere, group);

    EXPECT_TRUE(group->isTypeOf(guids::kGroupElement) && group->isTypeOf(guids::kElement3D));
    EXPECT_TRUE(sphere->isTypeOf(guids::kSphereElement));
    EXPECT_FALSE(sphere->isTypeOf(guids::kCapsuleElement) || sphere->isTypeOf(guids::kGroupElement));
    EXPECT_EQ(group->getShapeData(), nullptr);
    EXPECT_EQ(sphere->getShapeData(), &sphere->shape());
    EXPECT_EQ(sphere->getTemplateType(), 11);

    IElement* self = sphere->getAncestor(0);
    IElement* parent = sphere->getAncestor(1);
    EXPECT_EQ(self, sphere);
    EXPECT_EQ(parent, group);
    EXPECT_EQ(sphere->getAncestor(2), nullptr) << "the scene above is not an element";
    EXPECT_EQ(group->getReferenceCount(), 3u) << "the caller's, the scene's two, one from getAncestor";
    self->release();
    parent->release();

    auto* attribute = new HostObject();
    sphere->setPhysicsAttribute(2, attribute);
    attribute->release();
    EXPECT_EQ(sphere->getPhysicsAttribute(2), attribute) << "the element holds its own reference";
    EXPECT_EQ(sphere->getPhysicsAttribute(3), nullptr);
}

TEST(Scene3D, UpdatesWorldMatricesAndUnfoldedEntriesParentsFirst) {
    Held<Scene3D<float>> scene;
    Held<Element3D<float>> group(ElementKind::Group), body(ElementKind::Plain);
    scene->addElement(group);
    scene->addElement(body, group);
    group->transform().position = {1, 0, 0};
    group->transform().rotation = {0, 0, float(kHalfPi)};
    body->transform().position = {1, 0, 0};
    body->scale() = {2, 2, 2};
    scene->updateView();

    const ViewRecord<float>& view = scene->view();
    ASSERT_EQ(view.unfoldedEntries.size(), 2u);
    // Entries are packed: their members are read by copy.
    const UnfoldedEntry3D<float>& entry = view.unfoldedEntries.data()[1];
    const uint32 kind = entry.kind;
    const IElement* element = entry.m_element;
    const IElement* owner = entry.owner;
    Matrix4x4<float> world;
    std::memcpy(world.m, entry.world, sizeof world.m);
    EXPECT_EQ(kind, 0u);
    EXPECT_EQ(element, body);
    EXPECT_EQ(owner, nullptr);
    // The body's origin: one unit along the group's x axis, which the quarter turn points along y.
    expectNear(host::transformPoint(Vector3<float>{}, world), Vector3<float>{1, 1, 0});
    expectNear(host::transformPoint(Vector3<float>{1, 0, 0}, world), Vector3<float>{1, 3, 0});
    EXPECT_EQ(body->transform().local[0], 2.0f) << "the host keeps the local matrix in the record";

    EXPECT_EQ(scene->getTemplateType(), 10);
    EXPECT_TRUE(scene->isTypeOf(guids::kScene3D));
    EXPECT_EQ(scene->getViewHolder()->getUserData(), &view);
    EXPECT_EQ(test::itemsOf(*scene->getElementLayer(0)->getElements()), (std::vector<IObject*>{group, body}));
    EXPECT_EQ(scene->getElementLayer(1), nullptr);
}

// After every update the world matrix and the local matrix have the bits of a product made
// afresh, however position, rotation, scale and the parent's world matrix change in between
// (signs of zero, NaN and infinities included): nothing kept from an earlier update goes stale.
template <typename T>
void expectWorldIsTheFreshProduct() {
    using M = Matrix4x4<T>;
    using V = Vector3<T>;
    const T inf = std::numeric_limits<T>::infinity(), nan = std::numeric_limits<T>::quiet_NaN();
    Held<Element3D<T>> element(ElementKind::Sphere);
    M turned = host::localMatrix<T>({T(1), T(-2), T(0.5)}, {T(0.3), T(-1.1), T(2)}, {T(1), T(2), T(0.5)});
    M withNaN = turned;
    withNaN[1] = nan;
    struct Step {
        const char* what;
        V position, rotation, scale;
        const M* parent; // null: at the top
    };
    const M identity;
    const V away{T(0.75), 1, T(-3)}, quarter{0, 0, T(kHalfPi)}, quarterSigned{T(-0.0), 0, T(kHalfPi)};
    const V odd{2, T(-0.0), inf}, one{1, 1, 1};
    const Step steps[] = {
        {"at the top", {1, 2, 3}, {}, one, nullptr},
        {"moved", {T(-0.0), 5, nan}, {}, one, nullptr},
        {"moved far", {inf, -inf, 0}, {}, one, nullptr},
        {"under a parent", {T(0.5), T(-0.25), 2}, {}, one, &turned},
        {"moved under it", away, {}, one, &turned},
        {"the parent changed", away, {}, one, &withNaN},
        {"turned", away, quarter, one, &withNaN},
        {"turned by a negative zero", away, quarterSigned, one, &withNaN},
        {"the parent changed back", away, quarterSigned, one, &turned},
        {"scaled", away, quarterSigned, odd, &turned},
        {"back at the top", away, quarterSigned, odd, nullptr},
        {"moved at the top", {T(0.1), T(0.2), T(0.3)}, quarterSigned, odd, nullptr},
        {"under an identity parent", {T(0.1), T(0.2), T(0.3)}, quarterSigned, odd, &identity},
        {"at the top after it", {T(0.1), T(0.2), T(0.3)}, quarterSigned, odd, nullptr},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        element->transform().position = step.position;
        element->transform().rotation = step.rotation;
        element->scale() = step.scale;
        if (step.parent != nullptr)
            element->updateWorld(*step.parent);
        else
            element->updateWorld();
        const M local = host::localMatrix(step.position, step.rotation, step.scale);
        const M world = host::multiply(local, step.parent != nullptr ? *step.parent : identity);
        EXPECT_EQ(std::memcmp(&element->transform().local, &local, sizeof local), 0);
        EXPECT_EQ(std::memcmp(&element->world(), &world, sizeof world), 0);
    }
}

TEST(Element3D, WorldMatrixIsTheFreshProductAfterEveryChange) {
    expectWorldIsTheFreshProduct<double>();
    expectWorldIsTheFreshProduct<float>();
}

// Where a world point lands in normalized device coordinates.
template <typename T>
Vector3<T> deviceCoordinates(const Camera<T>& camera, const Vector3<T>& point) {
    const Matrix4x4<T> vp = host::multiply(camera.viewMatrix(), camera.projectionMatrix());
    const Vector3<T> c = host::transformPoint(point, vp);
    const T w = point.x * vp[3] + point.y * vp[7] + point.z * vp[11] + vp[15];
    return Vector3<T>{c.x / w, c.y / w, c.z / w};
}

TEST(Camera, EdgesOfTheViewLandOnTheUnitSquare) {
    Camera<double> camera;
    camera.width = 20;
    camera.height = 10;
    camera.eye = {3, 0, 50};
    camera.target = {3, 0, 0};
    const Vector3<double> rightTop = deviceCoordinates(camera, Vector3<double>{13, 5, -7});
    EXPECT_NEAR(rightTop.x, 1, 1e-12);
    EXPECT_NEAR(rightTop.y, 1, 1e-12);

    camera.projection = Projection::Perspective;
    camera.fieldOfViewY = kHalfPi;
    // A quarter-turn opening: at distance d the view reaches d up and d across.
    const Vector3<double> corner = deviceCoordinates(camera, Vector3<double>{3 - 10, 10, 40});
    EXPECT_NEAR(corner.x, -1, 1e-12);
    EXPECT_NEAR(corner.y, 1, 1e-12);
}

TEST(Element3D, OnlyMeshElementsHaveAMeshAndHandItsVerticesOutInWorldCoordinates) {
    Held<Element3D<double>> sphere(ElementKind::Sphere), element(ElementKind::Mesh);
    EXPECT_EQ(sphere->getMesh(), nullptr);
    Matrix4x4<double> world;
    EXPECT_EQ(sphere->transformMeshVertices(&world), nullptr);

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
