#pragma once

#include "physics/attributes/AttributeTesting.h"
#include "physics/attributes/Collision3DAttribute.h"
#include "physics/attributes/HitTestAttribute.h"
#include "physics/attributes/RigidBody3DAttribute.h"

#include <sstream>
#include <string>
#include <type_traits>

namespace zor::test {

// Each attribute family's members as one text (two attributes with the same text are equal),
// and a filling that moves every member away from its default, the host level's too.

template <typename T>
std::string text(const Vector3<T>& v) {
    std::ostringstream out;
    out << "(" << v.x << "," << v.y << "," << v.z << ")";
    return out.str();
}

template <typename T>
std::string members(const RigidBody3DAttribute<T>& a) {
    std::ostringstream out;
    out << "speed " << text(a.getLinearSpeed()) << " max " << a.getMaxLinearSpeed() << " acceleration "
        << text(a.getLinearAcceleration()) << " max " << a.getMaxLinearAcceleration() << " angular "
        << text(a.getAngularSpeed()) << " " << text(a.getAngularAcceleration()) << " mass " << a.getMass()
        << (a.getInfiniteMass() ? " infinite" : "") << (a.getImmovable() ? " immovable" : "")
        << " restitution " << a.getRestitutionFactor() << " combine " << a.getRestitutionCombine()
        << " friction " << a.getFrictionCoefficient() << " " << a.getAdditionalFriction() << " locks "
        << a.getXLock() << a.getYLock() << a.getZLock() << " loops " << a.getHLoop() << a.getVLoop()
        << " group " << a.getExclusionGroup();
    return out.str();
}

/// Sets every member in member order: the reals from `real`, the locks, loops and the two mass
/// flags from `flag`, the combine mode from `combine` and the exclusion group from `group`.
template <typename T, typename Real, typename Flag, typename Combine, typename Group>
void setMembers(RigidBody3DAttribute<T>& a, Real real, Flag flag, Combine combine, Group group) {
    // A braced list calls `real` from left to right.
    a.setLinearSpeed(Vector3<T>{real(), real(), real()});
    a.setMaxLinearSpeed(real());
    a.setLinearAcceleration(Vector3<T>{real(), real(), real()});
    a.setMaxLinearAcceleration(real());
    a.setAngularSpeed(Vector3<T>{real(), real(), real()});
    a.setAngularAcceleration(Vector3<T>{real(), real(), real()});
    a.setMass(real());
    a.setInfiniteMass(flag());
    a.setImmovable(flag());
    a.setRestitutionFactor(real());
    a.setRestitutionCombine(combine());
    a.setFrictionCoefficient(real());
    a.setAdditionalFriction(real());
    a.setXLock(flag());
    a.setYLock(flag());
    a.setZLock(flag());
    a.setHLoop(flag());
    a.setVLoop(flag());
    a.setExclusionGroup(group());
}

// The setters check nothing: a negative mass and a combine value without a name are stored as
// they are.
template <typename T>
void fill(RigidBody3DAttribute<T>& a) {
    const T reals[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, T(-2.5), T(0.5), T(0.25), T(0.125)};
    const T* next = reals;
    setMembers(
        a, [&next] { return *next++; }, [] { return true; }, [] { return 300u; }, [] { return 7u; });
    markHostLevel(a, "wheel");
}

inline const std::string kRigidBodyDefaults =
    "speed (0,0,0) max 0 acceleration (0,0,0) max 0 angular (0,0,0) "
    "(0,0,0) mass 1 restitution 1 combine 0 friction 0 0 locks 000 "
    "loops 00 group 0";
inline const std::string kRigidBodyFilled =
    "speed (1,2,3) max 4 acceleration (5,6,7) max 8 angular (9,10,11) "
    "(12,13,14) mass -2.5 infinite immovable restitution 0.5 combine "
    "300 friction 0.25 0.125 locks 111 loops 11 group 7";

inline std::string members(const EventAttribute& a) {
    return std::to_string(a.getEventParent()) + " \"" + a.getEventString().c_str() + "\"";
}

inline void fill(EventAttribute& a) {
    a.setEventParent(3);
    a.setEventString(String("door"));
    markHostLevel(a, "wheel");
}

/// The companion of an attribute's own level.
template <typename Attribute>
auto* companionOf(Attribute& a) {
    if constexpr (std::is_same_v<Attribute, HitTestAttribute>)
        return a.getHitTestAttributeReserved();
    else if constexpr (std::is_base_of_v<EventAttribute, Attribute>)
        return a.getCollision3DAttributeReserved();
    else
        return a.getRigidBody3DAttributeReserved();
}

} // namespace zor::test
