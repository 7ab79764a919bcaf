#include "physics/engine3d/PhysicsEngine3D.h"

#include "common/containers/String.h"
#include "common/framework/IScene3D.h"
#include "common/log/Log.h"
#include "common/object/Identifiers.h"
#include "common/variables/VariableType.h"
#include "physics/engine3d/ICollisionReport.h"
#include "physics/engine3d/SceneMovement.h"
#include "physics/engine3d/collision/SceneCollisions.h"
#include "physics/module/EngineReserved.h"

namespace zor {

namespace {

void warn(const char* functionName, const char* message) {
    zor_log(ZOR_LOG_MODULE, false, LogLevelWarn, functionName, "%s", message);
}

// Drops the reference held in `slot`, then holds `object` (with a reference of its own) or null.
void replaceHeld(IObject*& slot, IObject* object) {
    if (slot != nullptr)
        slot->release();
    slot = object != nullptr ? object->retain() : nullptr;
}

} // namespace

IObject* PhysicsEngine3D::allocateObject() {
    return new PhysicsEngine3D();
}

PhysicsEngine3D::PhysicsEngine3D() {
    initObjectInterface();
    m_reserved = new PhysicsEngine3DReserved(this);
}

PhysicsEngine3D::~PhysicsEngine3D() {
    replaceHeld(m_resourcesHandler, nullptr);
    if (m_collisionDetectorFloat != nullptr)
        m_collisionDetectorFloat->release();
    if (m_collisionDetectorDouble != nullptr)
        m_collisionDetectorDouble->release();
    if (m_currentScene != nullptr)
        m_currentScene->release();
    m_reserved->destroy();
}

const String& PhysicsEngine3D::getTypeName() const {
    static const String typeName("PhysicsEngine3D");
    return typeName;
}

const GUID_t* PhysicsEngine3D::getGUID() const {
    return &guids::kPhysicsEngine3D;
}

bool PhysicsEngine3D::isTypeOf(const GUID_t& guid) const {
    return isTypeOfClass(guid, guids::kPhysicsEngine3D);
}

IObject* PhysicsEngine3D::castTo(const GUID_t& guid) {
    if (guid == guids::kCollisionReport)
        return &collisionReportOf(*this);
    return castToClass(guid, guids::kPhysicsEngine3D);
}

bool PhysicsEngine3D::setResourcesHandler(IObject* handler) {
    replaceHeld(m_resourcesHandler, handler);
    return true;
}

IObject* PhysicsEngine3D::getCurrentScene(bool addReference) {
    if (!addReference || m_currentScene == nullptr)
        return m_currentScene;
    return m_currentScene->retain();
}

void PhysicsEngine3D::setCurrentScene(IObject* scene) {
    replaceHeld(m_currentScene, scene);
    // What was kept of the last scene is not the new one's, whatever generation it declares.
    forgetSceneReads(*this);
}

bool PhysicsEngine3D::beginIteration(double deltaT) {
    constexpr const char* kFunction = "zor::PhysicsEngine3D::beginIteration";
    if (m_resourcesHandler == nullptr) {
        warn(kFunction, "Physics engine doesn't have a resources handler. Cannot do anything.");
        return false;
    }
    if (deltaT == 0) {
        warn(kFunction, "deltaT is 0. Cannot do anything.");
        return false;
    }
    if (m_currentScene == nullptr) {
        warn(kFunction, "Current scene is NULL. Cannot do anything.");
        return false;
    }
    m_deltaT = deltaT;
    m_iterationBegun = true;
    return true;
}

void PhysicsEngine3D::endIteration() {
    if (!m_iterationBegun) {
        warn("zor::PhysicsEngine3D::endIteration", "Iteration has not begun");
        return;
    }
    zor_assert(m_currentScene != NULL);
    m_iterationBegun = false;
    m_deltaT = 0;
}

int32 PhysicsEngine3D::steppableSceneType(const char* functionName) const {
    if (!m_iterationBegun) {
        warn(functionName, "Iteration has not begun. Cannot do anything.");
        return 0;
    }
    zor_assert_in(ZOR_LOG_MODULE, functionName, m_currentScene != NULL);
    zor_assert_in(ZOR_LOG_MODULE, functionName, m_deltaT != 0);
    if (!m_currentScene->isTypeOf(guids::kScene3D)) {
        warn(functionName, "Current scene is not a 3D scene. Cannot do anything.");
        return 0;
    }
    const int32 type = m_currentScene->getTemplateType();
    if (type == VariableTypeFloat || type == VariableTypeDouble)
        return type;
    zor_log(ZOR_LOG_MODULE, false, LogLevelWarn, functionName,
            "Current scene:0x%p class variable type:0x%X is not supported",
            static_cast<void*>(m_currentScene), static_cast<unsigned>(m_currentScene->getTemplateType()));
    return 0;
}

bool PhysicsEngine3D::updateMovements() {
    const int32 type = steppableSceneType("zor::PhysicsEngine3D::updateMovements");
    if (type == 0)
        return false;
    // The gate has established that the scene is a host 3D scene.
    IScene3D& scene = *static_cast<IScene3D*>(m_currentScene);
    // The second walk takes the bodies the first found: no host code runs between them.
    if (type == VariableTypeFloat) {
        updateSceneMovements<float>(*this, scene, keptBodiesOf<float>(*this));
        finalizeScenePositions<float>(scene, keptBodiesOf<float>(*this).found);
    } else {
        updateSceneMovements<double>(*this, scene, keptBodiesOf<double>(*this));
        finalizeScenePositions<double>(scene, keptBodiesOf<double>(*this).found);
    }
    return true;
}

bool PhysicsEngine3D::updateCollisions(bool* collisionsPending) {
    const int32 type = steppableSceneType("zor::PhysicsEngine3D::updateCollisions");
    if (type == 0)
        return false;
    IScene3D& scene = *static_cast<IScene3D*>(m_currentScene);
    bool pending;
    if (type == VariableTypeFloat) {
        pending = updateSceneCollisions<float>(*this, scene);
        finalizeScenePositions<float>(scene, keptBodiesOf<float>(*this).found);
    } else {
        pending = updateSceneCollisions<double>(*this, scene);
        finalizeScenePositions<double>(scene, keptBodiesOf<double>(*this).found);
    }
    if (collisionsPending != nullptr)
        *collisionsPending = pending;
    return true;
}

CollisionCallback<float> PhysicsEngine3D::getCollisionCallbackFloat() {
    return m_collisionCallbackFloat;
}

CollisionCallback<double> PhysicsEngine3D::getCollisionCallbackDouble() {
    return m_collisionCallbackDouble;
}

GridStageCollisionCallback<float> PhysicsEngine3D::getGridStageCollisionCallbackFloat() {
    return m_gridStageCollisionCallbackFloat;
}

GridStageCollisionCallback<double> PhysicsEngine3D::getGridStageCollisionCallbackDouble() {
    return m_gridStageCollisionCallbackDouble;
}

void PhysicsEngine3D::setCollisionCallbackFloat(CollisionCallback<float> callback) {
    m_collisionCallbackFloat = callback;
}

void PhysicsEngine3D::setCollisionCallbackDouble(CollisionCallback<double> callback) {
    m_collisionCallbackDouble = callback;
}

void PhysicsEngine3D::setGridStageCollisionCallbackFloat(GridStageCollisionCallback<float> callback) {
    m_gridStageCollisionCallbackFloat = callback;
}

void PhysicsEngine3D::setGridStageCollisionCallbackDouble(GridStageCollisionCallback<double> callback) {
    m_gridStageCollisionCallbackDouble = callback;
}

PhysicsEngine3DReserved* PhysicsEngine3D::getReserved() {
    return m_reserved;
}

} // namespace zor
