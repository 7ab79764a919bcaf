// The movement stage and the position finalisation, through the engine, on the reference host's
// scenes, in float and in double.

#include "host/scene3d/Transform3D.h"
#include "support/EngineOnScene.h"
#include "support/ExitOutput.h"
#include "support/LogLines.h"

#include <gtest/gtest.h>

#include <limits>

namespace zor {
namespace {

using test::logLines;
using test::physicsWarning;
using Lines = std::vector<std::string>;

// An engine stepping a scene of its own, on a host record of its own, with an orthographic view
// 20 wide and 20 high about the origin: x and y in [-10, 10] are seen.
template <typename T>
struct MovingScene : test::HostRecord, test::EngineScene<T> {
    MovingScene() { this->scene->updateView(); }

    // A new element of the scene with a rigid body at `position`; the scene owns both.
    RigidBody3DAttribute<T>& addBody(const Vector3<T>& position, Element3D<T>** element) {
        return *test::EngineScene<T>::addBody(ElementKind::Sphere, position, 0, 0, element);
    }
    Vector3<T>& positionOf(Element3D<T>* element) { return element->transform().position; }
    // One step of the engine's movement: begin, updateMovements, end.
    void move(double dt) {
        ASSERT_TRUE(this->engine->beginIteration(dt));
        ASSERT_TRUE(this->engine->updateMovements());
        this->engine->endIteration();
    }
    // Where a world point lands in normalized device coordinates of the scene's view.
    Vector3<T> device(const Vector3<T>& p) {
        const Matrix4x4<T> vp = host::multiply(this->scene->view().view, this->scene->view().projection);
        const Vector3<T> c = host::transformPoint(p, vp);
        const T w = p.x * vp[3] + p.y * vp[7] + p.z * vp[11] + vp[15];
        return Vector3<T>{c.x / w, c.y / w, c.z / w};
    }
};

template <typename T>
struct SceneMovement : testing::Test, MovingScene<T> {};
using NumberTypes = testing::Types<float, double>;
TYPED_TEST_SUITE(SceneMovement, NumberTypes);

// Equal, or near within `tolerance`.
template <typename T>
void expectNear(const Vector3<T>& actual, const Vector3<T>& expected, double tolerance) {
    for (const T Vector3<T>::*axis : {&Vector3<T>::x, &Vector3<T>::y, &Vector3<T>::z}) {
        if (actual.*axis != expected.*axis) {
            EXPECT_NEAR(actual.*axis, expected.*axis, tolerance);
        }
    }
}

// Gravity counts into the speed; the position moves with the speed of before the step.
TYPED_TEST(SceneMovement, IntegratesPositionSpeedRotationAndSpinInThatOrder) {
    using T = TypeParam;
    this->scene->setGravity(10);
    Element3D<T>* element;
    auto& body = this->addBody({1, 1, 1}, &element);
    body.setLinearSpeed({1, 2, 3});
    body.setLinearAcceleration({2, 0, -2});
    body.setAngularSpeed({1, 0, -4});
    body.setAngularAcceleration({0, 2, 0});
    body.setMaxLinearSpeed(1); // limits apply only after a collision response
    this->move(0.5);
    auto* transform = &element->transform();
    EXPECT_EQ(transform->position, (Vector3<T>{1.5, 2, 2.5}));
    EXPECT_EQ(body.getLinearSpeed(), (Vector3<T>{2, -3, 2}));
    EXPECT_EQ(transform->rotation, (Vector3<T>{0.5, 0, -2}));
    EXPECT_EQ(body.getAngularSpeed(), (Vector3<T>{1, 1, -4}));
    EXPECT_EQ(body.getLinearAcceleration(), (Vector3<T>{2, 0, -2}));
}

TYPED_TEST(SceneMovement, ImmovableBodiesStayButLocksStillPinThemAtZero) {
    using T = TypeParam;
    this->scene->setGravity(9.81);
    Element3D<T>* still;
    Element3D<T>* locked;
    auto& stillBody = this->addBody({3, 4, 5}, &still);
    stillBody.setImmovable(true);
    stillBody.setXLock(true);
    stillBody.setLinearSpeed({1, 1, 1});
    auto& lockedBody = this->addBody({3, 4, 5}, &locked);
    lockedBody.setYLock(true);
    lockedBody.setZLock(true);
    lockedBody.setLinearSpeed({2, 2, 2});
    this->move(0.5);
    EXPECT_EQ(this->positionOf(still), (Vector3<T>{0, 4, 5}));
    EXPECT_EQ(stillBody.getLinearSpeed(), (Vector3<T>{1, 1, 1}));
    EXPECT_EQ(this->positionOf(locked), (Vector3<T>{4, 0, 0})) << "pinned at zero, not kept";
    EXPECT_EQ(lockedBody.getLinearSpeed().y, T(-4.905) + T(2)) << "a lock pins the position only";
}

TYPED_TEST(SceneMovement, WrapsAroundTheViewOnlyPastItsEdges) {
    using T = TypeParam;
    struct Case {
        bool hLoop, vLoop, xLock;
        Vector3<T> from, to;
    };
    const T inf = std::numeric_limits<T>::infinity();
    // The view spans [-10, 10]: clip x = 1.5 w is x = 15.
    // clang-format off
    const Case cases[] = {
        {true,  false, false, {15, 0, 3},   {-5, 0, 3}},
        {true,  false, false, {-12, 0, 0},  {8, 0, 0}},
        {true,  false, false, {10, 0, 0},   {10, 0, 0}},   // exactly on the edge: stays
        {false, true,  false, {15, -11, 0}, {15, 9, 0}},   // vertical only
        {true,  true,  false, {5, 15, 0},   {5, -5, 0}},   // both loops, wraps vertically
        {true,  false, true,  {15, 0, 0},   {0, 0, 0}},    // locked first, then inside
        {false, false, false, {15, 0, 0},   {15, 0, 0}},
        // The clip w is computed in full even for an orthographic view: at x = inf it is
        // undefined, so no wrap is made and the body stays rather than becoming undefined.
        {true,  false, false, {inf, 0, 0},  {inf, 0, 0}}};
    // clang-format on
    std::vector<Element3D<T>*> elements;
    for (const Case& c : cases) {
        Element3D<T>* element;
        auto& body = this->addBody(c.from, &element);
        body.setHLoop(c.hLoop);
        body.setVLoop(c.vLoop);
        body.setXLock(c.xLock);
        elements.push_back(element);
    }
    this->move(0.5);
    for (std::size_t i = 0; i < elements.size(); ++i) {
        SCOPED_TRACE(i);
        expectNear(this->positionOf(elements[i]), cases[i].to, 1e-5);
    }
}

TYPED_TEST(SceneMovement, WrapsInPerspectiveAtTheSameDepth) {
    using T = TypeParam;
    this->scene->camera().projection = Projection::Perspective;
    this->scene->updateView();
    Element3D<T>* element;
    auto& body = this->addBody({0, 0, 0}, &element);
    body.setHLoop(true);
    // At 30 in front of the camera (z = 70) the view reaches 30·tan(30°) to each side.
    const T reach = T(30 * 0.57735026918962576);
    this->positionOf(element) = {T(1.5) * reach, 2, 70};
    const Vector3<T> before = this->device(this->positionOf(element));
    this->move(0.5);
    const Vector3<T> after = this->device(this->positionOf(element));
    EXPECT_NEAR(before.x, 1.5, 1e-4);
    EXPECT_NEAR(after.x, -0.5, 1e-4);
    EXPECT_NEAR(after.y, before.y, 1e-4);
    EXPECT_NEAR(after.z, before.z, 1e-4);
}

TYPED_TEST(SceneMovement, ASingularViewLeavesAWrappingBodyWhereItIs) {
    using T = TypeParam;
    // An infinitely wide view flattens x: the projection loses a dimension.
    this->scene->camera().width = std::numeric_limits<T>::infinity();
    this->scene->updateView();
    Element3D<T>* element;
    auto& body = this->addBody({0, 15, 0}, &element);
    body.setVLoop(true);
    this->move(0.5);
    EXPECT_EQ(this->positionOf(element), (Vector3<T>{0, 15, 0}));
}

// The second walk of a call (the finalisation after the movements, or after the collisions'
// friction) warns after the first has warned of every element.
TYPED_TEST(SceneMovement, PassesOverOtherElementsAndWarnsOfForeignAttributes) {
    using T = TypeParam;
    this->scene->setGravity(1);
    auto* plain = new HostObject();
    this->scene->elements().pushBack(plain);
    plain->release();
    auto* bare = new Element3D<T>(ElementKind::Plain);
    this->scene->addElement(bare);
    bare->release();
    for (int foreigners = 0; foreigners < 2; ++foreigners) {
        auto* foreign = new Element3D<T>(ElementKind::Plain);
        auto* attribute = new HostObject();
        foreign->setPhysicsAttribute(1, attribute);
        attribute->release();
        this->scene->addElement(foreign);
        foreign->release();
    }
    Element3D<T>* element;
    auto& body = this->addBody({0, 0, 0}, &element);

    this->move(1);
    EXPECT_EQ(body.getLinearSpeed().y, T(-1)) << "the body after them still moves";
    ASSERT_TRUE(this->engine->beginIteration(1));
    ASSERT_TRUE(this->engine->updateCollisions(nullptr));
    this->engine->endIteration();
    const std::string message = "Physics attribute for rigid bodies is not RigidBody3DAttribute";
    // The log folds a repeated line into the one before it: one line per walk.
    Lines expected;
    for (const char* walk : {"updateSceneMovements", "finalizeScenePositions", "updateSceneCollisions",
                             "finalizeScenePositions"})
        expected.push_back(physicsWarning(std::string("zor::PhysicsEngine3D::") + walk, message));
    EXPECT_EQ(logLines(this->record), expected);
}

TYPED_TEST(SceneMovement, AMissingElementEndsTheProcess) {
    this->scene->elements().pushBack(nullptr);
    this->record.m_consoleEcho = true;
    ASSERT_TRUE(this->engine->beginIteration(0.5));
    EXPECT_EQ(test::outputOfExit([&] { this->engine->updateMovements(); }), "ERROR: assert(*it != NULL)\n");
}

} // namespace
} // namespace zor
