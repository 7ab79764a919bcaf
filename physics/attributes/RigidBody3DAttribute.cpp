#include "physics/attributes/RigidBody3DAttribute.h"

#include "common/log/Log.h"
#include "common/object/Identifiers.h"
#include "common/variables/LevelReader.h"
#include "common/variables/LevelWriter.h"
#include "common/variables/VariableName.h"
#include "physics/attributes/RestitutionCombine.h"

#include <cmath>

namespace zor {

namespace {

// Scales `vector` down to the length `maximum` when it is longer; a maximum of 0 or less is no
// limit. The length is taken in double precision for both number types.
template <typename T>
void limitLength(Vector3<T>& vector, T maximum) {
    if (!(maximum > 0))
        return;
    const double length =
        std::sqrt(static_cast<double>(vector.x) * vector.x + static_cast<double>(vector.y) * vector.y +
                  static_cast<double>(vector.z) * vector.z);
    if (!(length > maximum))
        return;
    if (length != 0) {
        vector.x = static_cast<T>(vector.x / length);
        vector.y = static_cast<T>(vector.y / length);
        vector.z = static_cast<T>(vector.z / length);
    }
    vector.x *= maximum;
    vector.y *= maximum;
    vector.z *= maximum;
}

template <typename T>
void assignVector(Vector3<T>& member, const Vector3<T>& value) {
    if (&member != &value)
        member = value;
}

} // namespace

template <typename T>
RigidBody3DAttribute<T>::RigidBody3DAttribute() {
    resetObjects();
    resetValues();
    this->initObjectInterface();
    m_reserved = new RigidBody3DAttributeReserved<T>(this);
}

template <typename T>
RigidBody3DAttribute<T>::~RigidBody3DAttribute() {
    resetObjects();
    m_reserved->destroy();
}

template <typename T>
void RigidBody3DAttribute<T>::copy(const IObject* p_src) {
    this->copyLevels(m_reserved, p_src);
}

template <typename T>
IObject* RigidBody3DAttribute<T>::clone() const {
    auto* copied = new RigidBody3DAttribute();
    copied->copy(this);
    return copied;
}

template <typename T>
void RigidBody3DAttribute<T>::reset() {
    resetObjects();
    this->m_interfaceObject->reset();
    resetValues();
}

template <typename T>
const String& RigidBody3DAttribute<T>::getTypeName() const {
    static const String typeName(std::is_same_v<T, float> ? "RigidBody3DAttribute{float}"
                                                          : "RigidBody3DAttribute{double}");
    return typeName;
}

template <typename T>
const GUID_t* RigidBody3DAttribute<T>::getGUID() const {
    return &guids::kRigidBody3DAttribute;
}

template <typename T>
bool RigidBody3DAttribute<T>::isTypeOf(const GUID_t& guid) const {
    return this->isTypeOfClass(guid, guids::kRigidBody3DAttribute);
}

template <typename T>
IObject* RigidBody3DAttribute<T>::castTo(const GUID_t& guid) {
    return this->castToClass(guid, guids::kRigidBody3DAttribute);
}

template <typename T>
bool RigidBody3DAttribute<T>::read(IObject* reader) {
    return this->readLevels(m_reserved, reader);
}

template <typename T>
bool RigidBody3DAttribute<T>::write(IObject* writer, uint8 typedMode, uint64 context) {
    return this->writeLevels(m_reserved, writer, typedMode, context);
}

template <typename T>
void RigidBody3DAttribute<T>::setMaxLinearSpeed(T value) {
    m_maxLinearSpeed = value;
}

template <typename T>
const Vector3<T>& RigidBody3DAttribute<T>::getLinearAcceleration() const {
    return m_linearAcceleration;
}

template <typename T>
Vector3<T>& RigidBody3DAttribute<T>::getLinearAcceleration() {
    return m_linearAcceleration;
}

template <typename T>
void RigidBody3DAttribute<T>::setLinearAcceleration(const Vector3<T>& value) {
    assignVector(m_linearAcceleration, value);
}

template <typename T>
void RigidBody3DAttribute<T>::setMaxLinearAcceleration(T value) {
    m_maxLinearAcceleration = value;
}

template <typename T>
const Vector3<T>& RigidBody3DAttribute<T>::getAngularSpeed() const {
    return m_angularSpeed;
}

template <typename T>
Vector3<T>& RigidBody3DAttribute<T>::getAngularSpeed() {
    return m_angularSpeed;
}

template <typename T>
void RigidBody3DAttribute<T>::setAngularSpeed(const Vector3<T>& value) {
    assignVector(m_angularSpeed, value);
}

template <typename T>
const Vector3<T>& RigidBody3DAttribute<T>::getAngularAcceleration() const {
    return m_angularAcceleration;
}

template <typename T>
Vector3<T>& RigidBody3DAttribute<T>::getAngularAcceleration() {
    return m_angularAcceleration;
}

template <typename T>
void RigidBody3DAttribute<T>::setAngularAcceleration(const Vector3<T>& value) {
    assignVector(m_angularAcceleration, value);
}

template <typename T>
void RigidBody3DAttribute<T>::setMass(T value) {
    m_mass = value;
}

template <typename T>
void RigidBody3DAttribute<T>::setInfiniteMass(bool value) {
    m_infiniteMass = value;
}

template <typename T>
void RigidBody3DAttribute<T>::setImmovable(bool value) {
    m_immovable = value;
}

template <typename T>
void RigidBody3DAttribute<T>::setRestitutionFactor(T value) {
    m_restitutionFactor = value;
}

template <typename T>
void RigidBody3DAttribute<T>::setRestitutionCombine(uint32 value) {
    m_restitutionCombine = value;
}

template <typename T>
void RigidBody3DAttribute<T>::setFrictionCoefficient(T value) {
    m_frictionCoefficient = value;
}

template <typename T>
void RigidBody3DAttribute<T>::setAdditionalFriction(T value) {
    m_additionalFriction = value;
}

template <typename T>
void RigidBody3DAttribute<T>::setXLock(bool value) {
    m_xLock = value;
}

template <typename T>
void RigidBody3DAttribute<T>::setYLock(bool value) {
    m_yLock = value;
}

template <typename T>
void RigidBody3DAttribute<T>::setZLock(bool value) {
    m_zLock = value;
}

template <typename T>
void RigidBody3DAttribute<T>::setHLoop(bool value) {
    m_hLoop = value;
}

template <typename T>
void RigidBody3DAttribute<T>::setVLoop(bool value) {
    m_vLoop = value;
}

template <typename T>
void RigidBody3DAttribute<T>::setExclusionGroup(uint32 value) {
    m_exclusionGroup = value;
}

template <typename T>
void RigidBody3DAttribute<T>::applySpeedLimits() {
    limitLength(m_linearSpeed, m_maxLinearSpeed);
    limitLength(m_linearAcceleration, m_maxLinearAcceleration);
}

template <typename T>
RigidBody3DAttributeReserved<T>* RigidBody3DAttribute<T>::getRigidBody3DAttributeReserved() {
    return m_reserved;
}

template <typename T>
void RigidBody3DAttribute<T>::resetValues() {
    m_maxLinearSpeed = 0;
    m_maxLinearAcceleration = 0;
    m_mass = 1;
    m_infiniteMass = 0;
    m_immovable = 0;
    m_restitutionFactor = 1;
    m_restitutionCombine = RestitutionCombineMax;
    m_frictionCoefficient = 0;
    m_additionalFriction = 0;
    m_xLock = 0;
    m_yLock = 0;
    m_zLock = 0;
    m_hLoop = 0;
    m_vLoop = 0;
    m_exclusionGroup = 0;
}

template <typename T>
void RigidBody3DAttribute<T>::resetObjects() {
    m_linearSpeed = {};
    m_linearAcceleration = {};
    m_angularSpeed = {};
    m_angularAcceleration = {};
}

template <typename T>
void RigidBody3DAttribute<T>::copy_Backwards(const IObject* p_src) {
    zor_assert(p_src != NULL);
    this->copyHostLevel(p_src);
    const auto& source = *static_cast<const RigidBody3DAttribute*>(p_src);
    if (&source != this) {
        m_linearSpeed = source.m_linearSpeed;
        m_linearAcceleration = source.m_linearAcceleration;
        m_angularSpeed = source.m_angularSpeed;
        m_angularAcceleration = source.m_angularAcceleration;
    }
    m_maxLinearSpeed = source.m_maxLinearSpeed;
    m_maxLinearAcceleration = source.m_maxLinearAcceleration;
    m_mass = source.m_mass;
    m_infiniteMass = source.m_infiniteMass;
    m_immovable = source.m_immovable;
    m_restitutionFactor = source.m_restitutionFactor;
    m_restitutionCombine = source.m_restitutionCombine;
    m_frictionCoefficient = source.m_frictionCoefficient;
    m_additionalFriction = source.m_additionalFriction;
    m_xLock = source.m_xLock;
    m_yLock = source.m_yLock;
    m_zLock = source.m_zLock;
    m_hLoop = source.m_hLoop;
    m_vLoop = source.m_vLoop;
    m_exclusionGroup = source.m_exclusionGroup;
}

template <typename T>
bool RigidBody3DAttribute<T>::readVariables(IObject* reader) {
    if (!this->getPhysicsAttributeReserved()->readVariables(reader))
        return false;
    const LevelReader in(reader);
    return in.readVector(ZOR_VARIABLE_NAME("linearSpeed"), m_linearSpeed) &&
           in.readReal(ZOR_VARIABLE_NAME("maxLinearSpeed"), m_maxLinearSpeed) &&
           in.readVector(ZOR_VARIABLE_NAME("linearAcceleration"), m_linearAcceleration) &&
           in.readReal(ZOR_VARIABLE_NAME("maxLinearAcceleration"), m_maxLinearAcceleration) &&
           in.readVector(ZOR_VARIABLE_NAME("angularSpeed"), m_angularSpeed) &&
           in.readVector(ZOR_VARIABLE_NAME("angularAcceleration"), m_angularAcceleration) &&
           in.readReal(ZOR_VARIABLE_NAME("mass"), m_mass) &&
           in.readBool(ZOR_VARIABLE_NAME("infiniteMass"), m_infiniteMass) &&
           in.readBool(ZOR_VARIABLE_NAME("immovable"), m_immovable) &&
           in.readReal(ZOR_VARIABLE_NAME("restitutionFactor"), m_restitutionFactor) &&
           in.readEnumeration(ZOR_VARIABLE_NAME("restitutionCombine"), m_restitutionCombine,
                              &convertRestitutionCombine) &&
           in.readReal(ZOR_VARIABLE_NAME("frictionCoefficient"), m_frictionCoefficient) &&
           in.readReal(ZOR_VARIABLE_NAME("additionalFriction"), m_additionalFriction) &&
           in.readBool(ZOR_VARIABLE_NAME("xLock"), m_xLock) &&
           in.readBool(ZOR_VARIABLE_NAME("yLock"), m_yLock) &&
           in.readBool(ZOR_VARIABLE_NAME("zLock"), m_zLock) &&
           in.readBool(ZOR_VARIABLE_NAME("hLoop"), m_hLoop) &&
           in.readBool(ZOR_VARIABLE_NAME("vLoop"), m_vLoop) &&
           in.readUInt32(ZOR_VARIABLE_NAME("exclusionGroup"), m_exclusionGroup);
}

template <typename T>
bool RigidBody3DAttribute<T>::writeVariables(IObject* writer, uint8 skipOwn, uint8 typedMode,
                                             uint64 context) {
    if (!this->getPhysicsAttributeReserved()->writeVariables(writer, skipOwn, typedMode, context))
        return false;
    const LevelWriter out(writer, skipOwn, typedMode, context);
    if (!out.takesOwnVariables())
        return true;
    return out.writeVector(ZOR_VARIABLE_NAME("linearSpeed"), m_linearSpeed) &&
           out.writeReal(ZOR_VARIABLE_NAME("maxLinearSpeed"), m_maxLinearSpeed) &&
           out.writeVector(ZOR_VARIABLE_NAME("linearAcceleration"), m_linearAcceleration) &&
           out.writeReal(ZOR_VARIABLE_NAME("maxLinearAcceleration"), m_maxLinearAcceleration) &&
           out.writeVector(ZOR_VARIABLE_NAME("angularSpeed"), m_angularSpeed) &&
           out.writeVector(ZOR_VARIABLE_NAME("angularAcceleration"), m_angularAcceleration) &&
           out.writeReal(ZOR_VARIABLE_NAME("mass"), m_mass) &&
           out.writeBool(ZOR_VARIABLE_NAME("infiniteMass"), m_infiniteMass) &&
           out.writeBool(ZOR_VARIABLE_NAME("immovable"), m_immovable) &&
           out.writeReal(ZOR_VARIABLE_NAME("restitutionFactor"), m_restitutionFactor) &&
           out.writeEnumeration(ZOR_VARIABLE_NAME("restitutionCombine"), m_restitutionCombine,
                                &convertRestitutionCombine) &&
           out.writeReal(ZOR_VARIABLE_NAME("frictionCoefficient"), m_frictionCoefficient) &&
           out.writeReal(ZOR_VARIABLE_NAME("additionalFriction"), m_additionalFriction) &&
           out.writeBool(ZOR_VARIABLE_NAME("xLock"), m_xLock) &&
           out.writeBool(ZOR_VARIABLE_NAME("yLock"), m_yLock) &&
           out.writeBool(ZOR_VARIABLE_NAME("zLock"), m_zLock) &&
           out.writeBool(ZOR_VARIABLE_NAME("hLoop"), m_hLoop) &&
           out.writeBool(ZOR_VARIABLE_NAME("vLoop"), m_vLoop) &&
           out.writeUInt32(ZOR_VARIABLE_NAME("exclusionGroup"), m_exclusionGroup);
}

template class RigidBody3DAttribute<float>;
template class RigidBody3DAttribute<double>;

} // namespace zor
