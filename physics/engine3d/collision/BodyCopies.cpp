#include "physics/engine3d/collision/BodyCopies.h"

#include "physics/attributes/RigidBody3DAttribute.h"

namespace zor {

template <typename T>
void BodyCopies<T>::begin(uint64 count) {
    m_copied = false;
    m_kept = Kept::Nothing;
    m_refreshed = false;
    m_limited = false;
    m_ordered.resize(0);
    m_states.resize(count);
}

template <typename T>
void BodyCopies<T>::copyOne(uint64 index, const PhysicsCollisionPrimitive3D<T>& primitive) {
    // Static and inactive primitives' copies are never used. A body with limits or a shared
    // attribute found later leaves the copies unused.
    if (m_limited || !movesWhenHit(primitive)) {
        m_states[index] = BodyState<T>{};
        return;
    }
    const RigidBody3DAttribute<T>* attribute = primitive.rigidBodyAttribute;
    if (attribute->getMaxLinearSpeed() > T(0) || attribute->getMaxLinearAcceleration() > T(0)) {
        m_limited = true;
        return;
    }
    m_ordered.Array<CopiedBody>::pushBack({primitive.rigidBodyAttribute, primitive.bodyTransform, index});
    m_states[index] =
        BodyState<T>::of(primitive.bodyTransform->position, *attribute, inverseMass(*attribute));
}

template <typename T>
bool BodyCopies<T>::finish(const Array<PhysicsCollisionPrimitive3D<T>>& records, bool eachAlone) {
    if (m_refreshed) {
        m_refreshed = false;
        m_copied = m_kept == Kept::Copies;
        return m_copied;
    }
    m_kept = Kept::NoCopies;
    if (!eachAlone || m_limited)
        return false;
    const uint64 count = records.size();
    // Attributes in increasing runs apart are distinct without the set, which is then not filled.
    m_apart = m_runs.distinct(m_ordered.data(), m_ordered.size(), attributeOf);
    if (!m_apart) {
        m_attributeSet.reset(count);
        for (uint64 i = 0; i < count; ++i)
            if (movesWhenHit(records[i]) && !m_attributeSet.insert(records[i].rigidBodyAttribute))
                return false;
    }
    m_copied = true;
    m_kept = Kept::Copies;
    m_sharedMaterial = sharedMaterialOf(records, m_states);
    return true;
}

template <typename T>
void BodyCopies<T>::writeBack() {
    if (!m_copied)
        return;
    m_copied = false;
    // The copied bodies are those of the primitives that move when hit, in the same order.
    for (const CopiedBody& body : m_ordered) {
        const BodyState<T>& state = m_states[body.index];
        body.transform->position = state.position;
        body.attribute->setLinearSpeed(state.linearSpeed);
    }
}

template class BodyCopies<float>;
template class BodyCopies<double>;

} // namespace zor
