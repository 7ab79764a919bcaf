// physicsInitialize as a host calls it: the shared module loaded by path, host modules from a
// scenario folder and a fresh heap record per test, which the module keeps until it adopts the
// next one. The module stays loaded, so no test relies on what an earlier one left behind.

#include "support/TestApplicationData.h"

#include "common/application/FrameworkVersion.h"
#include "common/containers/Array.h"
#include "common/platform/Platform.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace zor::test {
namespace {

std::string binDirectory() {
    return std::getenv("ZOR_TEST_BIN_DIR") != nullptr ? std::getenv("ZOR_TEST_BIN_DIR") : ".";
}

std::string scenarioDirectory(const char* scenario) {
    return binDirectory() + "/scenarios/" + scenario + "/";
}

platform::LibraryHandle load(const std::string& path, uint32* error) {
    Array<WideChar> widePath;
    String(path.c_str()).toUTF16(widePath);
    return platform::loadLibrary(widePath.data(), error);
}

using PhysicsInitialize = bool (*)(ApplicationData*);

PhysicsInitialize physicsInitialize() {
    static const PhysicsInitialize entry = [] {
        uint32 error = 0;
        platform::LibraryHandle module = load(binDirectory() + "/zor_physics.dll", &error);
        return reinterpret_cast<PhysicsInitialize>(module ? platform::findSymbol(module, "physicsInitialize")
                                                          : nullptr);
    }();
    return entry;
}

/// A capturing record that leaves the test program's own global record alone and remembers
/// every slot-0 call the module makes on it.
class ScenarioRecord : public TestApplicationData {
public:
    explicit ScenarioRecord(const char* scenario, ApplicationData* programRecord = applicationData()) {
        setApplicationData(programRecord);
        m_librariesDirectory = scenarioDirectory(scenario).c_str();
        m_frameworkVersion = makeFrameworkVersion(1, 5, 0);
    }
    void deletingDestructor(uint32 flags) override {
        destroyed().push_back({this, flags});
        this->~ScenarioRecord();
        if (flags & 1u)
            ScenarioRecord::operator delete(this);
    }
    static std::vector<std::pair<const void*, uint32>>& destroyed() {
        static std::vector<std::pair<const void*, uint32>> calls;
        return calls;
    }
};

// The log lines of a record from their level on: the time and the identifiers are left out.
std::vector<std::string> lines(const ScenarioRecord& record) {
    std::vector<std::string> result;
    const std::string log = record.writtenLog();
    for (std::size_t start = 0, end; (end = log.find("\r\n", start)) != std::string::npos; start = end + 2) {
        const std::size_t level = log.find("] ", start);
        result.push_back(level < end ? log.substr(level + 2, end - level - 2)
                                     : "?" + log.substr(start, end - start));
    }
    return result;
}

std::string warning(const char* function, const std::string& message) {
    return std::string("WARN  zor_physics.dll ") + function + " - " + message;
}

std::string refusedDependency(const char* name) {
    return warning("zor::physicsInitialize",
                   std::string("Unable to initialize component module dependency: ") + name);
}

const std::string kCoreCalled = "INFO  zor_core.dll coreInitialize - called";
const std::string kProjectCalled = "INFO  zor_project.dll projectInitialize - called";
const std::string kGeometryCalled = "INFO  zor_geometry.dll geometryInitialize - called";
using Lines = std::vector<std::string>;

class PhysicsInitializeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(physicsInitialize(), nullptr) << "zor_physics.dll in " << binDirectory();
    }

    static ScenarioRecord& newRecord(const char* scenario) { return *new ScenarioRecord(scenario); }

    /// A fresh record that the module adopts and refuses at once (its common layer failed
    /// before): what the module logs without adopting a record goes there.
    static ScenarioRecord& holdNewRecord() {
        ScenarioRecord& record = newRecord("complete");
        record.m_commonState = DependencyFailed;
        EXPECT_FALSE(physicsInitialize()(&record));
        record.clearCaptured();
        return record;
    }
};

TEST_F(PhysicsInitializeTest, BringsUpEveryDependencyInOrderOnceAndKeepsTheRecordUntilTheNext) {
    ScenarioRecord& record = newRecord("complete");
    ASSERT_TRUE(physicsInitialize()(&record));
    EXPECT_EQ(lines(record), (Lines{kCoreCalled, kProjectCalled, kGeometryCalled}));
    for (const uint32 state :
         {record.m_commonState, record.m_coreState, record.m_projectState, record.m_geometryState})
        EXPECT_EQ(state, DependencyInitialized);
    EXPECT_EQ(record.m_deinitializeCallbacks.size(), 2u);

    // Again with the same record: nothing starts twice, and the physics tear-down is queued
    // again in front of the two there are.
    record.clearCaptured();
    ScenarioRecord::destroyed().clear();
    ASSERT_TRUE(physicsInitialize()(&record));
    EXPECT_TRUE(lines(record).empty());
    ASSERT_EQ(record.m_deinitializeCallbacks.size(), 3u);
    auto callback = record.m_deinitializeCallbacks.begin();
    const DeinitializeCallback first = *callback, second = *++callback, third = *++callback;
    EXPECT_EQ(first, second);
    EXPECT_NE(second, third);

    // Adopting another record destroys this one.
    EXPECT_TRUE(ScenarioRecord::destroyed().empty());
    ASSERT_TRUE(physicsInitialize()(&newRecord("complete")));
    EXPECT_EQ(ScenarioRecord::destroyed(), (std::vector<std::pair<const void*, uint32>>{{&record, 1u}}));
}

