#pragma once

#include "common/containers/Array.h"
#include "common/framework/TransformRecord.h"
#include "common/variables/Vector.h"
#include "physics/engine3d/broadphase/BroadPhase.h"
#include "physics/engine3d/collision/BodyState.h"
#include "physics/engine3d/collision/CollisionResponse.h"
#include "physics/engine3d/collision/CollisionSettings.h"
#include "physics/math/Vector3Math.h"

#include <algorithm>
#include <optional>

namespace zor {

class IElement;
class IMesh;
class IScene3D;
template <typename T>
class Collision3DAttribute;
template <typename T>
class RigidBody3DAttribute;

/// Shapes of collision primitives.
enum CollisionShape : uint8 {
    CollisionShapeSphere = 0,
    CollisionShapeCapsule = 1,
    CollisionShapeMesh = 2,
};

/// One scene entry as the collision stage sees it, in world coordinates: a sphere (pointA =
/// pointB = centre), a capsule (its axis from pointA to pointB) or a mesh (its vertices), and
/// the body that moves when it is hit. A primitive without a rigid-body attribute is static.
template <typename T>
struct PhysicsCollisionPrimitive3D {
    bool active;
    uint8 shape;
    IElement* element;
    /// Holds one reference while the stage runs.
    IElement* body;
    TransformRecord<T>* bodyTransform;
    Collision3DAttribute<T>* collisionAttribute;
    RigidBody3DAttribute<T>* rigidBodyAttribute;
    IMesh* meshData;
    Vector3<T> pointA;
    Vector3<T> pointB;
    T radius;
    /// Mesh only: the vertices in world coordinates, owned by the record (null otherwise).
    Array<Vector3<T>>* vertices;
};

/// The primitives of a collision stage call; one record per unfolded entry of the scene. An
/// engine keeps them from one stage to the next, so that a stage allocates only when the scene
/// has grown.
template <typename T>
class CollisionPrimitives {
public:
    /// Finds pairs with `broadPhase`, which may be kept from an earlier stage.
    explicit CollisionPrimitives(BroadPhase& broadPhase);
    CollisionPrimitives(const CollisionPrimitives&) = delete;
    CollisionPrimitives& operator=(const CollisionPrimitives&) = delete;
    ~CollisionPrimitives() { clear(); }

    /// Builds a record for every unfolded entry of the scene's view; entries that do not collide
    /// stay inactive. Boxes are widened by `reach`, how far beyond touching the detector reports
    /// contacts.
    void build(IScene3D& scene, double reach);
    /// Releases the bodies, frees the vertex copies and forgets the records: the stage is over.
    void clear();

    /// Makes the copies of the bodies' states that the responses work on (see BodyState) when
    /// each body carries its own primitive alone, has an attribute of its own and no speed
    /// limits; false, with no copies, otherwise.
    bool copyBodies();
    /// True when `attribute` is the attribute of a copied body.
    bool isCopied(const RigidBody3DAttribute<T>* attribute) const;
    /// Writes the copies back to the bodies, and works on the bodies again.
    void writeBodies();
    /// The copy of the state of primitive `index`'s body, or null while there are none.
    BodyState<T>* stateOf(uint64 index) { return m_copied ? &m_states[index] : nullptr; }
    /// The material every copied body has (the same inverse mass, not zero, restitution and
    /// friction, to the bit), or null when they differ or there are no copies.
    const SharedMaterial<T>* sharedMaterial() const {
        return m_copied && m_sharedMaterial ? &*m_sharedMaterial : nullptr;
    }

    /// Moves every primitive carried by the body of primitive `index` (its own primitives and
    /// those of the bodies below it in the hierarchy) by `displacement`.
    void moveBodyOf(uint64 index, const Vector3<T>& displacement);

    uint64 size() const { return m_records.size(); }
    PhysicsCollisionPrimitive3D<T>& operator[](uint64 index) { return m_records[index]; }

