#include "physics/engine3d/collision/Carriers.h"

#include "common/framework/IElement.h"
#include "common/object/Identifiers.h"

#include <algorithm>
#include <functional>

namespace zor {
namespace {

// How far up the hierarchy a moved body still carries the primitives of its descendants.
constexpr int kMaxCarryingAncestors = 64;

} // namespace

Carriers::Carriers() {
    m_carriers.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);
    m_carriedFirst.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);
    m_carriedLast.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);
}

template <typename T>
void Carriers::list(const Array<PhysicsCollisionPrimitive3D<T>>& records, Array<IElement*>& bodyParents) {
    const uint64 count = records.size();
    m_carriers.resize(0);
    m_carriedFirst.resize(count);
    m_carriedLast.resize(count);
    // Every active primitive's own body first, in order; then the ancestors that carry it.
    for (uint64 i = 0; i < count; ++i) {
        m_carriedFirst[i] = m_carriedLast[i] = uint32(m_carriers.size());
        if (records[i].active) {
            m_carriers.pushBack({records[i].body, i});
            ++m_carriedLast[i];
        }
    }
    const uint64 owners = m_carriers.size();
    for (uint64 i = 0; i < count; ++i) {
        if (!records[i].active)
            continue;
        IElement* ancestor = bodyParents[i];
        bodyParents[i] = nullptr;
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
            std::equal_range(m_carriers.begin(), m_carriers.end(), Carrier{records[i].body, 0}, byBody);
        m_carriedFirst[i] = uint32(carried.first - m_carriers.begin());
        m_carriedLast[i] = uint32(carried.second - m_carriers.begin());
    }
}

bool Carriers::bodiesShared(uint64 owners) {
    // Bodies made one after another, as hosts usually make them, come in increasing runs that
    // are distinct without a set.
    const auto bodyOf = [](const Carrier& carrier) { return static_cast<const void*>(carrier.body); };
    if (m_ownerRuns.distinct(m_carriers.data(), owners, bodyOf)) {
        for (uint64 c = owners; c < m_carriers.size(); ++c)
            if (m_ownerRuns.contains(m_carriers.data(), m_carriers[c].body, bodyOf))
                return true;
        return false;
    }
    m_bodySet.reset(owners);
    for (uint64 c = 0; c < owners; ++c)
        if (!m_bodySet.insert(m_carriers[c].body))
            return true;
    for (uint64 c = owners; c < m_carriers.size(); ++c)
        if (m_bodySet.contains(m_carriers[c].body))
            return true;
    return false;
}

template void Carriers::list(const Array<PhysicsCollisionPrimitive3D<float>>&, Array<IElement*>&);
template void Carriers::list(const Array<PhysicsCollisionPrimitive3D<double>>&, Array<IElement*>&);

} // namespace zor
