#pragma once

#include "common/containers/Array.h"
#include "physics/engine3d/broadphase/PairGrid.h"
#include "physics/engine3d/collision/BodyState.h"
#include "physics/engine3d/collision/IncreasingRuns.h"
#include "physics/engine3d/collision/PrimitiveRecord.h"
#include "physics/engine3d/collision/SharedMaterial.h"

#include <optional>

namespace zor {

/// The copies of the bodies' states that the responses of a collision stage work on while no
/// host code can see the bodies (see BodyState), and the material they share, if they do.
template <typename T>
class BodyCopies {
public:
    BodyCopies() {
        m_states.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);
        m_ordered.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);
    }

    /// Copies the states of the bodies of `records` when each body has an attribute of its own
    /// and no speed limits (`eachAlone`: each carries its own primitive alone); false, with no
    /// copies, otherwise.
    bool make(const Array<PhysicsCollisionPrimitive3D<T>>& records, bool eachAlone) {
        begin(records.size());
        for (uint64 i = 0; i < records.size(); ++i)
            copyOne(i, records[i]);
        return finish(records, eachAlone);
    }
    /// make in steps, so that each body is copied while the records are read and its memory is
    /// at hand: begin for `count` records, copyOne for each record as it is read (again once it
    /// is complete), then finish, with no host code run since.
    void begin(uint64 count);
    void copyOne(uint64 index, const PhysicsCollisionPrimitive3D<T>& primitive);
    bool finish(const Array<PhysicsCollisionPrimitive3D<T>>& records, bool eachAlone);
    /// True when the last finish has copied or refused to copy the same records as now, with
    /// their bodies' attributes and materials unchanged since (records kept at a scene's
    /// generation): refreshOne for each record, then finish, takes the verdict and the
    /// materials it had, and reads only the bodies' positions and speeds again.
    bool keeps() const { return m_kept != Kept::Nothing; }
    void refreshOne(uint64 index, const PhysicsCollisionPrimitive3D<T>& primitive) {
        if (m_kept == Kept::Copies && movesWhenHit(primitive)) {
            m_states[index].position = primitive.bodyTransform->position;
            m_states[index].linearSpeed = primitive.rigidBodyAttribute->getLinearSpeed();
        }
        m_refreshed = true;
    }
    /// The records have been read again: the last verdict is not theirs.
    void forget() {
        m_kept = Kept::Nothing;
        m_refreshed = false;
    }
    /// Writes the copies back to their bodies, and works on the bodies again.
    void writeBack();
    /// True when `attribute` is the attribute of a copied body.
    bool isCopied(const RigidBody3DAttribute<T>* attribute) const {
        if (!m_copied || attribute == nullptr)
            return false;
        return m_apart ? m_runs.contains(m_ordered.data(), attribute, attributeOf)
                       : m_attributeSet.contains(attribute);
    }
    /// The copy of the state of primitive `index`'s body, or null while there are none.
    BodyState<T>* stateOf(uint64 index) { return m_copied ? &m_states[index] : nullptr; }
    /// The material every copied body has (the same inverse mass, not zero, restitution and
    /// friction, to the bit), or null when they differ or there are no copies.
    const SharedMaterial<T>* sharedMaterial() const {
        return m_copied && m_sharedMaterial ? &*m_sharedMaterial : nullptr;
    }

private:
    /// Per primitive the copy of its body's state, while m_copied.
    Array<BodyState<T>> m_states;
    bool m_copied = false;
    /// The last finish's verdict, while its records are kept; refreshOne has been called since.
    enum class Kept : uint8 { Nothing, Copies, NoCopies };
    Kept m_kept = Kept::Nothing;
    bool m_refreshed = false;
    /// A body with speed limits has been met since begin: there will be no copies.
    bool m_limited = false;
    std::optional<SharedMaterial<T>> m_sharedMaterial;
    /// A copied body: its attribute, its transform and its primitive's index. Writing back reads
    /// these rather than the records, whose other fields it does not need.
    struct CopiedBody {
        RigidBody3DAttribute<T>* attribute;
        TransformRecord<T>* transform;
        uint64 index;
    };
    static const void* attributeOf(const CopiedBody& body) { return body.attribute; }
    /// The copied bodies in primitive order; their attributes in increasing runs apart (m_runs),
    /// or else in a set.
    Array<CopiedBody> m_ordered;
    IncreasingRuns m_runs;
    bool m_apart = false;
    PointerSet m_attributeSet;
};

} // namespace zor
