#pragma once

#include "common/containers/Array.h"
#include "physics/engine3d/broadphase/PairGrid.h"
#include "physics/engine3d/collision/IncreasingRuns.h"
#include "physics/engine3d/collision/PrimitiveRecord.h"

namespace zor {

/// The bodies that carry each primitive of a collision stage: its own body and its first 64
/// ancestors that are 3D elements. Moving a body moves every primitive it carries; the hierarchy
/// does not change while the stage runs, so the carriers are listed once, grouped by body.
class Carriers {
public:
    Carriers();

    /// Lists the carriers of the active `records`, given per record its body's parent 3D element
    /// with a reference (readScenePrimitives), which it releases and clears.
    template <typename T>
    void list(const Array<PhysicsCollisionPrimitive3D<T>>& records, Array<IElement*>& bodyParents);
    /// True when each body carries its own primitive alone: moving it moves only that one.
    bool eachAlone() const { return m_eachAlone; }
    /// Calls `move(j)` for each primitive j carried by the body of primitive `index` (listed
    /// without each carrying its own alone).
    template <typename Move>
    void forEachCarried(uint64 index, Move&& move) const {
        const uint32 last = m_carriedLast[index];
        for (uint32 c = m_carriedFirst[index]; c < last; ++c)
            move(m_carriers[c].primitive);
    }

private:
    struct Carrier {
        IElement* body;
        uint64 primitive;
    };
    /// True when two primitives share a body, or a body carries another primitive's body: the
    /// first `owners` carriers are the primitives' own bodies.
    bool bodiesShared(uint64 owners);

    Array<Carrier> m_carriers;
    /// Per primitive, the carriers of its body: [m_carriedFirst, m_carriedLast) in m_carriers.
    Array<uint32> m_carriedFirst;
    Array<uint32> m_carriedLast;
    bool m_eachAlone = false;
    /// The primitives' own bodies in increasing runs, which tell without the set whether any is
    /// shared; else the hash set of them.
    IncreasingRuns m_ownerRuns;
    PointerSet m_bodySet;
};

} // namespace zor
