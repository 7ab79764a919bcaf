// The 3D engine and the two 2D hit-testing engines, and their companions: every named operation
// at its slot.

#include "physics/engine3d/ICollisionReport.h"
#include "physics/engine3d/PhysicsEngine3D.h"
#include "physics/hittest/PhysicsEngine2D.h"
#include "physics/hittest/TesterEngine.h"
#include "physics/module/EngineReserved.h"

#include "support/ObjectSlots.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

using test::expectSlotsInOrder;
using test::NamedSlot;

// An engine's companion: its deleting destructor and destroy.
template <typename Companion>
void expectCompanionSlots() {
    const NamedSlot slots[] = {ZOR_NAMED_SLOT(Companion, deletingDestructor),
                               ZOR_NAMED_SLOT(Companion, destroy)};
    expectSlotsInOrder(slots);
}

// The object operations, then the engine's own from slot 42; `Companion` is its last.
template <typename Engine, typename Companion>
void expectHitTestEngineSlots(Companion* (Engine::*getCompanion)()) {
    test::expectObjectSlots<Engine>();
#define S(name) ZOR_NAMED_SLOT(Engine, name)
    const NamedSlot slots[] = {S(setResourcesHandler),
                               S(performHitTestToSceneFloat),
                               S(performHitTestToSceneDouble),
                               S(getCurrentScene),
                               S(setCurrentScene),
                               NamedSlot{"companion", test::vtableSlot(getCompanion)}};
#undef S
    expectSlotsInOrder(slots, 42);
    expectCompanionSlots<Companion>();
}

TEST(HitTestEngineSlots, PhysicsEngine2D) {
    expectHitTestEngineSlots(&PhysicsEngine2D::getPhysicsEngine2DReserved);
}

TEST(HitTestEngineSlots, TesterEngine) {
    expectHitTestEngineSlots(&TesterEngine::getTesterEngineReserved);
}

TEST(PhysicsEngine3DSlots, OverridesOwnOperationsAndCompanion) {
    using E = PhysicsEngine3D;
    test::expectSlots({ZOR_SLOT_AT(E, deletingDestructor, 0), ZOR_SLOT_AT(E, getTypeName, 5),
                       ZOR_SLOT_AT(E, getGUID, 9), ZOR_SLOT_AT(E, isTypeOf, 10), ZOR_SLOT_AT(E, castTo, 11)});
#define S(name) ZOR_NAMED_SLOT(E, name)
    // clang-format off
    const NamedSlot own[] = {
        S(setResourcesHandler), S(getCurrentScene), S(setCurrentScene), S(beginIteration), S(endIteration),
        S(updateMovements), S(updateCollisions),
        S(getCollisionCallbackFloat), S(getCollisionCallbackDouble),
        S(getGridStageCollisionCallbackFloat), S(getGridStageCollisionCallbackDouble),
        S(setCollisionCallbackFloat), S(setCollisionCallbackDouble),
        S(setGridStageCollisionCallbackFloat), S(setGridStageCollisionCallbackDouble), S(getReserved)};
    // clang-format on
#undef S
    expectSlotsInOrder(own, 42);
    expectCompanionSlots<PhysicsEngine3DReserved>();
}

TEST(PhysicsEngine3DSlots, CollisionReport) {
    const NamedSlot report[] = {ZOR_NAMED_SLOT(ICollisionReport, getContactCountFloat),
                                ZOR_NAMED_SLOT(ICollisionReport, getDeepestContactFloat),
                                ZOR_NAMED_SLOT(ICollisionReport, getContactCountDouble),
                                ZOR_NAMED_SLOT(ICollisionReport, getDeepestContactDouble)};
    expectSlotsInOrder(report, 42);
}

} // namespace
} // namespace zor
