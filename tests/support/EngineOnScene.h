#pragma once

#include "common/object/ObjectFactory.h"
#include "host/core/HostObject.h"
#include "host/detector/HostCollisionDetector.h"
#include "host/project/HostPhysicsAttribute.h"
#include "host/scene3d/GridStage.h"
#include "host/scene3d/Scene3D.h"
#include "physics/attributes/Collision3DAttribute.h"
#include "physics/attributes/RigidBody3DAttribute.h"
#include "physics/engine3d/PhysicsEngine3D.h"
#include "support/TestApplicationData.h"

namespace zor::test {

/// A new 3D engine with a resources handler of its own, stepping `scene` (it takes a reference).
inline PhysicsEngine3D* engineOn(IObject* scene) {
    auto* engine = static_cast<PhysicsEngine3D*>(PhysicsEngine3D::allocateObject());
    auto* handler = new HostObject();
    engine->setResourcesHandler(handler);
    handler->release();
    engine->setCurrentScene(scene);
    return engine;
}

/// A host record whose factory makes host objects, the physics-attribute level and the host's
/// collision detectors: a base made before the EngineScene that needs it.
struct HostRecord {
    TestApplicationData record{&HostObject::create, &HostPhysicsAttribute::create};
    HostRecord() {
        zor_addObjectAllocator<HostCollisionDetector<float>>();
        zor_addObjectAllocator<HostCollisionDetector<double>>();
    }
};

/// A scene of number type T of its own and an engine stepping it, on the test's host record.
template <typename T>
struct EngineScene {
    using Body = RigidBody3DAttribute<T>;

    Scene3D<T>* scene = new Scene3D<T>();
    PhysicsEngine3D* engine = engineOn(scene);

    EngineScene() = default;
    EngineScene(const EngineScene&) = delete;
    EngineScene& operator=(const EngineScene&) = delete;
    ~EngineScene() {
        engine->release();
        scene->release();
    }

    /// A colliding element of `kind` (collision attribute with event parent 0) at `position`
    /// with `radius` and `height`, moved by `body` (none when null, else the scene takes its
    /// reference); the scene holds the element, which is returned.
    Element3D<T>* add(ElementKind kind, const Vector3<T>& position, T radius, T height = 0,
                      Body* body = nullptr) {
        auto* element = new Element3D<T>(kind);
        element->transform().position = position;
        element->shape() = {radius, height};
        auto* collision = new Collision3DAttribute<T>();
        collision->setEventParent(0);
        element->setPhysicsAttribute(2, collision);
        collision->release();
        if (body != nullptr) {
            element->setPhysicsAttribute(1, body);
            body->release();
        }
        scene->addElement(element);
        element->release();
        return element;
    }
    /// add with a new rigid body of mass 1 at rest, which is returned.
    Body* addBody(ElementKind kind, const Vector3<T>& position, T radius, T height = 0,
                  Element3D<T>** element = nullptr) {
        auto* body = new Body();
        Element3D<T>* added = add(kind, position, radius, height, body);
        if (element != nullptr)
            *element = added;
        return body;
    }
    /// Hands `stage` to the scene.
    void add(GridStage<T>* stage) {
        scene->addGridStage(stage);
        stage->release();
    }
    /// The pair callback and the grid-stage callback of T (null for none).
    void setCallbacks(CollisionCallback<T> pairs, GridStageCollisionCallback<T> faces) {
        if constexpr (sizeof(T) == 4) {
            engine->setCollisionCallbackFloat(pairs);
            engine->setGridStageCollisionCallbackFloat(faces);
        } else {
            engine->setCollisionCallbackDouble(pairs);
            engine->setGridStageCollisionCallbackDouble(faces);
        }
    }
    /// One step of `dt`: the view updated, the movements when `move`, the collisions. Whether a
    /// contact is pending after it (false too when the step was refused).
    bool step(double dt, bool move = true) {
        scene->updateView();
        bool pending = false;
        engine->beginIteration(dt);
        if (move)
            engine->updateMovements();
        engine->updateCollisions(&pending);
        engine->endIteration();
        return pending;
    }
};

/// A tile of a lone floor at height 0 that names no attributes.
template <typename T>
GridTile<T> floorTile() {
    GridTile<T> tile{};
    tile.floorPresent = 1;
    tile.floorCollision = tile.floorRigidBody = tile.ceilingCollision = tile.ceilingRigidBody =
        kNoGridAttribute;
    return tile;
}

/// A stage of `columns` by `rows` cells of size 1 whose first tile is `tile`, laid in every cell
/// when `everyCell`.
template <typename T>
GridStage<T>* stageOf(uint32 columns, uint32 rows, const GridTile<T>& tile, bool everyCell) {
    auto* stage = new GridStage<T>(columns, rows, 1, 1);
    stage->tiles().pushBack(tile);
    for (uint32& cell : stage->cells())
        cell = everyCell ? 1 : 0;
    return stage;
}

} // namespace zor::test
