// The engine's report of what its last collision stage saw counts the contacts its callbacks are
// asked about, with the callbacks set (the stage works on the bodies) and without (on copies).

#include "physics/engine3d/ICollisionReport.h"
#include "support/EngineOnScene.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

template <typename T>
struct Asked {
    static inline uint64 pairs = 0, faces = 0;
    static inline T deepest = 0;
    static void add(uint64& count, T depth) {
        ++count;
        if (depth > deepest)
            deepest = depth;
    }
    static bool pair(IElement*, IElement*, Collision3DAttribute<T>*, RigidBody3DAttribute<T>*, IElement*,
                     IElement*, Collision3DAttribute<T>*, RigidBody3DAttribute<T>*, Vector3<T>*, T depth) {
        add(pairs, depth);
        return true;
    }
    static bool face(IElement*, IElement*, Collision3DAttribute<T>*, RigidBody3DAttribute<T>*, IObject*,
                     Collision3DAttribute<T>*, RigidBody3DAttribute<T>*, uint32, uint32, uint32, Vector3<T>*,
                     T depth) {
        add(faces, depth);
        return true;
    }
};

// Spheres and capsules dropped in overlapping stacks onto a floor of rigid tiles, two of them
// in one exclusion group; the report of each step with and without callbacks.
template <typename T>
struct Stacks : test::HostRecord, test::EngineScene<T> {
    explicit Stacks(bool callbacks) {
        if (callbacks)
            this->setCallbacks(&Asked<T>::pair, &Asked<T>::face);
        auto* stage = new GridStage<T>(4, 4, 1, 1);
        auto* floorBody = new RigidBody3DAttribute<T>();
        floorBody->setInfiniteMass(true);
        stage->rigidBodyAttributes().add(floorBody);
        floorBody->release();
        GridTile<T> tile = test::floorTile<T>();
        tile.floorRigidBody = 0;
        stage->tiles().pushBack(tile);
        for (uint32& cell : stage->cells())
            cell = 1;
        this->add(stage);
        for (int i = 0; i < 12; ++i) {
            const bool capsule = i % 5 == 4;
            auto* body = this->addBody(capsule ? ElementKind::Capsule : ElementKind::Sphere,
                                       {T(0.6 + 0.9 * (i % 3) + 0.05 * i), T(0.35 + 0.5 * (i / 3)), T(-1.5)},
                                       T(0.3), capsule ? T(0.4) : T(0));
            body->setExclusionGroup(i < 2 ? 1 : 0);
        }
    }
    const ICollisionReport& report() {
        return *static_cast<ICollisionReport*>(this->engine->castTo(guids::kCollisionReport));
    }
    /// The contacts and deepest depth the report gives after one step.
    std::pair<uint64, T> step() {
        test::EngineScene<T>::step(1.0 / 30);
        if constexpr (sizeof(T) == 4)
            return {report().getContactCountFloat(), report().getDeepestContactFloat()};
        else
            return {report().getContactCountDouble(), report().getDeepestContactDouble()};
    }
};

template <typename T>
void expectTheCallbacksCount() {
    using A = Asked<T>;
    A::pairs = A::faces = 0;
    Stacks<T> called(true), alone(false);
    for (int step = 0; step < 40; ++step) {
        const uint64 before = A::pairs + A::faces;
        A::deepest = 0;
        const std::pair<uint64, T> asked = called.step();
        EXPECT_EQ(asked, (std::pair<uint64, T>{A::pairs + A::faces - before, A::deepest})) << step;
        EXPECT_EQ(alone.step(), asked) << step;
    }
    EXPECT_GT(A::pairs, 0u);
    EXPECT_GT(A::faces, 0u);
}

TEST(CollisionReport, CountsTheContactsTheCallbacksAreAskedAboutWithAndWithoutThem) {
    expectTheCallbacksCount<float>();
    expectTheCallbacksCount<double>();
}

} // namespace
} // namespace zor
