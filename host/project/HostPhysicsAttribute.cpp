#include "host/project/HostPhysicsAttribute.h"

#include "common/variables/LevelReader.h"
#include "common/variables/LevelWriter.h"
#include "common/variables/VariableName.h"

namespace zor {

using Base = HostObjectOf<IPhysicsAttributeLevel>;

namespace {
// The level's own variable, listed after the host object's.
constexpr const char* kEnabled = "enabled";
} // namespace

HostPhysicsAttribute::HostPhysicsAttribute() : m_reserved(new HostPhysicsAttributeReserved(this)) {}

HostPhysicsAttribute::~HostPhysicsAttribute() {
    m_reserved->destroy();
}

IObject* HostPhysicsAttribute::create() {
    return new HostPhysicsAttribute();
}

const GUID_t& HostPhysicsAttribute::classGuid() {
    return guids::kHostPhysicsAttribute;
}

void HostPhysicsAttribute::copy(const IObject* p_src) {
    copy_Backwards(p_src);
}

IObject* HostPhysicsAttribute::clone() const {
    auto* copied = new HostPhysicsAttribute();
    copied->copy(this);
    return copied;
}

void HostPhysicsAttribute::reset() {
    resetObjects();
    resetValues();
}

const String& HostPhysicsAttribute::getTypeName() const {
    static const String typeName("PhysicsAttribute");
    return typeName;
}

const GUID_t* HostPhysicsAttribute::getGUID() const {
    return &classGuid();
}

bool HostPhysicsAttribute::isTypeOf(const GUID_t& guid) const {
    return guid == classGuid() || Base::isTypeOf(guid);
}

IObject* HostPhysicsAttribute::castTo(const GUID_t& guid) {
    return isTypeOf(guid) ? this : nullptr;
}

bool HostPhysicsAttribute::read(IObject* reader) {
    reset();
    return readVariables(reader);
}

bool HostPhysicsAttribute::write(IObject* writer, uint8 typedMode, uint64 context) {
    return LevelWriter::writeLevels(m_reserved, writer, typedMode, context);
}

uint32 HostPhysicsAttribute::getVariableCount() const {
    return Base::getVariableCount() + 1;
}

const char* HostPhysicsAttribute::getVariableName(uint32 index) const {
    return index == Base::getVariableCount() ? kEnabled : Base::getVariableName(index);
}

int32 HostPhysicsAttribute::getVariableType(const String& name) const {
    return name == kEnabled ? VariableTypeBool : Base::getVariableType(name);
}

VariableReference* HostPhysicsAttribute::getVariableReference(const String& name) {
    return name == kEnabled ? new VariableReference(VariableTypeBool, &m_enabled)
                            : Base::getVariableReference(name);
}

IAttributeReserved* HostPhysicsAttribute::getPhysicsAttributeReserved() {
    return m_reserved;
}

void HostPhysicsAttribute::resetValues() {
    setFlags(0);
    m_enabled = 1;
}

void HostPhysicsAttribute::resetObjects() {
    setName(String());
}

void HostPhysicsAttribute::copy_Backwards(const IObject* p_src) {
    // The source may be an attribute wrapping a host level: the cast finds the level itself.
    IObject* level = p_src != nullptr ? const_cast<IObject*>(p_src)->castTo(classGuid()) : nullptr;
    if (level == nullptr || level == this)
        return;
    Base::copy(level);
    m_enabled = static_cast<const HostPhysicsAttribute*>(level)->m_enabled;
}

bool HostPhysicsAttribute::readVariables(IObject* reader) {
    const LevelReader in(reader);
    String name(getName());
    if (!in.readString(ZOR_VARIABLE_NAME("name"), name))
        return false;
    setName(name);
    return in.readBool(ZOR_VARIABLE_NAME("enabled"), m_enabled);
}

bool HostPhysicsAttribute::writeVariables(IObject* writer, uint8 skipOwn, uint8 typedMode, uint64 context) {
    const LevelWriter out(writer, skipOwn, typedMode, context);
    if (!out.takesOwnVariables())
        return true;
    return out.writeString(ZOR_VARIABLE_NAME("name"), getName()) &&
           out.writeBool(ZOR_VARIABLE_NAME("enabled"), m_enabled);
}

} // namespace zor
