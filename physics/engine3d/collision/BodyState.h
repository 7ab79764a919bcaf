#pragma once

#include "common/Types.h"
#include "common/variables/Vector.h"
#include "physics/attributes/RigidBody3DAttribute.h"

#include <array>
#include <bit>
#include <type_traits>

namespace zor {

/// What a response reads of a body besides its position and speed: the one list of these fields.
/// Bodies whose keys are equal answer every response alike.
template <typename T>
struct BodyMaterial {
    T inverseMass;
    T restitutionFactor;
    T frictionCoefficient;
    uint32 restitutionCombine;

    /// The fields as bits, in the order above.
    std::array<uint64, 4> key() const {
        using Bits = std::conditional_t<sizeof(T) == 4, uint32, uint64>;
        return {std::bit_cast<Bits>(inverseMass), std::bit_cast<Bits>(restitutionFactor),
                std::bit_cast<Bits>(frictionCoefficient), restitutionCombine};
    }
};
// A field added to the material must be added to its key: these sizes fail until it is.
static_assert(sizeof(BodyMaterial<float>) == 3 * sizeof(float) + sizeof(uint32));
static_assert(sizeof(BodyMaterial<double>) == 3 * sizeof(double) + sizeof(uint32) + 4);

/// What the responses of a collision stage read and write of a rigid body, copied next to the
/// other bodies' so that a contact does not reach into the body's element and attribute: its
/// position, its speed and the material it answers with. It answers the calls of
/// RigidBody3DAttribute that the responses make, with the same values.
///
/// A stage works on copies only of bodies that carry nothing but their own primitive, each with
/// an attribute of its own and without speed limits, while no host code runs: nothing else can
/// see or change a body until the stage writes the copies back.
template <typename T>
struct BodyState {
    Vector3<T> position;
    Vector3<T> linearSpeed;
    BodyMaterial<T> material;
    uint32 exclusionGroup;

    /// The copy of `transformPosition` and `body`; `inverse` is the body's inverse mass.
    static BodyState of(const Vector3<T>& transformPosition, const RigidBody3DAttribute<T>& body, T inverse) {
        return {transformPosition,
                body.getLinearSpeed(),
                {inverse, body.getRestitutionFactor(), body.getFrictionCoefficient(),
                 body.getRestitutionCombine()},
                body.getExclusionGroup()};
    }

    const Vector3<T>& getLinearSpeed() const { return linearSpeed; }
    void setLinearSpeed(const Vector3<T>& value) { linearSpeed = value; }
    /// Copies are made only of bodies without limits.
    void applySpeedLimits() {}
    T getRestitutionFactor() const { return material.restitutionFactor; }
    uint32 getRestitutionCombine() const { return material.restitutionCombine; }
    T getFrictionCoefficient() const { return material.frictionCoefficient; }
    uint32 getExclusionGroup() const { return exclusionGroup; }
};

/// The inverse mass the copy was made with.
template <typename T>
inline T inverseMass(const BodyState<T>& body) {
    return body.material.inverseMass;
}

} // namespace zor