    /// True when the shapes of two active primitives may touch: their boxes (around the axis or
    /// the vertices, widened by the radius, the detector's reach and a margin for rounding)
    /// overlap; two spheres, when the balls inside their boxes do. Shapes farther apart than
    /// their radii and the reach are no contact for a detector that declared that reach, so a
    /// pair that fails this test can be passed over without asking it.
    bool mayTouch(uint64 first, uint64 second) const {
        const Ball& a = m_balls[first];
        const Ball& b = m_balls[second];
        if (a.radius >= 0 && b.radius >= 0)
            return ballsOverlap(a, b);
        return overlaps(widenedBox(first), widenedBox(second));
    }

    /// A box that holds primitive `index`'s box, and keeps holding it while it stays the same.
    const WidenedBox& fatBox(uint64 index) const { return m_broadPhase.fatBox(index); }

    /// Calls `visit(j)` for the primitives j after `index` that may touch it, in increasing
    /// order, each where it stands when its turn comes: visits may move primitives.
    template <typename Visit>
    void forEachCandidate(uint64 index, Visit&& visit) {
        m_broadPhase.forEachCandidate(
            index, [this, index](uint64 j) { return mayTouch(index, j); }, visit);
    }

private:
    /// A body that carries a primitive: the primitive's own body or one of its first 64
    /// ancestors that are 3D elements.
    struct Carrier {
        IElement* body;
        uint64 primitive;
    };
    /// Lists every carrier of every active primitive, grouped by body, so that moving a body
    /// finds its primitives without walking the hierarchy again; the hierarchy does not change
    /// while the stage runs.
    void listCarriers();
    /// True when two primitives share a body, or a body carries another primitive's body:
    /// the first `owners` carriers are the primitives' own bodies.
    bool bodiesShared(uint64 owners);
    /// Moves primitive `index` alone by `displacement`.
    void moveOne(uint64 index, const Vector3<T>& displacement);

    /// The box around a primitive's axis or vertices, before its radius.
    struct Bounds {
        Vector3<T> min;
        Vector3<T> max;
    };
    void computeBounds();
    /// A sphere widened as its box is: its centre, and its radius with the margin; a radius of
    /// -1 for the other shapes.
    using Ball = WidenedBall;
    /// The widened box of primitive `index`. A sphere's is its ball's, the only one kept up to
    /// date as it moves (a ball of any other shape has a negative radius).
    WidenedBox widenedBox(uint64 index) const {
        const Ball& ball = m_balls[index];
        if (ball.radius < 0)
            return m_widened[index];
        const double* centre = ball.centre;
        const double widen = ball.radius;
        return {{centre[0] - widen, centre[1] - widen, centre[2] - widen},
                {centre[0] + widen, centre[1] + widen, centre[2] + widen}};
    }
    /// The radius of a primitive widened by the detector's reach and a little more for its
    /// rounding, and more again far out, where the rounding grows with `magnitude`, the largest
    /// coordinate of its box in size: boxes widened so can be apart only when the shapes are.
    double widened(T radius, double magnitude) const {
        return double(radius) * (1 + settings::kRadiusAllowance) + settings::kRadiusFloor +
               magnitude * settings::kMagnitudeAllowance + m_reach;
    }
    /// The largest coordinate in size of the box from `low` to `high`.
    static double largestSize(const double (&low)[3], const double (&high)[3]) {
        return v3::larger(v3::larger(v3::larger(-low[0], high[0]), v3::larger(-low[1], high[1])),
                          v3::larger(-low[2], high[2]));
    }
    /// As place, for a sphere, whose box is its centre: its ball.
    const Ball& placeSphere(uint64 index);
    /// True unless the balls are apart; balls with a NaN overlap everything.
    static bool ballsOverlap(const Ball& a, const Ball& b) {
        const double x = a.centre[0] - b.centre[0], y = a.centre[1] - b.centre[1],
                     z = a.centre[2] - b.centre[2];
        const double reach = a.radius + b.radius;
        return !(x * x + y * y + z * z > reach * reach);
    }
    /// Works out the box of primitive `index`, widened by its radius and a margin for rounding,
    /// and its ball; returns the box.
    const WidenedBox& place(uint64 index);

