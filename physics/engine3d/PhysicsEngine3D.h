#pragma once

#include "physics/engine3d/IPhysicsEngine3D.h"

namespace zor {

/// Steps a host 3D scene through time. The host hands it a resources handler and a scene, then
/// runs each step as beginIteration, updateMovements and updateCollisions, endIteration. The
/// engine keeps no bodies: it moves the scene's elements through their transform records and
/// rigid-body attributes, with the float or double stages chosen by the scene's number type.
class PhysicsEngine3D : public IPhysicsEngine3D {
public:
    /// The factory's allocator: a new engine with its companion, one owner.
    static IObject* allocateObject();

    ZOR_DELETING_DESTRUCTOR(PhysicsEngine3D)
    /// "PhysicsEngine3D".
    const String& getTypeName() const override;
    const GUID_t* getGUID() const override;
    bool isTypeOf(const GUID_t& guid) const override;
    IObject* castTo(const GUID_t& guid) override;

    bool setResourcesHandler(IObject* handler) override;
    IObject* getCurrentScene(bool addReference) override;
    void setCurrentScene(IObject* scene) override;
    bool beginIteration(double deltaT) override;
    void endIteration() override;
    bool updateMovements() override;
    bool updateCollisions(bool* collisionsPending) override;
    CollisionCallback<float> getCollisionCallbackFloat() override;
    CollisionCallback<double> getCollisionCallbackDouble() override;
    GridStageCollisionCallback<float> getGridStageCollisionCallbackFloat() override;
    GridStageCollisionCallback<double> getGridStageCollisionCallbackDouble() override;
    void setCollisionCallbackFloat(CollisionCallback<float> callback) override;
    void setCollisionCallbackDouble(CollisionCallback<double> callback) override;
    void setGridStageCollisionCallbackFloat(GridStageCollisionCallback<float> callback) override;
    void setGridStageCollisionCallbackDouble(GridStageCollisionCallback<double> callback) override;
    PhysicsEngine3DReserved* getReserved() override;

    /// The length of the current step (0 outside a step).
    double getDeltaT() const { return m_deltaT; }
    /// Whether a step has begun and not ended.
    bool isIterationBegun() const { return m_iterationBegun; }
    /// The resources handler, or null.
    IObject* getResourcesHandler() const { return m_resourcesHandler; }
    /// The collision detector for scenes of number type T; the collision stage creates it on
    /// first use and the engine releases it when it ends.
    template <typename T>
    IObject*& collisionDetector() {
        if constexpr (sizeof(T) == sizeof(float))
            return m_collisionDetectorFloat;
        else
            return m_collisionDetectorDouble;
    }

protected:
    PhysicsEngine3D();
    /// Releases the handler, the detectors and the scene, then destroys the companion.
    ~PhysicsEngine3D();

private:
    /// The gate and dispatch shared by both updates: the scene's number type code (10 or 11),
    /// or 0 after a warning under `functionName`.
    int32 steppableSceneType(const char* functionName) const;

    IObject* m_currentScene = nullptr;
    bool m_iterationBegun = false;
    double m_deltaT = 0;
    CollisionCallback<float> m_collisionCallbackFloat = nullptr;
    CollisionCallback<double> m_collisionCallbackDouble = nullptr;
    GridStageCollisionCallback<float> m_gridStageCollisionCallbackFloat = nullptr;
    GridStageCollisionCallback<double> m_gridStageCollisionCallbackDouble = nullptr;
    IObject* m_resourcesHandler = nullptr;
    IObject* m_collisionDetectorFloat = nullptr;
    IObject* m_collisionDetectorDouble = nullptr;
    PhysicsEngine3DReserved* m_reserved = nullptr;
};

} // namespace zor
