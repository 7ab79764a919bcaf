#include "physics/engine3d/collision/CollisionPrimitive.h"

namespace zor {

template <typename T>
void CollisionPrimitives<T>::build(IScene3D& scene, double reach, bool forCopies) {
    clear();
    m_copiesRead = forCopies;
    readScenePrimitives(scene, m_records, m_bodyParents, forCopies ? &m_copies : nullptr);
    if (m_records.size() == 0)
        return;
    m_carriers.list(m_records, m_bodyParents);
    m_bounds.build(m_records, reach);
    m_broadPhase.build(m_bounds.widenedBoxes(), m_bounds.balls(), m_bounds.active(), m_records.size());
}

template class CollisionPrimitives<float>;
template class CollisionPrimitives<double>;

} // namespace zor
