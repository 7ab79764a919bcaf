#pragma once

#include "common/containers/Array.h"
#include "common/framework/IElement.h"
#include "common/framework/IScene3D.h"
#include "common/framework/ISceneGeneration.h"
#include "common/framework/TransformRecord.h"
#include "common/log/Log.h"
#include "common/object/Identifiers.h"
#include "physics/attributes/RigidBody3DAttribute.h"

#include <optional>

namespace zor {

/// Kinds of physics attribute an element carries (element slot 104).
enum PhysicsAttributeKind : uint32 {
    PhysicsAttributeHitTest = 0,
    PhysicsAttributeRigidBody = 1,
    PhysicsAttributeCollision = 2,
};

/// The locks and wrap-arounds of a rigid body as bits: all that the position finalisation reads
/// of its attribute.
enum BodyPlacing : uint8 {
    PlacingXLock = 1,
    PlacingYLock = 2,
    PlacingZLock = 4,
    PlacingHLoop = 8,
    PlacingVLoop = 16,
};

/// The BodyPlacing bits of `body`.
template <typename T>
inline uint8 placingOf(const RigidBody3DAttribute<T>& body) {
    return uint8((body.getXLock() ? PlacingXLock : 0) | (body.getYLock() ? PlacingYLock : 0) |
                 (body.getZLock() ? PlacingZLock : 0) | (body.getHLoop() ? PlacingHLoop : 0) |
                 (body.getVLoop() ? PlacingVLoop : 0));
}

/// What else the walks read of a rigid body's attribute, as bits.
enum BodyTraits : uint8 {
    TraitImmovable = 1,
    /// An additional friction above zero.
    TraitFriction = 2,
};

/// A rigid body as a walk over the scene found it: its transform record and its attribute, null
/// for an attribute of another class, and the attribute's placing bits and traits.
template <typename T>
struct FoundBody {
    TransformRecord<T>* transform;
    RigidBody3DAttribute<T>* body;
    uint8 placing;
    uint8 traits;
};

/// The rigid bodies one walk found, in collection order, for a second walk in the same call.
template <typename T>
using FoundBodies = Array<FoundBody<T>>;

/// The generation `scene` declares (ISceneGeneration), or none.
inline std::optional<uint64> sceneGenerationOf(IScene3D& scene) {
    IObject* declared = scene.castTo(guids::kSceneGeneration);
    if (declared == nullptr)
        return std::nullopt;
    return static_cast<ISceneGeneration*>(declared)->getSceneGeneration();
}

/// Walks the scene's elements in collection order and calls `visit(entry)` with the FoundBody of
/// each 3D element with a rigid-body attribute; the attribute and the transform record are of
/// the scene's number type T. Other elements are passed over in silence, an attribute of
/// another class with a warning under `functionName`; a missing element ends the process. When
/// `found` is given, it ends up holding every body visited or warned of, in that order. The
/// visits change no body's placing bits or traits.
template <typename T, typename Visit>
void forEachRigidBody(IScene3D& scene, const char* functionName, Visit&& visit,
                      FoundBodies<T>* found = nullptr) {
    if (found != nullptr)
        found->resize(0);
    IElementLayer* layer = scene.getElementLayer(0);
    IObjectCollection* elements = layer != nullptr ? layer->getElements() : nullptr;
    if (elements == nullptr)
        return;
    CollectionIterator it;
    CollectionIterator end;
    elements->begin(&it);
    elements->end(&end);
    for (; !(it == end); ++it) {
        zor_assert_in(ZOR_LOG_MODULE, functionName, *it != NULL);
        if (!(*it)->isTypeOf(guids::kElement3D))
            continue;
        // A host 3D element answers isTypeOf for that identifier.
        IElement* element = static_cast<IElement*>(*it);
        IObject* attribute = element->getPhysicsAttribute(PhysicsAttributeRigidBody);
        if (attribute == nullptr)
            continue;
        if (!attribute->isTypeOf(guids::kRigidBody3DAttribute)) {
            zor_log(ZOR_LOG_MODULE, false, LogLevelWarn, functionName,
                    "Physics attribute for rigid bodies is not RigidBody3DAttribute");
            if (found != nullptr)
                found->Array<FoundBody<T>>::pushBack({nullptr, nullptr, 0, 0});
            continue;
        }
        auto* transform = static_cast<TransformRecord<T>*>(element->getTransformRecord());
        auto* body = static_cast<RigidBody3DAttribute<T>*>(attribute);
        const FoundBody<T> entry{transform, body, placingOf(*body),
                                 uint8((body->getImmovable() ? TraitImmovable : 0) |
                                       (body->getAdditionalFriction() > T(0) ? TraitFriction : 0))};
        visit(entry);
        if (found != nullptr)
            found->Array<FoundBody<T>>::pushBack(entry);
    }
}

/// forEachRigidBody again over the bodies an earlier walk `found`, without walking the scene:
/// either no host code has run since, or the scene declares the generation they were found at
/// (KeptBodies). The collection, its elements and their attributes are then the ones found,
/// and the visits (`visit(entry)`) and warnings come in the same order, with the bits the
/// attributes have.
template <typename T, typename Visit>
void forEachFoundBody(const FoundBodies<T>& found, const char* functionName, Visit&& visit) {
    for (const FoundBody<T>& entry : found) {
        if (entry.body == nullptr)
            zor_log(ZOR_LOG_MODULE, false, LogLevelWarn, functionName,
                    "Physics attribute for rigid bodies is not RigidBody3DAttribute");
        else
            visit(entry);
    }
}

/// The bodies a walk over the scene found, and the scene's generation then (none when the scene
/// declares none): while the scene keeps that generation, they are the bodies a walk would find.
template <typename T>
struct KeptBodies {
    FoundBodies<T> found;
    std::optional<uint64> generation;
};

/// forEachRigidBody, which leaves its bodies in `kept`; or, when the scene declares the
/// generation `kept` was found at, forEachFoundBody over them.
template <typename T, typename Visit>
void forEachSceneBody(IScene3D& scene, const char* functionName, Visit&& visit, KeptBodies<T>& kept) {
    const std::optional<uint64> generation = sceneGenerationOf(scene);
    if (generation.has_value() && kept.generation == generation) {
        forEachFoundBody<T>(kept.found, functionName, visit);
        return;
    }
    kept.generation = generation;
    forEachRigidBody<T>(scene, functionName, visit, &kept.found);
}

} // namespace zor
