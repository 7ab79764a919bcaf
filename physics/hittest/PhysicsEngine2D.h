#pragma once

#include "common/object/WObject.h"
#include "common/variables/Vector.h"

namespace zor {

class HitTestEvent;
class IElement;
class IScene2D;
class PhysicsEngine2DReserved;

/// Finds the element of a host 2D scene under a point. The host hands it a resources handler
/// and a scene; each hit test walks the scene's plain unfolded list from the last record (drawn
/// last, on top) to the first and reports the first hit-testable element that contains the
/// point. One engine serves float and double scenes; the scene's number type picks the call.
class PhysicsEngine2D : public WObject {
public:
    /// The factory's allocator: a new engine with its companion, one owner.
    static IObject* allocateObject();

    ZOR_DELETING_DESTRUCTOR(PhysicsEngine2D)
    /// "PhysicsEngine2D".
    const String& getTypeName() const override;
    const GUID_t* getGUID() const override;
    bool isTypeOf(const GUID_t& guid) const override;
    IObject* castTo(const GUID_t& guid) override;

    /// Slot 42: holds `handler` (a reference is taken) instead of the previous one; null clears
    /// it. Always true.
    virtual bool setResourcesHandler(IObject* handler);
    /// Slot 43: the event of the element of a float scene under `point`, owned by the caller;
    /// null when nothing is hit, the hit is passive, or the engine cannot test (a warning).
    virtual HitTestEvent* performHitTestToSceneFloat(Vector2<float> point);
    /// Slot 44: the same for a double scene.
    virtual HitTestEvent* performHitTestToSceneDouble(Vector2<double> point);
    /// Slot 45: the current scene; with `addReference` the caller receives a reference of its own.
    virtual IScene2D* getCurrentScene(bool addReference);
    /// Slot 46: holds `scene` (a reference is taken) instead of the previous one; null clears it.
    virtual void setCurrentScene(IScene2D* scene);
    /// Slot 47: the companion.
    virtual PhysicsEngine2DReserved* getPhysicsEngine2DReserved();

    /// The event of `p_sceneElement` when it is hit-testable and contains `point` (scene
    /// coordinates), or null. A null element ends the process (assertion).
    template <typename T>
    HitTestEvent* performHitTestToElement(const Vector2<T>& point, IElement* p_sceneElement);

protected:
    PhysicsEngine2D();
    /// Releases the handler and the scene, then destroys the companion.
    ~PhysicsEngine2D();

private:
    template <typename T>
    HitTestEvent* performHitTestToScene(const Vector2<T>& point, const char* functionName);

    IScene2D* m_currentScene = nullptr;
    IObject* m_resourcesHandler = nullptr;
    PhysicsEngine2DReserved* m_reserved = nullptr;
};

} // namespace zor
