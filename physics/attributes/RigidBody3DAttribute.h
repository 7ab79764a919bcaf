#pragma once

#include "common/framework/AttributeReserved.h"
#include "common/memory/SlotArena.h"
#include "common/variables/Vector.h"
#include "physics/attributes/Attribute3D.h"
#include "physics/attributes/WPhysicsAttribute.h"

namespace zor {

template <typename T>
class RigidBody3DAttribute;

/// The companion of RigidBody3DAttribute<T>.
template <typename T>
using RigidBody3DAttributeReserved = AttributeReserved<RigidBody3DAttribute<T>>;

/// Makes a scene element a moving rigid body for the 3D engine: speeds and accelerations with
/// their limits, mass, restitution and friction, axis locks, wrap-around and an exclusion group.
/// T (float or double) is the number type of the scene. A maximum of 0 or less means no limit.
template <typename T>
class RigidBody3DAttribute final : public Attribute3D<T, WPhysicsAttribute> {
public:
    // The attributes of one number type lie together in the order they are made, so that the
    // engine's walks over a scene's bodies stream through them.
    ZOR_ARENA_ALLOCATED(RigidBody3DAttribute)

    /// A rigid body at rest: mass 1, restitution factor 1 combined by "MAX", nothing else set.
    RigidBody3DAttribute();

    ZOR_DELETING_DESTRUCTOR(RigidBody3DAttribute)
    void copy(const IObject* p_src) override;
    IObject* clone() const override;
    void reset() override;
    /// "RigidBody3DAttribute{float}" or "RigidBody3DAttribute{double}".
    const String& getTypeName() const override;
    const GUID_t* getGUID() const override;
    bool isTypeOf(const GUID_t& guid) const override;
    IObject* castTo(const GUID_t& guid) override;
    bool read(IObject* reader) override;
    bool write(IObject* writer, uint8 typedMode, uint64 context) override;

    // Slots 43 to 86. Vector getters come in pairs: read-only, then writable.
    virtual const Vector3<T>& getLinearSpeed() const;
    virtual Vector3<T>& getLinearSpeed();
    virtual void setLinearSpeed(const Vector3<T>& value);
    virtual T getMaxLinearSpeed() const;
    virtual void setMaxLinearSpeed(T value);
    virtual const Vector3<T>& getLinearAcceleration() const;
    virtual Vector3<T>& getLinearAcceleration();
    virtual void setLinearAcceleration(const Vector3<T>& value);
    virtual T getMaxLinearAcceleration() const;
    virtual void setMaxLinearAcceleration(T value);
    virtual const Vector3<T>& getAngularSpeed() const;
    virtual Vector3<T>& getAngularSpeed();
    virtual void setAngularSpeed(const Vector3<T>& value);
    virtual const Vector3<T>& getAngularAcceleration() const;
    virtual Vector3<T>& getAngularAcceleration();
    virtual void setAngularAcceleration(const Vector3<T>& value);
    virtual T getMass() const;
    virtual void setMass(T value);
    /// A body of infinite mass is not moved by collisions.
    virtual bool getInfiniteMass() const;
    virtual void setInfiniteMass(bool value);
    virtual bool getImmovable() const;
    virtual void setImmovable(bool value);
    virtual T getRestitutionFactor() const;
    virtual void setRestitutionFactor(T value);
    /// A RestitutionCombine value; the setter stores any value unchecked.
    virtual uint32 getRestitutionCombine() const;
    virtual void setRestitutionCombine(uint32 value);
    virtual T getFrictionCoefficient() const;
    virtual void setFrictionCoefficient(T value);
    virtual T getAdditionalFriction() const;
    virtual void setAdditionalFriction(T value);
    virtual bool getXLock() const;
    virtual void setXLock(bool value);
    virtual bool getYLock() const;
    virtual void setYLock(bool value);
    virtual bool getZLock() const;
    virtual void setZLock(bool value);
    /// Wrap-around across the visible area, horizontally.
    virtual bool getHLoop() const;
    virtual void setHLoop(bool value);
    /// Wrap-around across the visible area, vertically.
    virtual bool getVLoop() const;
    virtual void setVLoop(bool value);
    /// Bodies of one non-zero group do not collide with each other.
    virtual uint32 getExclusionGroup() const;
    virtual void setExclusionGroup(uint32 value);
    /// Scales the linear speed and the linear acceleration down to their maxima where they
    /// exceed them (the angular members are never limited).
    virtual void applySpeedLimits();
    /// Slot 86: this class's companion.
    virtual RigidBody3DAttributeReserved<T>* getRigidBody3DAttributeReserved();

