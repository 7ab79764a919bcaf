#pragma once

#include "common/framework/AttributeReserved.h"
#include "common/framework/IPhysicsAttributeLevel.h"
#include "common/memory/SlotArena.h"
#include "host/core/HostObject.h"

namespace zor {

class HostPhysicsAttribute;

/// The companion of the host's level.
using HostPhysicsAttributeReserved = AttributeReserved<HostPhysicsAttribute>;

/// The host's "PhysicsAttribute": the level below every physics attribute of the module, made
/// by the project module for each attribute and wrapped by it. Besides what every host object
/// has (name, flags, hierarchy, events), it keeps what the host decides for every attribute
/// alike: whether the attribute is enabled. Its variables are "name" and "enabled".
class HostPhysicsAttribute final : public HostObjectOf<IPhysicsAttributeLevel> {
public:
    // Every physics attribute has one: kept together, in the order they are made, like the
    // attributes themselves.
    ZOR_ARENA_ALLOCATED(HostPhysicsAttribute)

    /// An enabled, unnamed level.
    HostPhysicsAttribute();

    /// The project module's creation function.
    static IObject* create();
    /// The class identifier of the host "PhysicsAttribute".
    static const GUID_t& classGuid();

    ZOR_DELETING_DESTRUCTOR(HostPhysicsAttribute)
    /// Name, flags and the enabled state; links, listeners and the data pointer stay.
    void copy(const IObject* p_src) override;
    IObject* clone() const override;
    /// Unnamed, no flags, enabled.
    void reset() override;
    /// "PhysicsAttribute".
    const String& getTypeName() const override;
    const GUID_t* getGUID() const override;
    /// The host "PhysicsAttribute" and the host "Object".
    bool isTypeOf(const GUID_t& guid) const override;
    IObject* castTo(const GUID_t& guid) override;
    /// Reset, then this level's variables.
    bool read(IObject* reader) override;
    /// This level's variables, in the passes the writer takes.
    bool write(IObject* writer, uint8 typedMode, uint64 context) override;
    /// The host object's variables, then "enabled" (bool_t).
    uint32 getVariableCount() const override;
    const char* getVariableName(uint32 index) const override;
    int32 getVariableType(const String& name) const override;
    VariableReference* getVariableReference(const String& name) override;
    IAttributeReserved* getPhysicsAttributeReserved() override;

    /// A disabled attribute is kept with its element but takes no part in physics.
    bool isEnabled() const { return m_enabled != 0; }
    void setEnabled(bool enabled) { m_enabled = enabled; }

    // This level's part of reset, copy, read and write (the companion's operations).

    /// No flags, enabled.
    void resetValues();
    /// Unnamed.
    void resetObjects();
    /// Name, flags and the enabled state from the host level `p_src`, or from the level that the
    /// attribute `p_src` wraps; nothing from null or any other object.
    void copy_Backwards(const IObject* p_src);
    /// "name", then "enabled"; false at the first refusal.
    bool readVariables(IObject* reader);
    /// "name", then "enabled", as far as the pass takes them.
    bool writeVariables(IObject* writer, uint8 skipOwn, uint8 typedMode, uint64 context);

protected:
    ~HostPhysicsAttribute();

private:
    uint8 m_enabled = 1;
    HostPhysicsAttributeReserved* m_reserved;
};

} // namespace zor
