#include "physics/engine3d/collision/CollisionPrimitive.h"

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
#include "physics/engine3d/collision/CollisionResponse.h"
#include "physics/math/MatrixRoutines.h"
#include "physics/math/Vector3Math.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstring>
#include <functional>
#include <type_traits>

namespace zor {
namespace {

constexpr const char* kStageFunction = "zor::PhysicsEngine3D::updateSceneCollisions";
// How far up the hierarchy a moved body still carries the primitives of its descendants.
constexpr int kMaxCarryingAncestors = 64;

/// The point (x, y, z, 1) of an element's own space in world coordinates.
template <typename T>
Vector3<T> toWorld(const Matrix4x4<T>& world, T x, T y, T z) {
    Vector4<T> point{x, y, z, 1};
    transform(world, point, point);
    return {point.x, point.y, point.z};
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

/// Fills the world geometry of a primitive whose shape is known; false when the element lacks
/// its shape data or mesh.
template <typename T>
bool placeShape(PhysicsCollisionPrimitive3D<T>& primitive, const Matrix4x4<T>& world) {
    IElement* element = primitive.element;
    if (primitive.shape == CollisionShapeMesh) {
        IMesh* mesh = element->getMesh();
        if (mesh == nullptr || mesh->getVertexCount() == 0)
            return false;
        const auto* transformed =
            static_cast<const Array<Vector3<T>>*>(element->transformMeshVertices(&world));
        if (transformed == nullptr)
            return false;
        primitive.meshData = mesh;
        primitive.vertices = new Array<Vector3<T>>();
        primitive.vertices->assign(*transformed);
        return true;
    }
    const auto* shapeData = static_cast<const ShapeData<T>*>(element->getShapeData());
    if (shapeData == nullptr)
        return false;
    if (primitive.shape == CollisionShapeSphere) {
        const Vector3<T> centre = toWorld(world, T(0), T(0), T(0));
        const Vector3<T> rim = toWorld(world, shapeData->radius, T(0), T(0));
        primitive.pointA = primitive.pointB = centre;
        primitive.radius = v3::lengthInDouble(v3::minus(rim, centre));
    } else {
        const T half = shapeData->height / T(2);
        primitive.pointA = toWorld(world, T(0), -half, T(0));
        primitive.pointB = toWorld(world, T(0), half, T(0));
        const Vector3<T> rim = toWorld(world, shapeData->radius, half, T(0));
        primitive.radius = v3::lengthInDouble(v3::minus(rim, primitive.pointB));
    }
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

} // namespace

template <typename T>
CollisionPrimitives<T>::CollisionPrimitives(BroadPhase& broadPhase) : m_broadPhase(broadPhase) {
    m_records.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);
    m_carriers.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);
    m_carriedFirst.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);
    m_carriedLast.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);
    m_bounds.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);
    m_widened.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);
    m_balls.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);
    m_active.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);
    m_states.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);
}

template <typename T>
void CollisionPrimitives<T>::clear() {
    writeBodies();
    for (PhysicsCollisionPrimitive3D<T>& primitive : m_records) {
        if (primitive.body != nullptr)
            primitive.body->release();
        if (primitive.vertices != nullptr)
            primitive.vertices->deletingDestructor(1);
    }
    m_records.resize(0);
}

template <typename T>
void CollisionPrimitives<T>::build(IScene3D& scene, double reach) {
    m_reach = reach;
    IObject* viewHolder = scene.getViewHolder();
    const auto* view =
        viewHolder != nullptr ? static_cast<const ViewRecord<T>*>(viewHolder->getUserData()) : nullptr;
    clear();
    if (view == nullptr)
        return;
    const Array<UnfoldedEntry3D<T>>& entries = view->unfoldedEntries;
    const uint64 count = entries.size();
    if (count == 0)
        return;
    m_records.resize(count);
    std::memset(static_cast<void*>(m_records.data()), 0, count * sizeof(PhysicsCollisionPrimitive3D<T>));
    for (uint64 i = 0; i < count; ++i) {
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
        PhysicsCollisionPrimitive3D<T>& primitive = m_records[i];
        if (!shapeOf(element, primitive.shape)) {
            body->release();
            continue;
        }
        primitive.element = element;
        primitive.body = body;
        primitive.bodyTransform = static_cast<TransformRecord<T>*>(body->getTransformRecord());
        primitive.collisionAttribute = collisionAttribute;
        primitive.rigidBodyAttribute = static_cast<RigidBody3DAttribute<T>*>(rigidBody);
        if (placeShape(primitive, unfoldedElement.world)) {
            primitive.active = true;
        } else {
            body->release();
            primitive.body = nullptr;
        }
    }
    listCarriers();
    computeBounds();
    m_widened.resize(count);
    m_balls.resize(count);
    m_active.resize(count);
    for (uint64 i = 0; i < count; ++i) {
        place(i);
        m_active[i] = m_records[i].active;
    }
    m_broadPhase.build(m_widened.data(), m_balls.data(), m_active.data(), count);
}

template <typename T>
void CollisionPrimitives<T>::computeBounds() {
    m_bounds.resize(m_records.size());
    for (uint64 i = 0; i < m_records.size(); ++i) {
        const PhysicsCollisionPrimitive3D<T>& primitive = m_records[i];
        Bounds& box = m_bounds[i];
        box = {primitive.pointA, primitive.pointA};
        const auto include = [&box](const Vector3<T>& point) {
            box.min = {std::min(box.min.x, point.x), std::min(box.min.y, point.y),
                       std::min(box.min.z, point.z)};
            box.max = {std::max(box.max.x, point.x), std::max(box.max.y, point.y),
                       std::max(box.max.z, point.z)};
        };
        include(primitive.pointB);
        if (primitive.vertices != nullptr && primitive.vertices->size() != 0) {
            box = {(*primitive.vertices)[0], (*primitive.vertices)[0]};
            for (const Vector3<T>& vertex : *primitive.vertices)
                include(vertex);
        }
    }
}

