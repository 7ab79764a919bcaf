#include "physics/engine3d/PhysicsEngine3D.h"
#include "physics/module/EngineReserved.h"

#include "support/VtableSlot.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

using test::expectSlotsInOrder;
using test::NamedSlot;

TEST(PhysicsEngine3DSlots, OverridesAndOwnOperations) {
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
}

TEST(PhysicsEngine3DSlots, Companion) {
    const NamedSlot slots[] = {ZOR_NAMED_SLOT(PhysicsEngine3DReserved, deletingDestructor),
                               ZOR_NAMED_SLOT(PhysicsEngine3DReserved, destroy)};
    expectSlotsInOrder(slots);
}

} // namespace
} // namespace zor