    // This level's part of reset, copy, read and write (the companion's operations).

    /// Every member but the vectors to its default.
    void resetValues();
    /// The vectors to zero.
    void resetObjects();
    /// The level below, then every member from `p_src` (the vectors only from another object).
    void copy_Backwards(const IObject* p_src);
    /// The level below, then the variables in member order; false at the first refusal.
    bool readVariables(IObject* reader);
    /// The level below, then the variables in member order, as far as the pass takes them.
    bool writeVariables(IObject* writer, uint8 skipOwn, uint8 typedMode, uint64 context);

protected:
    ~RigidBody3DAttribute();

private:
    Vector3<T> m_linearSpeed;
    T m_maxLinearSpeed;
    Vector3<T> m_linearAcceleration;
    T m_maxLinearAcceleration;
    Vector3<T> m_angularSpeed;
    Vector3<T> m_angularAcceleration;
    T m_mass;
    uint8 m_infiniteMass;
    uint8 m_immovable;
    T m_restitutionFactor;
    uint32 m_restitutionCombine;
    T m_frictionCoefficient;
    T m_additionalFriction;
    uint8 m_xLock;
    uint8 m_yLock;
    uint8 m_zLock;
    uint8 m_hLoop;
    uint8 m_vLoop;
    uint32 m_exclusionGroup;
    RigidBody3DAttributeReserved<T>* m_reserved;
};

// The accessors the collision stage calls for every contact, and the engine's walks for every
// body, where they can inline them.

template <typename T>
inline const Vector3<T>& RigidBody3DAttribute<T>::getLinearSpeed() const {
    return m_linearSpeed;
}

template <typename T>
inline Vector3<T>& RigidBody3DAttribute<T>::getLinearSpeed() {
    return m_linearSpeed;
}

template <typename T>
inline T RigidBody3DAttribute<T>::getMass() const {
    return m_mass;
}

template <typename T>
inline bool RigidBody3DAttribute<T>::getInfiniteMass() const {
    return m_infiniteMass != 0;
}

template <typename T>
inline T RigidBody3DAttribute<T>::getRestitutionFactor() const {
    return m_restitutionFactor;
}

template <typename T>
inline uint32 RigidBody3DAttribute<T>::getRestitutionCombine() const {
    return m_restitutionCombine;
}

template <typename T>
inline T RigidBody3DAttribute<T>::getFrictionCoefficient() const {
    return m_frictionCoefficient;
}

template <typename T>
inline T RigidBody3DAttribute<T>::getAdditionalFriction() const {
    return m_additionalFriction;
}

template <typename T>
inline uint32 RigidBody3DAttribute<T>::getExclusionGroup() const {
    return m_exclusionGroup;
}

template <typename T>
inline T RigidBody3DAttribute<T>::getMaxLinearSpeed() const {
    return m_maxLinearSpeed;
}

template <typename T>
inline T RigidBody3DAttribute<T>::getMaxLinearAcceleration() const {
    return m_maxLinearAcceleration;
}

template <typename T>
inline bool RigidBody3DAttribute<T>::getImmovable() const {
    return m_immovable != 0;
}

template <typename T>
inline bool RigidBody3DAttribute<T>::getXLock() const {
    return m_xLock != 0;
}

template <typename T>
inline bool RigidBody3DAttribute<T>::getYLock() const {
    return m_yLock != 0;
}

template <typename T>
inline bool RigidBody3DAttribute<T>::getZLock() const {
    return m_zLock != 0;
}

template <typename T>
inline bool RigidBody3DAttribute<T>::getHLoop() const {
    return m_hLoop != 0;
}

template <typename T>
inline bool RigidBody3DAttribute<T>::getVLoop() const {
    return m_vLoop != 0;
}

template <typename T>
inline void RigidBody3DAttribute<T>::setLinearSpeed(const Vector3<T>& value) {
    if (&m_linearSpeed != &value)
        m_linearSpeed = value;
}

} // namespace zor
