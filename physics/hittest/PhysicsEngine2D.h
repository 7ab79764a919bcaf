#pragma once

#include "physics/hittest/HitTestEngine2D.h"
#include "physics/module/EngineReserved.h"

namespace zor {

class IElement;
class PhysicsEngine2D;
using PhysicsEngine2DReserved = EngineReserved<PhysicsEngine2D>;

/// Finds the element of a host 2D scene under a point. The host hands it a resources handler
/// and a scene; each hit test walks the scene's plain unfolded list from the last record (drawn
/// last, on top) to the first and reports the first hit-testable element that contains the
/// point. One engine serves float and double scenes; the scene's number type picks the call.
class PhysicsEngine2D : public HitTestEngine2D {
public:
    /// The factory's allocator: a new engine with its companion, one owner.
    static IObject* allocateObject();

    ZOR_DELETING_DESTRUCTOR(PhysicsEngine2D)
    /// "PhysicsEngine2D".
    const String& getTypeName() const override;
    const GUID_t* getGUID() const override;
    bool isTypeOf(const GUID_t& guid) const override;
    IObject* castTo(const GUID_t& guid) override;

    HitTestEvent* performHitTestToSceneFloat(Vector2<float> point) override;
    HitTestEvent* performHitTestToSceneDouble(Vector2<double> point) override;
    /// Slot 47: the companion.
    virtual PhysicsEngine2DReserved* getPhysicsEngine2DReserved();

    /// The event of `p_sceneElement` when it is hit-testable and contains `point` (scene
    /// coordinates), or null. A null element ends the process (assertion).
    template <typename T>
    HitTestEvent* performHitTestToElement(const Vector2<T>& point, IElement* p_sceneElement);

protected:
    PhysicsEngine2D();
    /// Destroys the companion.
    ~PhysicsEngine2D();

private:
    template <typename T>
    HitTestEvent* performHitTestToScene(const Vector2<T>& point, const char* functionName);

    PhysicsEngine2DReserved* m_reserved = nullptr;
};

} // namespace zor
