#include "physics/engine3d/collision/BodyCopies.h"

#include "physics/attributes/RigidBody3DAttribute.h"

namespace zor {

template <typename T>
bool BodyCopies<T>::make(const Array<PhysicsCollisionPrimitive3D<T>>& records, bool eachAlone) {
    m_copied = false;
    if (!eachAlone)
        return false;
    const uint64 count = records.size();
    // Attributes in increasing runs apart are distinct without the set, which is then not filled.
    m_ordered.resize(0);
    m_states.resize(count);
    for (uint64 i = 0; i < count; ++i) {
        const PhysicsCollisionPrimitive3D<T>& primitive = records[i];
        // Static and inactive primitives' copies are never used.
        if (!movesWhenHit(primitive)) {
            m_states[i] = BodyState<T>{};
            continue;
        }
        const RigidBody3DAttribute<T>* attribute = primitive.rigidBodyAttribute;
        if (attribute->getMaxLinearSpeed() > T(0) || attribute->getMaxLinearAcceleration() > T(0))
            return false;
        m_ordered.Array<const void*>::pushBack(attribute);
        // Copied in the same pass, while the body's memory is at hand: a later body with limits or
        // a shared attribute leaves the copies unused.
        m_states[i] =
            BodyState<T>::of(primitive.bodyTransform->position, *attribute, inverseMass(*attribute));
    }
    m_apart = m_runs.distinct(m_ordered.data(), m_ordered.size(), [](const void* item) { return item; });
    if (!m_apart) {
        m_attributeSet.reset(count);
        for (uint64 i = 0; i < count; ++i)
            if (movesWhenHit(records[i]) && !m_attributeSet.insert(records[i].rigidBodyAttribute))
                return false;
    }
    m_copied = true;
    m_sharedMaterial = sharedMaterialOf(records, m_states);
    return true;
}

template <typename T>
void BodyCopies<T>::writeBack(const Array<PhysicsCollisionPrimitive3D<T>>& records) {
    if (!m_copied)
        return;
    m_copied = false;
    for (uint64 i = 0; i < records.size(); ++i) {
        const PhysicsCollisionPrimitive3D<T>& primitive = records[i];
        if (movesWhenHit(primitive)) {
            primitive.bodyTransform->position = m_states[i].position;
            primitive.rigidBodyAttribute->setLinearSpeed(m_states[i].linearSpeed);
        }
    }
}

template class BodyCopies<float>;
template class BodyCopies<double>;

} // namespace zor
