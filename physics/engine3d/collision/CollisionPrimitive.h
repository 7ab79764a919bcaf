#pragma once

#include "common/containers/Array.h"
#include "physics/engine3d/broadphase/BroadPhase.h"
#include "physics/engine3d/collision/BodyCopies.h"
#include "physics/engine3d/collision/Carriers.h"
#include "physics/engine3d/collision/PrimitiveBounds.h"
#include "physics/engine3d/collision/PrimitiveRecord.h"
#include "physics/engine3d/collision/ScenePrimitives.h"
#include "physics/math/Vector3Math.h"

#include <optional>

namespace zor {

class IScene3D;

/// The primitives of a collision stage call, one record per unfolded entry of the scene, with
/// what the passes need of them: their carriers, their bounds, the broad phase that finds their
/// pairs and the copies of their bodies' states (docs/engine3d.md). An engine keeps them from
/// one stage to the next, so that a stage allocates only when the scene has grown.
template <typename T>
class CollisionPrimitives {
public:
    /// Finds pairs with `broadPhase`, which may be kept from an earlier stage.
    explicit CollisionPrimitives(BroadPhase& broadPhase) : m_broadPhase(broadPhase) {
        m_records.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);
        m_bodyParents.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);
        m_shapes.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);
    }
    CollisionPrimitives(const CollisionPrimitives&) = delete;
    CollisionPrimitives& operator=(const CollisionPrimitives&) = delete;
    ~CollisionPrimitives() { clear(); }

    /// Builds a record for every unfolded entry of the scene's view; entries that do not collide
    /// stay inactive. Boxes are widened by `reach`, how far beyond touching the detector reports
    /// contacts. With `forCopies`, the bodies' states are copied as they are read, for a call of
    /// copyBodies before any host code runs; then, when the records were kept (finish) at the
    /// scene's `generation`, only the world matrices and the bodies' states are read again, and
    /// the records hold no references: no host code runs before finish.
    void build(IScene3D& scene, double reach, bool forCopies, std::optional<uint64> generation);
    /// The stage is over: writes the copies back and releases the bodies. With the scene's
    /// `generation`, unchanged since build, the records are kept for the next build at it;
    /// without, they are forgotten.
    void finish(std::optional<uint64> generation);
    /// Forgets the records kept for the next build.
    void forget() { m_keptAt.reset(); }
    /// Releases the bodies, frees the vertex copies and forgets the records.
    void clear() {
        writeBodies();
        releasePrimitives(m_records, m_referencesHeld);
        m_referencesHeld = false;
        m_keptAt.reset();
    }

    /// Makes the copies of the bodies' states that the responses work on (see BodyState) when
    /// each body carries its own primitive alone, has an attribute of its own and no speed
    /// limits; false, with no copies, otherwise.
    bool copyBodies() {
        return m_copiesRead ? m_copies.finish(m_records, m_carriers.eachAlone())
                            : m_copies.make(m_records, m_carriers.eachAlone());
    }
    /// True when `attribute` is the attribute of a copied body.
    bool isCopied(const RigidBody3DAttribute<T>* attribute) const { return m_copies.isCopied(attribute); }
    /// Writes the copies back to the bodies, and works on the bodies again.
    void writeBodies() { m_copies.writeBack(); }
    /// The copy of the state of primitive `index`'s body, or null while there are none.
    BodyState<T>* stateOf(uint64 index) { return m_copies.stateOf(index); }
    /// The material every copied body has, or null (see BodyCopies::sharedMaterial).
    const SharedMaterial<T>* sharedMaterial() const { return m_copies.sharedMaterial(); }

    /// Moves every primitive carried by the body of primitive `index` (its own primitives and
    /// those of the bodies below it in the hierarchy) by `displacement`.
    void moveBodyOf(uint64 index, const Vector3<T>& displacement) {
        if (m_carriers.eachAlone())
            moveOne(index, displacement);
        else
            m_carriers.forEachCarried(index, [&](uint64 carried) { moveOne(carried, displacement); });
    }

    uint64 size() const { return m_records.size(); }
    PhysicsCollisionPrimitive3D<T>& operator[](uint64 index) { return m_records[index]; }

    /// A box that holds primitive `index`'s widened box, and keeps holding it while it stays the
    /// same.
    const WidenedBox& fatBox(uint64 index) const { return m_broadPhase.fatBox(index); }
    /// Changes whenever fatBox(index) does.
    uint64 fatBoxSerial(uint64 index) const { return m_broadPhase.fatBoxSerial(index); }

    /// Calls `visit(j)` for the primitives j after `index` that may touch it, in increasing
    /// order, each where it stands when its turn comes: visits may move primitives.
    template <typename Visit>
    void forEachCandidate(uint64 index, Visit&& visit) {
        m_broadPhase.forEachCandidate(
            index, [this, index](uint64 j) { return m_bounds.mayTouch(index, j); }, visit);
    }

private:
    /// Moves primitive `index` alone by `displacement`.
    void moveOne(uint64 index, const Vector3<T>& displacement) {
        PhysicsCollisionPrimitive3D<T>& primitive = m_records[index];
        primitive.pointA = v3::plus(primitive.pointA, displacement);
        // A sphere is followed by its ball alone. Its ends are the same point, and stay so.
        if (primitive.shape == CollisionShapeSphere) {
            primitive.pointB = primitive.pointA;
            WidenedBall& ball = m_bounds.moveBall(primitive, index);
            if (!m_broadPhase.movedWithinRoom(index, ball))
                m_broadPhase.movedSphere(index, m_bounds.placeSphere(primitive, index));
            return;
        }
        primitive.pointB = v3::plus(primitive.pointB, displacement);
        if (primitive.vertices != nullptr)
            for (Vector3<T>& vertex : *primitive.vertices)
                vertex = v3::plus(vertex, displacement);
        m_broadPhase.moved(index, m_bounds.moveBox(primitive, index, displacement));
    }

    Array<PhysicsCollisionPrimitive3D<T>> m_records;
    /// Per record, its body's parent as the reading found it, until the carriers take it.
    Array<IElement*> m_bodyParents;
    /// Per record, the shape data of its element as the reading found it (null for a mesh).
    Array<const void*> m_shapes;
    /// The records hold a reference on each of their bodies.
    bool m_referencesHeld = false;
    /// The generation of the scene the records were read at and kept for the next build.
    std::optional<uint64> m_keptAt;
    Carriers m_carriers;
    PrimitiveBounds<T> m_bounds;
    BodyCopies<T> m_copies;
    /// The last build copied the bodies' states as it read them.
    bool m_copiesRead = false;
    BroadPhase& m_broadPhase;
};

} // namespace zor
