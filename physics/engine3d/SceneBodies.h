#pragma once

#include "common/framework/IElement.h"
#include "common/framework/IScene3D.h"
#include "common/framework/TransformRecord.h"
#include "common/log/Log.h"
#include "common/object/Identifiers.h"
#include "physics/attributes/RigidBody3DAttribute.h"

namespace zor {

/// Kinds of physics attribute an element carries (element slot 104).
enum PhysicsAttributeKind : uint32 {
    PhysicsAttributeHitTest = 0,
    PhysicsAttributeRigidBody = 1,
    PhysicsAttributeCollision = 2,
};

/// Walks the scene's elements in collection order and calls `visit(transform, rigidBody)` for
/// each 3D element with a rigid-body attribute; the attribute and the transform record are of
/// the scene's number type T. Other elements are passed over in silence, an attribute of
/// another class with a warning under `functionName`; a missing element ends the process.
template <typename T, typename Visit>
void forEachRigidBody(IScene3D& scene, const char* functionName, Visit&& visit) {
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
            continue;
        }
        visit(*static_cast<TransformRecord<T>*>(element->getTransformRecord()),
              *static_cast<RigidBody3DAttribute<T>*>(attribute));
    }
}

} // namespace zor
