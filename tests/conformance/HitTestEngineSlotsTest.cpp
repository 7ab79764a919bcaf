// The two 2D hit-testing engines and their companions: every named operation at its slot.

#include "physics/hittest/PhysicsEngine2D.h"
#include "physics/hittest/TesterEngine.h"

#include "support/ObjectSlots.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

using test::NamedSlot;

// The object operations, then the engine's own from slot 42; `Companion` is its last.
template <typename Engine, typename Companion>
void expectEngineSlots(Companion* (Engine::*getCompanion)()) {
    test::expectObjectSlots<Engine>();
#define S(name) ZOR_NAMED_SLOT(Engine, name)
    const NamedSlot slots[] = {S(setResourcesHandler),
                               S(performHitTestToSceneFloat),
                               S(performHitTestToSceneDouble),
                               S(getCurrentScene),
                               S(setCurrentScene),
                               NamedSlot{"companion", test::vtableSlot(getCompanion)}};
#undef S
    test::expectSlotsInOrder(slots, 42);
    const NamedSlot companion[] = {ZOR_NAMED_SLOT(Companion, deletingDestructor),
                                   ZOR_NAMED_SLOT(Companion, destroy)};
    test::expectSlotsInOrder(companion);
}

TEST(HitTestEngineSlots, PhysicsEngine2D) {
    expectEngineSlots(&PhysicsEngine2D::getPhysicsEngine2DReserved);
}

TEST(HitTestEngineSlots, TesterEngine) {
    expectEngineSlots(&TesterEngine::getTesterEngineReserved);
}

} // namespace
} // namespace zor
