// What every attribute does when its host level cannot be had, and the assertions' log lines.

#include "physics/attributes/Collision3DAttribute.h"
#include "physics/attributes/HitTestAttribute.h"
#include "physics/attributes/RigidBody3DAttribute.h"

#include "host/core/HostObject.h"
#include "host/project/HostPhysicsAttribute.h"
#include "support/ExitOutput.h"
#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

namespace zor::test {
namespace {

IObject* noPhysicsAttribute() {
    return nullptr;
}

// The part of a log line after the identifiers: "ERROR common zor_createObject - assert(...)".
std::string logLine(const std::string& output, const std::string& level) {
    const std::size_t start = output.find("] " + level);
    if (start == std::string::npos)
        return "no " + level + " line in: " + output;
    return output.substr(start + 2, output.find("\r\n", start) - start - 2);
}

TEST(WPhysicsAttributeDeathTest, WithoutAHostLevelTheProcessEnds) {
    // No host record at all: a warning, then the attribute's own check.
    EXPECT_EQ(
        outputOfExit([] { new HitTestAttribute; }),
        "WARN : Application data is NULL, cannot create object from name PhysicsAttribute. Return NULL\n"
        "ERROR: assert(interfacePhysicsAttribute != NULL)\n");
    // No project module record.
    EXPECT_EQ(logLine(outputOfExit([] {
                          PrintingRecord record(&HostObject::create);
                          new Collision3DAttribute<float>;
                      }),
                      "ERROR"),
              "ERROR common zor_createObject - assert(appData->m_project != NULL)");
    // A project module that makes no level.
    EXPECT_EQ(logLine(outputOfExit([] {
                          PrintingRecord record(&HostObject::create, &noPhysicsAttribute);
                          new RigidBody3DAttribute<double>;
                      }),
                      "ERROR"),
              "ERROR common zor::WPhysicsAttribute::initObjectInterface - assert(interfacePhysicsAttribute "
              "!= NULL)");
}

template <typename Attribute>
std::string copyFromNothing() {
    return logLine(outputOfExit([] {
                       PrintingRecord record(&HostObject::create, &HostPhysicsAttribute::create);
                       (new Attribute)->copy(nullptr);
                   }),
                   "ERROR");
}

TEST(WPhysicsAttributeDeathTest, CopyingFromNothingEndsTheProcessNamingTheClass) {
    EXPECT_EQ(copyFromNothing<HitTestAttribute>(),
              "ERROR zor_physics.dll zor::HitTestAttribute::copy_Backwards - assert(p_src != NULL)");
    EXPECT_EQ(
        copyFromNothing<Collision3DAttribute<double>>(),
        "ERROR zor_physics.dll zor::Collision3DAttribute<double>::copy_Backwards - assert(p_src != NULL)");
    EXPECT_EQ(
        copyFromNothing<RigidBody3DAttribute<float>>(),
        "ERROR zor_physics.dll zor::RigidBody3DAttribute<float>::copy_Backwards - assert(p_src != NULL)");
}

} // namespace
} // namespace zor::test
