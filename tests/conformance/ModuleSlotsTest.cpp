// The module's classes: the physics attributes, their companions and the hit-test event, the 3D
// engine and the two 2D hit-testing engines with their companions, and the host's
// physics-attribute level: every named operation at its slot.

#include "host/project/HostPhysicsAttribute.h"
#include "physics/attributes/Collision3DAttribute.h"
#include "physics/attributes/HitTestAttribute.h"
#include "physics/attributes/HitTestEvent.h"
#include "physics/attributes/RigidBody3DAttribute.h"
#include "physics/engine3d/ICollisionReport.h"
#include "physics/engine3d/PhysicsEngine3D.h"
#include "physics/hittest/PhysicsEngine2D.h"
#include "physics/hittest/TesterEngine.h"
#include "physics/module/EngineReserved.h"

#include "support/ObjectSlots.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

using test::expectObjectSlots;
using test::expectSlotsInOrder;
using test::NamedSlot;
using test::vtableSlot;

// The object operations, then slot 42 of the physics-attribute level.
template <typename C>
void expectPhysicsAttributeSlots() {
    expectObjectSlots<C>();
    EXPECT_EQ(vtableSlot(&C::getPhysicsAttributeReserved), 42u);
}

template <typename T>
void expectRigidBodySlots() {
    using C = RigidBody3DAttribute<T>;
    expectPhysicsAttributeSlots<C>();
#define S(name) ZOR_NAMED_SLOT(C, name)
#define VECTOR_GETTERS(name)                                                                                 \
    ZOR_NAMED_SLOT_OF(C, const Vector3<T>&, () const, name), ZOR_NAMED_SLOT_OF(C, Vector3<T>&, (), name)
    // clang-format off
    const NamedSlot slots[] = {
        VECTOR_GETTERS(getLinearSpeed), S(setLinearSpeed), S(getMaxLinearSpeed), S(setMaxLinearSpeed),
        VECTOR_GETTERS(getLinearAcceleration), S(setLinearAcceleration),
        S(getMaxLinearAcceleration), S(setMaxLinearAcceleration),
        VECTOR_GETTERS(getAngularSpeed), S(setAngularSpeed),
        VECTOR_GETTERS(getAngularAcceleration), S(setAngularAcceleration),
        S(getMass), S(setMass), S(getInfiniteMass), S(setInfiniteMass), S(getImmovable), S(setImmovable),
        S(getRestitutionFactor), S(setRestitutionFactor), S(getRestitutionCombine), S(setRestitutionCombine),
        S(getFrictionCoefficient), S(setFrictionCoefficient), S(getAdditionalFriction), S(setAdditionalFriction),
        S(getXLock), S(setXLock), S(getYLock), S(setYLock), S(getZLock), S(setZLock),
        S(getHLoop), S(setHLoop), S(getVLoop), S(setVLoop), S(getExclusionGroup), S(setExclusionGroup),
        S(applySpeedLimits), S(getRigidBody3DAttributeReserved)
    };
    // clang-format on
#undef VECTOR_GETTERS
#undef S
    expectSlotsInOrder(slots, 43);
    test::expectAttributeCompanionSlots<RigidBody3DAttributeReserved<T>>();
}

// Event parent and event string at 43 to 46, the class's companion at 47.
template <typename C>
void expectEventAttributeSlots(std::size_t companionSlot) {
    expectPhysicsAttributeSlots<C>();
    const NamedSlot slots[] = {ZOR_NAMED_SLOT(C, getEventParent), ZOR_NAMED_SLOT(C, setEventParent),
                               ZOR_NAMED_SLOT(C, getEventString), ZOR_NAMED_SLOT(C, setEventString)};
    expectSlotsInOrder(slots, 43);
    EXPECT_EQ(companionSlot, 47u);
}

TEST(AttributeSlots, PhysicsAttributeBase) {
    expectPhysicsAttributeSlots<WPhysicsAttribute>();
    EXPECT_EQ(sizeof(WPhysicsAttribute), sizeof(WObject)) << "the base adds no member";
}

TEST(AttributeSlots, RigidBody3DAttribute) {
    expectRigidBodySlots<float>();
    expectRigidBodySlots<double>();
}

TEST(AttributeSlots, Collision3DAttributeAndHitTestAttribute) {
    expectEventAttributeSlots<Collision3DAttribute<float>>(
        vtableSlot(&Collision3DAttribute<float>::getCollision3DAttributeReserved));
    expectEventAttributeSlots<Collision3DAttribute<double>>(
        vtableSlot(&Collision3DAttribute<double>::getCollision3DAttributeReserved));
    expectEventAttributeSlots<HitTestAttribute>(vtableSlot(&HitTestAttribute::getHitTestAttributeReserved));
    test::expectAttributeCompanionSlots<Collision3DAttributeReserved<float>>();
    test::expectAttributeCompanionSlots<Collision3DAttributeReserved<double>>();
    test::expectAttributeCompanionSlots<HitTestAttributeReserved>();
}

TEST(AttributeSlots, HitTestEvent) {
#define S(name) ZOR_NAMED_SLOT(HitTestEvent, name)
    const NamedSlot slots[] = {S(deletingDestructor), S(getElement), S(getEventString), S(getSeparatorIndex),
                               S(getTarget),          S(isPassive),  S(destroy)};
#undef S
    expectSlotsInOrder(slots);
}

TEST(AttributeSlots, HostPhysicsAttributeLevel) {
    expectPhysicsAttributeSlots<HostPhysicsAttribute>();
    test::expectAttributeCompanionSlots<HostPhysicsAttributeReserved>();
}

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
    // clang-format off
    const NamedSlot slots[] = {S(setResourcesHandler), S(performHitTestToSceneFloat),
        S(performHitTestToSceneDouble), S(getCurrentScene), S(setCurrentScene),
        NamedSlot{"companion", test::vtableSlot(getCompanion)}};
    // clang-format on
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
#define S(name) ZOR_NAMED_SLOT(ICollisionReport, name)
    // clang-format off
    const NamedSlot report[] = {S(getContactCountFloat), S(getDeepestContactFloat), S(getContactCountDouble),
        S(getDeepestContactDouble), S(setContactListing), S(getListedContactCountFloat), S(getListedContactsFloat),
        S(getListedContactCountDouble), S(getListedContactsDouble), S(setContactListKept)};
    // clang-format on
#undef S
    expectSlotsInOrder(report, 42);
}

} // namespace
} // namespace zor