    Array<PhysicsCollisionPrimitive3D<T>> m_records;
    Array<Carrier> m_carriers;
    /// Per primitive, the carriers of its body: [m_carriedFirst, m_carriedLast) in m_carriers.
    Array<uint32> m_carriedFirst;
    Array<uint32> m_carriedLast;
    /// One box per record, moved with it (a sphere's only as built: its ball follows it), and
    /// the same widened.
    Array<Bounds> m_bounds;
    Array<WidenedBox> m_widened;
    Array<Ball> m_balls;
    Array<uint8> m_active;
    /// How far beyond touching the detector reports contacts.
    double m_reach = 0;
    /// Each body carries its own primitive alone: moving one moves only that primitive.
    bool m_eachAlone = false;
    /// The hash set of bodies that tells whether any is shared.
    PointerSet m_bodySet;
    /// Per primitive the copy of its body's state, while m_copied; the hash set of the copied
    /// bodies' attributes.
    Array<BodyState<T>> m_states;
    bool m_copied = false;
    /// The material the copies share, if they do (see sharedMaterial).
    std::optional<SharedMaterial<T>> m_sharedMaterial;
    void findSharedMaterial();
    PointerSet m_attributeSet;
    BroadPhase& m_broadPhase;
};

// Moving a body is what every contact does: inline where the contacts are resolved.

template <typename T>
inline const WidenedBox& CollisionPrimitives<T>::place(uint64 index) {
    const PhysicsCollisionPrimitive3D<T>& primitive = m_records[index];
    const Bounds& box = m_bounds[index];
    const double low[3] = {double(box.min.x), double(box.min.y), double(box.min.z)};
    const double high[3] = {double(box.max.x), double(box.max.y), double(box.max.z)};
    const double widen = widened(primitive.radius, largestSize(low, high));
    m_balls[index] =
        primitive.shape == CollisionShapeSphere ? Ball{{low[0], low[1], low[2]}, widen} : Ball{{0, 0, 0}, -1};
    return m_widened[index] = {{low[0] - widen, low[1] - widen, low[2] - widen},
                               {high[0] + widen, high[1] + widen, high[2] + widen}};
}

template <typename T>
inline const typename CollisionPrimitives<T>::Ball& CollisionPrimitives<T>::placeSphere(uint64 index) {
    const PhysicsCollisionPrimitive3D<T>& primitive = m_records[index];
    const double centre[3] = {double(primitive.pointA.x), double(primitive.pointA.y),
                              double(primitive.pointA.z)};
    const double magnitude = largestSize(centre, centre);
    return m_balls[index] = {{centre[0], centre[1], centre[2]}, widened(primitive.radius, magnitude)};
}

template <typename T>
inline void CollisionPrimitives<T>::moveOne(uint64 index, const Vector3<T>& displacement) {
    PhysicsCollisionPrimitive3D<T>& primitive = m_records[index];
    primitive.pointA = v3::plus(primitive.pointA, displacement);
    // A sphere is followed by its ball alone. Its ends are the same point, and stay so.
    if (primitive.shape == CollisionShapeSphere) {
        primitive.pointB = primitive.pointA;
        Ball& ball = m_balls[index];
        ball.centre[0] = double(primitive.pointA.x);
        ball.centre[1] = double(primitive.pointA.y);
        ball.centre[2] = double(primitive.pointA.z);
        if (!m_broadPhase.movedWithinRoom(index, ball))
            m_broadPhase.movedSphere(index, placeSphere(index));
        return;
    }
    primitive.pointB = v3::plus(primitive.pointB, displacement);
    Bounds& box = m_bounds[index];
    box.min = v3::plus(box.min, displacement);
    box.max = v3::plus(box.max, displacement);
    if (primitive.vertices != nullptr)
        for (Vector3<T>& vertex : *primitive.vertices)
            vertex = v3::plus(vertex, displacement);
    m_broadPhase.moved(index, place(index));
}

template <typename T>
inline void CollisionPrimitives<T>::moveBodyOf(uint64 index, const Vector3<T>& displacement) {
    if (m_eachAlone) {
        moveOne(index, displacement);
        return;
    }
    const uint32 last = m_carriedLast[index];
    for (uint32 c = m_carriedFirst[index]; c < last; ++c)
        moveOne(m_carriers[c].primitive, displacement);
}

} // namespace zor
