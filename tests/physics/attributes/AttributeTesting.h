#pragma once

#include "common/object/WObject.h"
#include "host/core/HostObject.h"
#include "host/project/HostPhysicsAttribute.h"
#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

#include <memory>

namespace zor::test {

/// Ends an object through its release when the test lets go of it.
struct ReleaseObject {
    void operator()(IObject* object) const { object->release(); }
};
template <typename T>
using Owned = std::unique_ptr<T, ReleaseObject>;

template <typename T, typename... Arguments>
Owned<T> make(Arguments&&... arguments) {
    return Owned<T>(new T(std::forward<Arguments>(arguments)...));
}

/// A host with the core module's host objects and the project module's physics-attribute level,
/// so that attributes can be made as the module makes them.
class AttributeTest : public ::testing::Test {
protected:
    TestApplicationData m_record{&HostObject::create, &HostPhysicsAttribute::create};
};

/// The host level an attribute wraps.
inline HostPhysicsAttribute& hostLevel(const WObject& attribute) {
    return *static_cast<HostPhysicsAttribute*>(attribute.getInterfaceObject());
}

/// Gives the host level of an attribute a name and disables it: the state that shows whether a
/// walk over the levels reached the level below.
inline void markHostLevel(const WObject& attribute, const char* name) {
    hostLevel(attribute).setName(String(name));
    hostLevel(attribute).setEnabled(false);
}

} // namespace zor::test
