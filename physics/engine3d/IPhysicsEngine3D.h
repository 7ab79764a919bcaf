#pragma once

#include "common/object/WObject.h"
#include "physics/engine3d/CollisionCallbacks.h"

namespace zor {

template <typename Engine>
class EngineReserved;
class PhysicsEngine3D;
/// The companion of a PhysicsEngine3D.
using PhysicsEngine3DReserved = EngineReserved<PhysicsEngine3D>;

/// The operations of the 3D engine after the object layer (slots 42 to 57), as a host that
/// created "PhysicsEngine3D" through the factory calls them. PhysicsEngine3D implements them.
class IPhysicsEngine3D : public WObject {
public:
    /// Slot 42: holds `handler` (a reference is taken) instead of the previous one; null
    /// clears it. Always true.
    virtual bool setResourcesHandler(IObject* handler) = 0;
    /// Slot 43: the current scene; with `addReference` the caller receives a reference of its own.
    virtual IObject* getCurrentScene(bool addReference) = 0;
    /// Slot 44: holds `scene` (a reference is taken) instead of the previous one; null clears it.
    virtual void setCurrentScene(IObject* scene) = 0;
    /// Slot 45: starts a step of length `deltaT`; false (with a warning) without a resources
    /// handler, with a zero step or without a scene.
    virtual bool beginIteration(double deltaT) = 0;
    /// Slot 46: ends the step.
    virtual void endIteration() = 0;
    /// Slot 47: moves the scene's rigid bodies by one step, then applies locks and wrap-around.
    /// False (with a warning) outside a step or for a scene it cannot step.
    virtual bool updateMovements() = 0;
    /// Slot 48: resolves the scene's contacts, then applies locks and wrap-around again. When
    /// it ran, `collisionsPending` (if given) says whether the last allowed pass still found
    /// contacts. False as updateMovements.
    virtual bool updateCollisions(bool* collisionsPending) = 0;
    /// Slots 49 to 56: the contact filters, stored and handed back untouched.
    virtual CollisionCallback<float> getCollisionCallbackFloat() = 0;
    virtual CollisionCallback<double> getCollisionCallbackDouble() = 0;
    virtual GridStageCollisionCallback<float> getGridStageCollisionCallbackFloat() = 0;
    virtual GridStageCollisionCallback<double> getGridStageCollisionCallbackDouble() = 0;
    virtual void setCollisionCallbackFloat(CollisionCallback<float> callback) = 0;
    virtual void setCollisionCallbackDouble(CollisionCallback<double> callback) = 0;
    virtual void setGridStageCollisionCallbackFloat(GridStageCollisionCallback<float> callback) = 0;
    virtual void setGridStageCollisionCallbackDouble(GridStageCollisionCallback<double> callback) = 0;
    /// Slot 57: the companion.
    virtual PhysicsEngine3DReserved* getReserved() = 0;

protected:
    IPhysicsEngine3D() = default;
    ~IPhysicsEngine3D() = default;
};

} // namespace zor
