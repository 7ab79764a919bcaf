#include "physics/engine3d/collision/SharedMaterial.h"

namespace zor {

template <typename T>
std::optional<SharedMaterial<T>> sharedMaterialOf(const Array<PhysicsCollisionPrimitive3D<T>>& records,
                                                  const Array<BodyState<T>>& states) {
    // Compared as bits: the responses must work with exactly the values each pair would give.
    const BodyState<T>* first = nullptr;
    for (uint64 i = 0; i < records.size(); ++i) {
        if (!movesWhenHit(records[i]))
            continue;
        if (first == nullptr)
            first = &states[i];
        else if (states[i].material.key() != first->material.key())
            return std::nullopt;
    }
    // Bodies of infinite mass are not pushed: the general response tells that.
    const T sum = first != nullptr ? first->material.inverseMass + first->material.inverseMass : T(0);
    if (sum == T(0))
        return std::nullopt;
    return SharedMaterial<T>{first->material.inverseMass, response_detail::Divisor<T>(sum),
                             combinedRestitution(*first, *first),
                             response_detail::combinedFriction(*first, *first)};
}

template std::optional<SharedMaterial<float>>
sharedMaterialOf(const Array<PhysicsCollisionPrimitive3D<float>>&, const Array<BodyState<float>>&);
template std::optional<SharedMaterial<double>>
sharedMaterialOf(const Array<PhysicsCollisionPrimitive3D<double>>&, const Array<BodyState<double>>&);

} // namespace zor
