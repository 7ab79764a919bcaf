// physicsInitialize as a host calls it: the shared module loaded by path, host modules from a
// scenario folder and a fresh heap record per test, which the module keeps until it adopts the
// next one. The module stays loaded, so no test relies on what an earlier one left behind.

#include "physics/module/PhysicsModule.h"

#include "support/LoadedPhysicsModule.h"
#include "support/LogLines.h"

#include "host/core/HostObject.h"
#include "host/project/HostPhysicsAttribute.h"

#include "common/application/CommonModule.h"
#include "common/application/FrameworkVersion.h"
#include "common/platform/Platform.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace zor::test {
namespace {

platform::LibraryHandle load(const std::string& path, String& error) {
    return platform::loadLibrary(String(path.c_str()), error);
}

using PhysicsInitialize = bool (*)(ApplicationData*);

PhysicsInitialize physicsInitialize() {
    String error;
    static const platform::LibraryHandle module = load(binDirectory() + "/zor_physics.dll", error);
    return reinterpret_cast<PhysicsInitialize>(module ? platform::findSymbol(module, "physicsInitialize")
                                                      : nullptr);
}

/// A capturing record that leaves the test program's own global record alone and remembers
/// every slot-0 call the module makes on it. The scenario modules keep no records of their own,
/// so the record brings the host objects that registering the module's classes creates.
class ScenarioRecord : public TestApplicationData {
public:
    explicit ScenarioRecord(const char* scenario, ApplicationData* programRecord = applicationData())
        : TestApplicationData(&HostObject::create, &HostPhysicsAttribute::create) {
        setApplicationData(programRecord);
        m_librariesDirectory = (binDirectory() + "/scenarios/" + scenario + "/").c_str();
        m_frameworkVersion = makeFrameworkVersion(1, 5, 0);
    }
    void deletingDestructor(uint32 flags) override {
        s_destroyed.push_back({this, flags});
        this->~ScenarioRecord();
        if (flags & 1u)
            ScenarioRecord::operator delete(this);
    }
    static inline std::vector<std::pair<const void*, uint32>> s_destroyed;
};

std::string refusedDependency(const char* name) {
    return physicsWarning("zor::physicsInitialize",
                          std::string("Unable to initialize component module dependency: ") + name);
}

const std::string kCoreCalled = "INFO  zor_core.dll coreInitialize - called";
const std::string kProjectCalled = "INFO  zor_project.dll projectInitialize - called";
const std::string kGeometryCalled = "INFO  zor_geometry.dll geometryInitialize - called";
using Lines = std::vector<std::string>;

// How many of the host modules have their initialize function looked up.
int prepared(const ApplicationData& record) {
    return (record.m_coreInitialize != nullptr) + (record.m_projectInitialize != nullptr) +
           (record.m_geometryInitialize != nullptr);
}

class PhysicsInitializeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(physicsInitialize(), nullptr) << "zor_physics.dll in " << binDirectory();
    }

    /// Starts the module on a fresh record of `scenario`, with `state` set to `value` first when
    /// given; it must answer `started` and log `expected`.
    static ScenarioRecord& start(const char* scenario, bool started, const Lines& expected,
                                 uint32 ApplicationData::*state = nullptr, uint32 value = 0) {
        auto* record = new ScenarioRecord(scenario);
        if (state != nullptr)
            record->*state = value;
        EXPECT_EQ(physicsInitialize()(record), started) << scenario;
        EXPECT_EQ(logLines(*record), expected) << scenario;
        return *record;
    }
};

TEST_F(PhysicsInitializeTest, BringsUpEveryDependencyInOrderOnceAndKeepsTheRecordUntilTheNext) {
    ScenarioRecord& record = start("complete", true, {kCoreCalled, kProjectCalled, kGeometryCalled});

    // Again with the same record: nothing starts twice (every state says it is up), and the
    // physics tear-down is queued again in front of the two there are.
    record.clearCaptured();
    ScenarioRecord::s_destroyed.clear();
    ASSERT_TRUE(physicsInitialize()(&record));
    EXPECT_TRUE(logLines(record).empty());
    ASSERT_EQ(record.m_deinitializeCallbacks.size(), 3u);
    auto callback = record.m_deinitializeCallbacks.begin();
    const DeinitializeCallback first = *callback, second = *++callback, third = *++callback;
    EXPECT_TRUE(first == second && second != third);

    // Adopting another record destroys this one, and only then.
    start("complete", true, {kCoreCalled, kProjectCalled, kGeometryCalled});
    EXPECT_EQ(ScenarioRecord::s_destroyed, (std::vector<std::pair<const void*, uint32>>{{&record, 1u}}));
}

