// The engine's report of what its last collision stage saw counts and lists the contacts its
// callbacks are asked about, with the callbacks set (the stage works on the bodies) and without
// (on copies).

#include "physics/engine3d/ICollisionReport.h"
#include "support/EngineOnScene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

namespace zor {
namespace {

// What the callbacks are asked about, as the engine lists it, with the bodies where their
// transform records put them at that moment.
template <typename T>
struct Asked {
    using C = Collision3DAttribute<T>;
    using R = RigidBody3DAttribute<T>;
    static inline std::vector<ListedContact<T>> contacts;
    static Vector3<T> at(IElement* body) { return static_cast<Element3D<T>*>(body)->transform().position; }
    static bool pair(IElement* body1, IElement* element1, C*, R*, IElement* body2, IElement* element2, C*, R*,
                     Vector3<T>* normal, T depth) {
        contacts.push_back(
            {body1, element1, body2, element2, nullptr, 0, 0, 0, *normal, depth, at(body1), at(body2)});
        return true;
    }
    static bool face(IElement* body, IElement* element, C*, R*, IObject* stage, C*, R*, uint32 cell,
                     uint32 kind, uint32 segment, Vector3<T>* normal, T depth) {
        contacts.push_back(
            {body, element, nullptr, nullptr, stage, cell, kind, segment, *normal, depth, at(body), {}});
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
        parts.push_back(static_cast<IObject*>(static_cast<IGridStage<T>*>(stage)));
        for (int i = 0; i < 12; ++i) {
            const bool capsule = i % 5 == 4;
            Element3D<T>* element;
            auto* body = this->addBody(capsule ? ElementKind::Capsule : ElementKind::Sphere,
                                       {T(0.6 + 0.9 * (i % 3) + 0.05 * i), T(0.35 + 0.5 * (i / 3)), T(-1.5)},
                                       T(0.3), capsule ? T(0.4) : T(0), &element);
            body->setExclusionGroup(i < 2 ? 1 : 0);
            parts.push_back(static_cast<IElement*>(element));
        }
        report().setContactListing(true);
    }
    ICollisionReport& report() {
        return *static_cast<ICollisionReport*>(this->engine->castTo(guids::kCollisionReport));
    }
    /// The contacts listed in one step, the grid stage and the elements by their place in `parts`.
    auto step() {
        test::EngineScene<T>::step(1.0 / 30);
        if constexpr (sizeof(T) == 4)
            return placed(report().getListedContactsFloat(), report().getListedContactCountFloat());
        else
            return placed(report().getListedContactsDouble(), report().getListedContactCountDouble());
    }
    auto placed(const ListedContact<T>* contacts, uint64 count) const {
        const auto at = [&](const void* part) {
            return std::find(parts.begin(), parts.end(), part) - parts.begin();
        };
        const auto key = [&](const ListedContact<T>& c) {
            return std::tuple(at(c.body1), at(c.element1), at(c.body2), at(c.element2), at(c.gridStage),
                              c.cell, c.faceKind, c.segment, c.normal, c.depth, c.position1, c.position2);
        };
        std::vector<decltype(key(*contacts))> found(count);
        std::transform(contacts, contacts + count, found.begin(), key);
        return found;
    }
    /// The contacts and deepest depth the report counts.
    std::pair<uint64, T> counted() {
        const ICollisionReport& r = report();
        return {sizeof(T) == 4 ? r.getContactCountFloat() : r.getContactCountDouble(),
                sizeof(T) == 4 ? T(r.getDeepestContactFloat()) : T(r.getDeepestContactDouble())};
    }
    std::vector<const void*> parts;
};

template <typename T>
void expectTheCallbacksListed() {
    Stacks<T> called(true), alone(false);
    bool faces = false, pairs = false;
    decltype(called.step()) lastListed;
    for (int step = 0; step < 40; ++step) {
        Asked<T>::contacts.clear();
        // Listing is on in the stage with callbacks too; every other step it is off without, and
        // from step 20 on the stages that do not list keep the last list.
        alone.report().setContactListing(step % 2 == 0);
        alone.report().setContactListKept(step >= 20);
        const auto listed = called.step(), copied = alone.step();
        const auto asked = called.placed(Asked<T>::contacts.data(), Asked<T>::contacts.size());
        EXPECT_EQ(listed, asked) << step;
        EXPECT_EQ(copied, step % 2 == 0 ? asked : step >= 20 ? lastListed : decltype(asked){}) << step;
        if (step % 2 == 0)
            lastListed = asked;
        T deepest = 0;
        for (const ListedContact<T>& contact : Asked<T>::contacts)
            deepest = std::max(deepest, contact.depth), (contact.gridStage != nullptr ? faces : pairs) = true;
        EXPECT_EQ(called.counted(), (std::pair<uint64, T>{asked.size(), deepest})) << step;
        EXPECT_EQ(alone.counted(), called.counted()) << step;
    }
    EXPECT_TRUE(faces && pairs);
}

TEST(CollisionReport, CountsAndListsTheContactsTheCallbacksAreAskedAboutWithAndWithoutThem) {
    expectTheCallbacksListed<float>();
    expectTheCallbacksListed<double>();
}

} // namespace
} // namespace zor