template <typename T>
void CollisionPrimitives<T>::listCarriers() {
    const uint64 count = m_records.size();
    m_carriers.resize(0);
    m_carriedFirst.resize(count);
    m_carriedLast.resize(count);
    // Every active primitive's own body first, in order; then the ancestors that carry it.
    for (uint64 i = 0; i < count; ++i) {
        m_carriedFirst[i] = m_carriedLast[i] = uint32(m_carriers.size());
        if (m_records[i].active) {
            m_carriers.pushBack({m_records[i].body, i});
            ++m_carriedLast[i];
        }
    }
    const uint64 owners = m_carriers.size();
    for (uint64 i = 0; i < count; ++i) {
        if (!m_records[i].active)
            continue;
        IElement* ancestor = m_records[i].body->getAncestor(1);
        for (int level = 0; level < kMaxCarryingAncestors && ancestor != nullptr; ++level) {
            if (!ancestor->isTypeOf(guids::kElement3D))
                break;
            m_carriers.pushBack({ancestor, i});
            IElement* next = ancestor->getAncestor(1);
            ancestor->release();
            ancestor = next;
        }
        if (ancestor != nullptr)
            ancestor->release();
    }
    // Usually each body carries its own primitive alone, as listed; otherwise the carriers of a
    // body are gathered by sorting.
    m_eachAlone = !bodiesShared(owners);
    if (m_eachAlone)
        return;
    const auto byBody = [](const Carrier& a, const Carrier& b) {
        return std::less<IElement*>()(a.body, b.body);
    };
    std::sort(m_carriers.begin(), m_carriers.end(), byBody);
    for (uint64 i = 0; i < count; ++i) {
        const auto carried =
            std::equal_range(m_carriers.begin(), m_carriers.end(), Carrier{m_records[i].body, 0}, byBody);
        m_carriedFirst[i] = uint32(carried.first - m_carriers.begin());
        m_carriedLast[i] = uint32(carried.second - m_carriers.begin());
    }
}

template <typename T>
bool CollisionPrimitives<T>::bodiesShared(uint64 owners) {
    // The first `owners` carriers are the primitives' own bodies.
    m_bodySet.reset(owners);
    for (uint64 c = 0; c < owners; ++c)
        if (!m_bodySet.insert(m_carriers[c].body))
            return true;
    for (uint64 c = owners; c < m_carriers.size(); ++c)
        if (m_bodySet.contains(m_carriers[c].body))
            return true;
    return false;
}

template <typename T>
bool CollisionPrimitives<T>::copyBodies() {
    m_copied = false;
    if (!m_eachAlone)
        return false;
    const uint64 count = m_records.size();
    m_attributeSet.reset(count);
    for (uint64 i = 0; i < count; ++i) {
        const RigidBody3DAttribute<T>* attribute = m_records[i].rigidBodyAttribute;
        if (!m_records[i].active || attribute == nullptr)
            continue;
        if (attribute->getMaxLinearSpeed() > T(0) || attribute->getMaxLinearAcceleration() > T(0) ||
            !m_attributeSet.insert(attribute))
            return false;
    }
    m_states.resize(count);
    for (uint64 i = 0; i < count; ++i) {
        const PhysicsCollisionPrimitive3D<T>& primitive = m_records[i];
        // Static and inactive primitives' copies are never used.
        m_states[i] = primitive.active && primitive.rigidBodyAttribute != nullptr
                          ? BodyState<T>::of(primitive.bodyTransform->position, *primitive.rigidBodyAttribute,
                                             inverseMass(*primitive.rigidBodyAttribute))
                          : BodyState<T>{};
    }
    m_copied = true;
    findSharedMaterial();
    return true;
}

template <typename T>
void CollisionPrimitives<T>::findSharedMaterial() {
    // Compared as bits: the responses must work with exactly the values each pair would give.
    const auto material = [](const BodyState<T>& state) { return state.material.key(); };
    m_sharedMaterial.reset();
    const BodyState<T>* first = nullptr;
    for (uint64 i = 0; i < m_records.size(); ++i) {
        if (!m_records[i].active || m_records[i].rigidBodyAttribute == nullptr)
            continue;
        if (first == nullptr)
            first = &m_states[i];
        else if (material(m_states[i]) != material(*first))
            return;
    }
    // Bodies of infinite mass are not pushed: the general response tells that.
    const T sum = first != nullptr ? first->material.inverseMass + first->material.inverseMass : T(0);
    if (sum == T(0))
        return;
    m_sharedMaterial = SharedMaterial<T>{first->material.inverseMass, response_detail::Divisor<T>(sum),
                                         combinedRestitution(*first, *first),
                                         response_detail::combinedFriction(*first, *first)};
}

template <typename T>
bool CollisionPrimitives<T>::isCopied(const RigidBody3DAttribute<T>* attribute) const {
    return m_copied && attribute != nullptr && m_attributeSet.contains(attribute);
}

template <typename T>
void CollisionPrimitives<T>::writeBodies() {
    if (!m_copied)
        return;
    m_copied = false;
    for (uint64 i = 0; i < m_records.size(); ++i) {
        const PhysicsCollisionPrimitive3D<T>& primitive = m_records[i];
        if (primitive.active && primitive.rigidBodyAttribute != nullptr) {
            primitive.bodyTransform->position = m_states[i].position;
            primitive.rigidBodyAttribute->setLinearSpeed(m_states[i].linearSpeed);
        }
    }
}

template class CollisionPrimitives<float>;
template class CollisionPrimitives<double>;

} // namespace zor
