#include "physics/engine3d/collision/ScenePrimitives.h"

#include "common/framework/IElement.h"
#include "common/framework/IMesh.h"
#include "common/framework/IScene3D.h"
#include "common/framework/ShapeData.h"
#include "common/framework/ViewRecord.h"
#include "common/log/Log.h"
#include "common/object/Identifiers.h"
#include "physics/attributes/Collision3DAttribute.h"
#include "physics/attributes/RigidBody3DAttribute.h"
#include "physics/engine3d/SceneBodies.h"
#include "physics/engine3d/collision/BodyCopies.h"
#include "physics/engine3d/collision/PrimitiveBounds.h"
#include "physics/math/Vector3Math.h"

#include <cstddef>
#include <cstring>

namespace zor {
namespace {

constexpr const char* kStageFunction = "zor::PhysicsEngine3D::updateSceneCollisions";

/// The point (x, y, z, 1) of an element's own space in world coordinates: the products and sums
/// of transform(), in its order, without the w that is not used.
template <typename T>
Vector3<T> toWorld(const Matrix4x4<T>& m, T x, T y, T z) {
    return {x * m[0] + y * m[4] + z * m[8] + T(1) * m[12], x * m[1] + y * m[5] + z * m[9] + T(1) * m[13],
            x * m[2] + y * m[6] + z * m[10] + T(1) * m[14]};
}

/// The element that moves when `element` is hit, given its collision attribute's event parent:
/// the element itself, or its ancestor that many levels up (a grouping level stands for its
/// parent). With a reference; null when there is none or it is not a 3D element.
IElement* bodyOf(IElement* element, uint32 eventParent) {
    if (eventParent == 0)
        return static_cast<IElement*>(element->retain());
    IElement* body = element->getAncestor(eventParent);
    if (body != nullptr && body->isTypeOf(guids::kGroupElement)) {
        IElement* parent = body->getAncestor(1);
        body->release();
        body = parent;
    }
    if (body != nullptr && !body->isTypeOf(guids::kElement3D)) {
        body->release();
        body = nullptr;
    }
    return body;
}

/// The element's shape kind, in the order the kinds are tested; false for no shape.
bool shapeOf(IElement* element, uint8& shape) {
    if (element->isTypeOf(guids::kSphereElement))
        shape = CollisionShapeSphere;
    else if (element->isTypeOf(guids::kCapsuleElement))
        shape = CollisionShapeCapsule;
    else if (element->isTypeOf(guids::kMeshElement))
        shape = CollisionShapeMesh;
    else
        return false;
    return true;
}

/// Fills the world vertices of a mesh primitive, into the record's own array (made on first
/// use); false when the element lacks its mesh or vertices.
template <typename T>
bool placeMesh(PhysicsCollisionPrimitive3D<T>& primitive, const Matrix4x4<T>& world) {
    IElement* element = primitive.element;
    IMesh* mesh = element->getMesh();
    if (mesh == nullptr || mesh->getVertexCount() == 0)
        return false;
    const auto* transformed = static_cast<const Array<Vector3<T>>*>(element->transformMeshVertices(&world));
    if (transformed == nullptr)
        return false;
    primitive.meshData = mesh;
    if (primitive.vertices == nullptr)
        primitive.vertices = new Array<Vector3<T>>();
    primitive.vertices->assign(*transformed);
    return true;
}

/// Fills the world geometry of a sphere or capsule primitive from its element's shape data.
template <typename T>
void placeSolid(PhysicsCollisionPrimitive3D<T>& primitive, const Matrix4x4<T>& world,
                const ShapeData<T>& shapeData) {
    if (primitive.shape == CollisionShapeSphere) {
        const Vector3<T> centre = toWorld(world, T(0), T(0), T(0));
        const Vector3<T> rim = toWorld(world, shapeData.radius, T(0), T(0));
        primitive.pointA = primitive.pointB = centre;
        primitive.radius = v3::lengthInDouble(v3::minus(rim, centre));
    } else {
        const T half = shapeData.height / T(2);
        primitive.pointA = toWorld(world, T(0), -half, T(0));
        primitive.pointB = toWorld(world, T(0), half, T(0));
        const Vector3<T> rim = toWorld(world, shapeData.radius, half, T(0));
        primitive.radius = v3::lengthInDouble(v3::minus(rim, primitive.pointB));
    }
}

/// Fills the world geometry of a primitive whose shape is known; `shapeData` gets the element's
/// shape data for a sphere or capsule. False when the element lacks its shape data or mesh.
template <typename T>
bool placeShape(PhysicsCollisionPrimitive3D<T>& primitive, const Matrix4x4<T>& world,
                const void*& shapeData) {
    if (primitive.shape == CollisionShapeMesh)
        return placeMesh(primitive, world);
    shapeData = primitive.element->getShapeData();
    if (shapeData == nullptr)
        return false;
    placeSolid(primitive, world, *static_cast<const ShapeData<T>*>(shapeData));
    return true;
}

/// The members of an unfolded entry that the stage reads, copied out of the packed record.
template <typename T>
struct UnfoldedCopy {
    uint32 kind;
    IElement* owner;
    IElement* m_element;
    Matrix4x4<T> world;
};

template <typename T>
UnfoldedCopy<T> copyEntry(const UnfoldedEntry3D<T>* entry) {
    using Entry = UnfoldedEntry3D<T>;
    const auto* bytes = reinterpret_cast<const unsigned char*>(entry);
    UnfoldedCopy<T> copy;
    std::memcpy(&copy.kind, bytes + offsetof(Entry, kind), sizeof copy.kind);
    std::memcpy(&copy.owner, bytes + offsetof(Entry, owner), sizeof copy.owner);
    std::memcpy(&copy.m_element, bytes + offsetof(Entry, m_element), sizeof copy.m_element);
    std::memcpy(&copy.world, bytes + offsetof(Entry, world), sizeof copy.world);
    return copy;
}

/// How many entries ahead of the one being read the element's memory is asked for.
constexpr uint64 kAheadOfRetain = 8;

/// Asks for the first bytes of the entry's element (where a retain or a virtual call reads), to
/// be written.
template <typename T>
void askForObject(const UnfoldedEntry3D<T>* entry) {
    IElement* element;
    std::memcpy(&element,
                reinterpret_cast<const unsigned char*>(entry) + offsetof(UnfoldedEntry3D<T>, m_element),
                sizeof element);
    if (element != nullptr)
        __builtin_prefetch(element, 1);
}

} // namespace

template <typename T>
void readScenePrimitives(IScene3D& scene, Array<PhysicsCollisionPrimitive3D<T>>& records,
                         Array<IElement*>& bodyParents, Array<const void*>& shapes, BodyCopies<T>* copies) {
    bodyParents.resize(0);
    shapes.resize(0);
    if (copies != nullptr)
        copies->begin(0);
    IObject* viewHolder = scene.getViewHolder();
    const auto* view =
        viewHolder != nullptr ? static_cast<const ViewRecord<T>*>(viewHolder->getUserData()) : nullptr;
    if (view == nullptr)
        return;
    const Array<UnfoldedEntry3D<T>>& entries = view->unfoldedEntries;
    const uint64 count = entries.size();
    if (count == 0)
        return;
    records.resize(count);
    bodyParents.resize(count);
    shapes.resize(count);
    if (copies != nullptr)
        copies->begin(count);
    for (uint64 i = 0; i < count; ++i) {
        // Each body is retained with an atomic step, which waits for its object's memory before
        // any later read may start: the object a few entries on is asked for now, so that its
        // memory is at hand when its turn comes.
        if (i + kAheadOfRetain < count)
            askForObject(entries.data() + i + kAheadOfRetain);
        // Cleared as it is filled, while its memory is at hand.
        std::memset(static_cast<void*>(records.data() + i), 0, sizeof(PhysicsCollisionPrimitive3D<T>));
        bodyParents[i] = nullptr;
        shapes[i] = nullptr;
        if (copies != nullptr)
            copies->copyOne(i, records[i]);
        // Entries are packed: work on an aligned copy.
        const UnfoldedCopy<T> unfoldedElement = copyEntry(entries.data() + i);
        if (unfoldedElement.kind != 0 && unfoldedElement.kind != 1)
            continue;
        zor_assert_in(ZOR_LOG_MODULE, kStageFunction, unfoldedElement.m_element != NULL);
        IElement* element = unfoldedElement.m_element;
        IObject* collision = element->getPhysicsAttribute(PhysicsAttributeCollision);
        if (collision == nullptr)
            continue;
        if (!collision->isTypeOf(guids::kCollision3DAttribute)) {
            zor_log(ZOR_LOG_MODULE, false, LogLevelWarn, kStageFunction,
                    "Physics attribute for collision is not Collision3DAttribute");
            continue;
        }
        auto* collisionAttribute = static_cast<Collision3DAttribute<T>*>(collision);
        IElement* body = unfoldedElement.owner != nullptr
                             ? static_cast<IElement*>(unfoldedElement.owner->retain())
                             : bodyOf(element, collisionAttribute->getEventParent());
        if (body == nullptr)
            continue;
        IObject* rigidBody =
            body != element ? element->getPhysicsAttribute(PhysicsAttributeRigidBody) : nullptr;
        if (rigidBody == nullptr)
            rigidBody = body->getPhysicsAttribute(PhysicsAttributeRigidBody);
        if (rigidBody != nullptr && !rigidBody->isTypeOf(guids::kRigidBody3DAttribute)) {
            zor_log(ZOR_LOG_MODULE, false, LogLevelWarn, kStageFunction,
                    "Physics attribute for rigid bodies is not RigidBody3DAttribute");
            body->release();
            continue;
        }
        PhysicsCollisionPrimitive3D<T>& primitive = records[i];
        if (!shapeOf(element, primitive.shape)) {
            body->release();
            continue;
        }
        primitive.element = element;
        primitive.body = body;
        primitive.bodyTransform = static_cast<TransformRecord<T>*>(body->getTransformRecord());
        primitive.collisionAttribute = collisionAttribute;
        primitive.rigidBodyAttribute = static_cast<RigidBody3DAttribute<T>*>(rigidBody);
        if (placeShape(primitive, unfoldedElement.world, shapes[i])) {
            primitive.active = true;
            bodyParents[i] = body->getAncestor(1);
            if (copies != nullptr)
                copies->copyOne(i, primitive);
        } else {
            body->release();
            primitive.body = nullptr;
        }
    }
}

template <typename T>
bool refreshScenePrimitives(IScene3D& scene, Array<PhysicsCollisionPrimitive3D<T>>& records,
                            const Array<const void*>& shapes, BodyCopies<T>& copies,
                            PrimitiveBounds<T>& bounds) {
    IObject* viewHolder = scene.getViewHolder();
    const auto* view =
        viewHolder != nullptr ? static_cast<const ViewRecord<T>*>(viewHolder->getUserData()) : nullptr;
    const uint64 count = records.size();
    if (view == nullptr || view->unfoldedEntries.size() != count)
        return false;
    const auto* entries = reinterpret_cast<const unsigned char*>(view->unfoldedEntries.data());
    const bool keeps = copies.keeps();
    if (!keeps)
        copies.begin(count);
    for (uint64 i = 0; i < count; ++i) {
        // The copy reads the body's transform and attribute, a few records on asked for now.
        if (i + kAheadOfRetain < count && records[i + kAheadOfRetain].active) {
            __builtin_prefetch(records[i + kAheadOfRetain].bodyTransform);
            __builtin_prefetch(records[i + kAheadOfRetain].rigidBodyAttribute);
        }
        PhysicsCollisionPrimitive3D<T>& primitive = records[i];
        if (primitive.active) {
            Matrix4x4<T> world;
            std::memcpy(&world,
                        entries + i * sizeof(UnfoldedEntry3D<T>) + offsetof(UnfoldedEntry3D<T>, world),
                        sizeof world);
            if (primitive.shape == CollisionShapeMesh) {
                // As read: the ends of a mesh's axis are not used, and stay at the origin.
                const IMesh* mesh = primitive.meshData;
                primitive.pointA = primitive.pointB = Vector3<T>{};
                if (!placeMesh(primitive, world) || primitive.meshData != mesh)
                    return false;
            } else {
                placeSolid(primitive, world, *static_cast<const ShapeData<T>*>(shapes[i]));
            }
        }
        if (keeps)
            copies.refreshOne(i, primitive);
        else
            copies.copyOne(i, primitive);
        bounds.buildOne(primitive, i);
    }
    return true;
}

template <typename T>
void releasePrimitives(Array<PhysicsCollisionPrimitive3D<T>>& records, bool heldBodies) {
    if (heldBodies)
        releaseBodies(records);
    for (PhysicsCollisionPrimitive3D<T>& primitive : records)
        if (primitive.vertices != nullptr)
            primitive.vertices->deletingDestructor(1);
    records.resize(0);
}

template <typename T>
void releaseBodies(const Array<PhysicsCollisionPrimitive3D<T>>& records) {
    const uint64 count = records.size();
    for (uint64 i = 0; i < count; ++i) {
        // As in readScenePrimitives: the release's atomic step waits for the body's memory.
        if (i + kAheadOfRetain < count && records[i + kAheadOfRetain].body != nullptr)
            __builtin_prefetch(records[i + kAheadOfRetain].body, 1);
        if (records[i].body != nullptr)
            records[i].body->release();
    }
}

template void readScenePrimitives(IScene3D&, Array<PhysicsCollisionPrimitive3D<float>>&, Array<IElement*>&,
                                  Array<const void*>&, BodyCopies<float>*);
template void readScenePrimitives(IScene3D&, Array<PhysicsCollisionPrimitive3D<double>>&, Array<IElement*>&,
                                  Array<const void*>&, BodyCopies<double>*);
template bool refreshScenePrimitives(IScene3D&, Array<PhysicsCollisionPrimitive3D<float>>&,
                                     const Array<const void*>&, BodyCopies<float>&, PrimitiveBounds<float>&);
template bool refreshScenePrimitives(IScene3D&, Array<PhysicsCollisionPrimitive3D<double>>&,
                                     const Array<const void*>&, BodyCopies<double>&,
                                     PrimitiveBounds<double>&);
template void releasePrimitives(Array<PhysicsCollisionPrimitive3D<float>>&, bool);
template void releasePrimitives(Array<PhysicsCollisionPrimitive3D<double>>&, bool);
template void releaseBodies(const Array<PhysicsCollisionPrimitive3D<float>>&);
template void releaseBodies(const Array<PhysicsCollisionPrimitive3D<double>>&);

} // namespace zor