TEST_F(PhysicsInitializeTest, RefusesANullRecordAndOtherMajorOrMinorVersionsButNotPatches) {
    for (const uint64 version : {makeFrameworkVersion(1, 5, 7), makeFrameworkVersion(1, 5, 0xFFFF)}) {
        ScenarioRecord& record = newRecord("complete");
        record.m_frameworkVersion = version;
        EXPECT_TRUE(physicsInitialize()(&record)) << version;
    }
    const std::pair<uint64, const char*> refusals[] = {
        {makeFrameworkVersion(1, 6, 0), "1.6.0"},
        {makeFrameworkVersion(2, 5, 0), "2.5.0"},
        {makeFrameworkVersion(0xFFFFFF, 0xFFFFFF, 0xFFFF), "16777215.16777215.65535"},
    };
    for (const auto& [version, text] : refusals) {
        // A refused record is not adopted: the refusal goes to the record the module holds.
        ScenarioRecord& held = holdNewRecord();
        ScenarioRecord refused("complete");
        refused.m_frameworkVersion = version;
        EXPECT_FALSE(physicsInitialize()(&refused));
        EXPECT_EQ(lines(held), Lines{warning("zor::physicsInitialize",
                                             std::string("Application framework version:") + text +
                                                 " is incompatible with module framework version:1.5.0. "
                                                 "Cannot initialize component module: physics")});
        EXPECT_EQ(refused.writtenLog(), "");
        EXPECT_EQ(refused.m_commonState, DependencyNotInitialized);
    }
    ScenarioRecord& held = holdNewRecord();
    EXPECT_FALSE(physicsInitialize()(nullptr));
    EXPECT_EQ(lines(held),
              Lines{warning("zor::physicsInitialize",
                            "Application data is NULL, cannot initialize component module: physics")});
}

TEST_F(PhysicsInitializeTest, MissingModuleReportsTheFileThenThePathAndStopsThere) {
    ScenarioRecord& record = newRecord("missing_project");
    const std::string path = scenarioDirectory("missing_project") + "zor_project.dll";
    uint32 error = 0;
    ASSERT_EQ(load(path, &error), nullptr);

    EXPECT_FALSE(physicsInitialize()(&record));
    EXPECT_EQ(lines(record),
              (Lines{kCoreCalled,
                     "WARN  common zor_loadLibrary - Unable to load library:zor_project.dll with error:" +
                         std::to_string(error),
                     warning("zor_prepareProjectModule", "Unable to load library:\"" + path + "\""),
                     refusedDependency("project")}));
    EXPECT_EQ(record.m_projectState, DependencyFailed);
    EXPECT_EQ(record.m_geometryState, DependencyNotInitialized);
    EXPECT_EQ(record.m_geometryInitialize, nullptr);
}

TEST_F(PhysicsInitializeTest, ModuleWithoutItsExportFails) {
    ScenarioRecord& record = newRecord("missing_export");
    EXPECT_FALSE(physicsInitialize()(&record));
    EXPECT_EQ(lines(record),
              (Lines{warning("zor_prepareCoreModule", "Unable to get function:\"coreInitialize\""),
                     refusedDependency("core")}));
    EXPECT_EQ(record.m_coreState, DependencyFailed);
    EXPECT_EQ(record.m_projectInitialize, nullptr);
}

TEST_F(PhysicsInitializeTest, RefusingModuleStaysFailedAndIsNotAskedAgain) {
    ScenarioRecord& record = newRecord("refusing_geometry");
    EXPECT_FALSE(physicsInitialize()(&record));
    EXPECT_EQ(lines(record),
              (Lines{kCoreCalled, kProjectCalled, kGeometryCalled, refusedDependency("geometry")}));
    EXPECT_EQ(record.m_geometryState, DependencyFailed);

    // The same refusal again, without a call; the log holds the repeated line back.
    record.clearCaptured();
    EXPECT_FALSE(physicsInitialize()(&record));
    EXPECT_TRUE(lines(record).empty());
    EXPECT_EQ(record.m_logRepeatCount, 1u);
}

TEST_F(PhysicsInitializeTest, DependencyStatesSetBeforeTheCallAreKept) {
    const auto expectStart = [](uint32 ApplicationData::*state, uint32 value, const Lines& expected,
                                uint64 tearDownCallbacks) {
        ScenarioRecord& record = newRecord("complete");
        record.*state = value;
        const bool started = expected.size() > 1;
        EXPECT_EQ(physicsInitialize()(&record), started);
        EXPECT_EQ(lines(record), expected);
        EXPECT_EQ(record.*state, value);
        EXPECT_EQ(record.m_deinitializeCallbacks.size(), tearDownCallbacks);
        // The prepare step runs even for a core that is not started again.
        EXPECT_EQ(record.m_coreInitialize != nullptr, state == &ApplicationData::m_coreState || started);
        EXPECT_EQ(record.m_projectInitialize != nullptr, started);
    };
    using A = ApplicationData;
    expectStart(&A::m_commonState, DependencyFailed, {refusedDependency("common")}, 0);
    expectStart(&A::m_commonState, DependencyInitialized, {kCoreCalled, kProjectCalled, kGeometryCalled}, 1);
    expectStart(&A::m_coreState, DependencyFailed, {refusedDependency("core")}, 1);
    expectStart(&A::m_coreState, DependencyInitialized, {kProjectCalled, kGeometryCalled}, 2);
}

} // namespace
} // namespace zor::test