TEST_F(PhysicsInitializeTest, RefusesANullRecordAndOtherMajorOrMinorVersionsButNotPatches) {
    ScenarioRecord& patched = *new ScenarioRecord("complete");
    patched.m_frameworkVersion = makeFrameworkVersion(1, 5, 0xFFFF);
    EXPECT_TRUE(physicsInitialize()(&patched));
    // A record that the module adopts and refuses at once (its common layer failed before): what
    // the module logs without adopting a record goes there.
    ScenarioRecord& held = start("complete", false, {refusedDependency("common")},
                                 &ApplicationData::m_commonState, DependencyFailed);
    // clang-format off
    const std::pair<uint64, const char*> refusals[] = {
        {makeFrameworkVersion(1, 6, 0), "1.6.0"}, {makeFrameworkVersion(2, 5, 0), "2.5.0"},
        {makeFrameworkVersion(0xFFFFFF, 0xFFFFFF, 0xFFFF), "16777215.16777215.65535"}};
    // clang-format on
    for (const auto& [version, text] : refusals) {
        // A refused record is not adopted: the refusal goes to the record the module holds.
        held.clearCaptured();
        ScenarioRecord refused("complete");
        refused.m_frameworkVersion = version;
        EXPECT_FALSE(physicsInitialize()(&refused));
        EXPECT_EQ(logLines(held),
                  Lines{physicsWarning("zor::physicsInitialize",
                                       std::string("Application framework version:") + text +
                                           " is incompatible with module framework version:1.5.0. "
                                           "Cannot initialize component module: physics")});
        EXPECT_EQ(refused.writtenLog(), "");
        EXPECT_EQ(refused.m_commonState, DependencyNotInitialized);
    }
    held.clearCaptured();
    EXPECT_FALSE(physicsInitialize()(nullptr));
    EXPECT_EQ(logLines(held),
              Lines{physicsWarning("zor::physicsInitialize",
                                   "Application data is NULL, cannot initialize component module: physics")});
}

TEST_F(PhysicsInitializeTest, AMissingExportOrARefusalFailsTheDependencyForGoodAndStopsThere) {
    // A module that does not load is zor_host's to show, with the file name, then the path.
    ScenarioRecord& noExport =
        start("missing_export", false,
              {physicsWarning("zor_prepareCoreModule", "Unable to get function:\"coreInitialize\""),
               refusedDependency("core")});
    EXPECT_TRUE(noExport.m_coreState == DependencyFailed && prepared(noExport) == 0);
    ScenarioRecord& refusing =
        start("refusing_geometry", false,
              {kCoreCalled, kProjectCalled, kGeometryCalled, refusedDependency("geometry")});
    EXPECT_EQ(refusing.m_geometryState, DependencyFailed);

    // The same refusal again, without a call; the log holds the repeated line back.
    refusing.clearCaptured();
    EXPECT_FALSE(physicsInitialize()(&refusing));
    EXPECT_TRUE(logLines(refusing).empty());
    EXPECT_EQ(refusing.m_logRepeatCount, 1u);
}

TEST_F(PhysicsInitializeTest, DependencyStatesSetBeforeTheCallAreKept) {
    // The prepare step runs even for a core that is not started again.
    const auto expectStart = [](uint32 ApplicationData::*state, uint32 value, const Lines& expected,
                                uint64 tearDownCallbacks, int preparedModules) {
        ScenarioRecord& record = start("complete", expected.size() > 1, expected, state, value);
        EXPECT_EQ(record.*state, value);
        EXPECT_EQ(record.m_deinitializeCallbacks.size(), tearDownCallbacks);
        EXPECT_EQ(prepared(record), preparedModules);
    };
    using A = ApplicationData;
    expectStart(&A::m_commonState, DependencyFailed, {refusedDependency("common")}, 0, 0);
    expectStart(&A::m_commonState, DependencyInitialized, {kCoreCalled, kProjectCalled, kGeometryCalled}, 1,
                3);
    expectStart(&A::m_coreState, DependencyFailed, {refusedDependency("core")}, 1, 1);
    expectStart(&A::m_coreState, DependencyInitialized, {kProjectCalled, kGeometryCalled}, 2, 3);
}

// The module's entry points linked into the test program, where their addresses are known.
TEST(PhysicsModule, TearDownListHasPhysicsBeforeCommon) {
    ScenarioRecord record("complete");
    ASSERT_TRUE(zor::physicsInitialize(&record));

    ASSERT_EQ(record.m_deinitializeCallbacks.size(), 2u);
    EXPECT_EQ(record.m_deinitializeCallbacks.front(), &physicsDeinitialize);
    EXPECT_EQ(record.m_deinitializeCallbacks.back(), &commonDeinitialize);
}

TEST(PhysicsModule, TearDownWithoutRecordOnlyWarns) {
    ApplicationData* previous = applicationData();
    setApplicationData(nullptr);
    ::testing::internal::CaptureStdout();
    physicsDeinitialize();
    const std::string output = ::testing::internal::GetCapturedStdout();
    setApplicationData(previous);
    EXPECT_EQ(output, "WARN : Application data is NULL, cannot deinitialize module: physics\n");
}

} // namespace
} // namespace zor::test
