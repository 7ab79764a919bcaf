#include "physics/engine3d/collision/CollisionPrimitive.h"

namespace zor {

template <typename T>
void CollisionPrimitives<T>::build(IScene3D& scene, double reach, bool forCopies,
                                   std::optional<uint64> generation) {
    // Kept records are valid while the scene keeps its generation; the copies are made afresh.
    const bool kept = forCopies && generation.has_value() && m_keptAt == generation;
    m_keptAt.reset();
    m_copiesRead = forCopies;
    // Kept records get their bounds as they are brought up to date, while each is at hand.
    if (kept)
        m_bounds.begin(m_records.size(), reach);
    if (!kept || !refreshScenePrimitives(scene, m_records, m_shapes, m_copies, m_bounds)) {
        clear();
        m_copies.forget();
        readScenePrimitives(scene, m_records, m_bodyParents, m_shapes, forCopies ? &m_copies : nullptr);
        m_referencesHeld = true;
        if (m_records.size() == 0)
            return;
        m_carriers.list(m_records, m_bodyParents);
        m_bounds.build(m_records, reach);
    }
    if (m_records.size() == 0)
        return;
    m_broadPhase.build(m_bounds.widenedBoxes(), m_bounds.balls(), m_bounds.active(), m_records.size());
}

template <typename T>
void CollisionPrimitives<T>::finish(std::optional<uint64> generation) {
    if (!generation.has_value()) {
        clear();
        return;
    }
    writeBodies();
    if (m_referencesHeld)
        releaseBodies(m_records);
    m_referencesHeld = false;
    m_keptAt = generation;
}

template class CollisionPrimitives<float>;
template class CollisionPrimitives<double>;

} // namespace zor
