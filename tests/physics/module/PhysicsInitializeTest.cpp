// physicsInitialize as a host calls it: the shared module loaded by path, a heap record per test
// (the module keeps it and destroys it when it adopts the next one) and host modules from a
// scenario folder. The module stays loaded, so no test relies on what an earlier one left.

#include "ModuleScenarios.h"

#include "common/application/FrameworkVersion.h"
#include "common/containers/Array.h"
#include "common/platform/Platform.h"

namespace zor::test {
namespace {

using PhysicsInitialize = bool (*)(ApplicationData*);

platform::LibraryHandle load(const std::string& path, uint32* error = nullptr) {
    Array<WideChar> widePath;
    String(path.c_str()).toUTF16(widePath);
    uint32 ignored = 0;
    return platform::loadLibrary(widePath.data(), error != nullptr ? error : &ignored);
}

PhysicsInitialize physicsInitialize() {
    static const PhysicsInitialize entry = [] {
        platform::LibraryHandle module = load(binDirectory() + "/zor_physics.dll");
        return module != nullptr
                   ? reinterpret_cast<PhysicsInitialize>(platform::findSymbol(module, "physicsInitialize"))
                   : nullptr;
    }();
    return entry;
}

class PhysicsInitializeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(physicsInitialize(), nullptr) << "zor_physics.dll in " << binDirectory();
    }

    /// A fresh record for a scenario; the module owns it once it has adopted it.
    static ScenarioRecord& newRecord(const char* scenario) { return *new ScenarioRecord(scenario); }
    static std::vector<LogLine> lines(const ScenarioRecord& record) { return logLines(record.writtenLog()); }

    /// A fresh record that the module adopts and refuses at once (its common layer failed
    /// before), so that what the module logs without adopting a record goes to it.
    static ScenarioRecord& holdNewRecord() {
        ScenarioRecord& record = newRecord("complete");
        record.m_commonState = DependencyFailed;
        EXPECT_FALSE(physicsInitialize()(&record));
        record.clearCaptured();
        return record;
    }
};

TEST_F(PhysicsInitializeTest, BringsUpEveryDependencyInOrderAndQueuesItsTearDown) {
    ScenarioRecord& record = newRecord("complete");
    ASSERT_TRUE(physicsInitialize()(&record));

    EXPECT_EQ(lines(record), (std::vector<LogLine>{moduleCalled("zor_core.dll", "coreInitialize"),
                                                   moduleCalled("zor_project.dll", "projectInitialize"),
                                                   moduleCalled("zor_geometry.dll", "geometryInitialize")}));
    for (const uint32 state :
         {record.m_commonState, record.m_coreState, record.m_projectState, record.m_geometryState})
        EXPECT_EQ(state, DependencyInitialized);
    EXPECT_EQ(record.m_deinitializeCallbacks.size(), 2u);

    // Again with the same record: nothing is started twice, the tear-down callback is queued
    // again in front of the one of common.
    record.clearCaptured();
    ASSERT_TRUE(physicsInitialize()(&record));
    EXPECT_TRUE(lines(record).empty());
    ASSERT_EQ(record.m_deinitializeCallbacks.size(), 3u);
    auto callback = record.m_deinitializeCallbacks.begin();
    const DeinitializeCallback first = *callback;
    const DeinitializeCallback second = *++callback;
    const DeinitializeCallback third = *++callback;
    EXPECT_EQ(first, second);
    EXPECT_NE(second, third);

    // With the record in place the tear-down callbacks have nothing to say.
    for (const DeinitializeCallback teardown : record.m_deinitializeCallbacks)
        teardown();
    EXPECT_TRUE(lines(record).empty());
}

TEST_F(PhysicsInitializeTest, ComparesMajorAndMinorVersionButNotPatch) {
    const struct {
        uint64 version;
        const char* text; // null when accepted
    } cases[] = {
        {makeFrameworkVersion(1, 5, 0), nullptr},
        {makeFrameworkVersion(1, 5, 7), nullptr},
        {makeFrameworkVersion(1, 5, 0xFFFF), nullptr},
        {makeFrameworkVersion(1, 6, 0), "1.6.0"},
        {makeFrameworkVersion(2, 5, 0), "2.5.0"},
        {makeFrameworkVersion(0, 5, 0), "0.5.0"},
        {makeFrameworkVersion(0xFFFFFF, 0xFFFFFF, 0xFFFF), "16777215.16777215.65535"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text != nullptr ? c.text : "compatible");
        if (c.text == nullptr) {
            ScenarioRecord& record = newRecord("complete");
            record.m_frameworkVersion = c.version;
            EXPECT_TRUE(physicsInitialize()(&record));
            continue;
        }
        // A refused record is not adopted: the refusal goes to the record the module holds, and
        // the refused one is left untouched.
        ScenarioRecord& held = holdNewRecord();
        ScenarioRecord refused("complete");
        refused.m_frameworkVersion = c.version;
        EXPECT_FALSE(physicsInitialize()(&refused));
        EXPECT_EQ(lines(held),
                  (std::vector<LogLine>{physicsWarning(
                      "zor::physicsInitialize",
                      std::string("Application framework version:") + c.text +
                          " is incompatible with module framework version:1.5.0. Cannot initialize "
                          "component module: physics")}));
        EXPECT_EQ(refused.writtenLog(), "");
        EXPECT_EQ(refused.m_commonState, DependencyNotInitialized);
        EXPECT_TRUE(refused.m_deinitializeCallbacks.isEmpty());
    }
}

TEST_F(PhysicsInitializeTest, AdoptingAnotherRecordDestroysThePreviousOne) {
    ScenarioRecord& first = newRecord("complete");
    ASSERT_TRUE(physicsInitialize()(&first));
    ScenarioRecord::destructions().clear();

    // The same record again is kept.
    ASSERT_TRUE(physicsInitialize()(&first));
    EXPECT_TRUE(ScenarioRecord::destructions().empty());

    // A refused record is never adopted, so the held one survives it.
    ScenarioRecord refused("complete");
    refused.m_frameworkVersion = makeFrameworkVersion(1, 4, 0);
    EXPECT_FALSE(physicsInitialize()(&refused));
    EXPECT_TRUE(ScenarioRecord::destructions().empty());

    ScenarioRecord& second = newRecord("complete");
    ASSERT_TRUE(physicsInitialize()(&second));
    EXPECT_EQ(ScenarioRecord::destructions(), (std::vector<ScenarioRecord::Destruction>{{&first, 1u}}));
}

TEST_F(PhysicsInitializeTest, NullRecordIsRefusedIntoTheHeldRecordsLog) {
    ScenarioRecord& held = holdNewRecord();
    EXPECT_FALSE(physicsInitialize()(nullptr));
    EXPECT_EQ(lines(held), (std::vector<LogLine>{physicsWarning(
                               "zor::physicsInitialize",
                               "Application data is NULL, cannot initialize component module: physics")}));
    EXPECT_EQ(held.m_core, nullptr);
    EXPECT_EQ(held.m_coreInitialize, nullptr);
}

TEST_F(PhysicsInitializeTest, MissingModuleReportsTheFileThenThePathAndStopsThere) {
    ScenarioRecord& record = newRecord("missing_project");
    const std::string path = scenarioDirectory("missing_project") + "zor_project.dll";
    uint32 error = 0;
    ASSERT_EQ(load(path, &error), nullptr);

    EXPECT_FALSE(physicsInitialize()(&record));
    EXPECT_EQ(lines(record),
              (std::vector<LogLine>{
                  moduleCalled("zor_core.dll", "coreInitialize"),
                  {"WARN ", "common", "zor_loadLibrary",
                   "Unable to load library:zor_project.dll with error:" + std::to_string(error)},
                  physicsWarning("zor_prepareProjectModule", "Unable to load library:\"" + path + "\""),
                  physicsWarning("zor::physicsInitialize",
                                 "Unable to initialize component module dependency: project"),
              }));
    EXPECT_EQ(record.m_coreState, DependencyInitialized);
    EXPECT_EQ(record.m_projectState, DependencyFailed);
    EXPECT_EQ(record.m_projectInitialize, nullptr);
    EXPECT_EQ(record.m_geometryState, DependencyNotInitialized);
    EXPECT_EQ(record.m_geometryInitialize, nullptr);
    // Only common's tear-down was queued.
    EXPECT_EQ(record.m_deinitializeCallbacks.size(), 1u);
}

TEST_F(PhysicsInitializeTest, ModuleWithoutItsExportFails) {
    ScenarioRecord& record = newRecord("missing_export");
    EXPECT_FALSE(physicsInitialize()(&record));
    EXPECT_EQ(lines(record),
              (std::vector<LogLine>{
                  physicsWarning("zor_prepareCoreModule", "Unable to get function:\"coreInitialize\""),
                  physicsWarning("zor::physicsInitialize",
                                 "Unable to initialize component module dependency: core"),
              }));
    EXPECT_EQ(record.m_coreState, DependencyFailed);
    EXPECT_EQ(record.m_coreInitialize, nullptr);
    EXPECT_EQ(record.m_projectState, DependencyNotInitialized);
    EXPECT_EQ(record.m_projectInitialize, nullptr);
}

TEST_F(PhysicsInitializeTest, RefusingModuleStaysFailedAndIsNotAskedAgain) {
    ScenarioRecord& record = newRecord("refusing_geometry");
    const std::vector<LogLine> expected{
        moduleCalled("zor_core.dll", "coreInitialize"), moduleCalled("zor_project.dll", "projectInitialize"),
        moduleCalled("zor_geometry.dll", "geometryInitialize"),
        physicsWarning("zor::physicsInitialize",
                       "Unable to initialize component module dependency: geometry")};

    EXPECT_FALSE(physicsInitialize()(&record));
    EXPECT_EQ(lines(record), expected);
    EXPECT_EQ(record.m_coreState, DependencyInitialized);
    EXPECT_EQ(record.m_projectState, DependencyInitialized);
    EXPECT_EQ(record.m_geometryState, DependencyFailed);

    // The same refusal again, and the log holds back the repeated line.
    record.clearCaptured();
    EXPECT_FALSE(physicsInitialize()(&record));
    EXPECT_TRUE(lines(record).empty());
    EXPECT_EQ(record.m_logRepeatCount, 1u);
    EXPECT_EQ(record.m_deinitializeCallbacks.size(), 1u);
}

TEST_F(PhysicsInitializeTest, DependencyStatesSetBeforeTheCallAreNotRetried) {
    const LogLine core = moduleCalled("zor_core.dll", "coreInitialize");
    const LogLine project = moduleCalled("zor_project.dll", "projectInitialize");
    const LogLine geometry = moduleCalled("zor_geometry.dll", "geometryInitialize");
    const struct {
        const char* name;
        uint32 ApplicationData::*state;
        uint32 value;
        bool started;
        std::vector<LogLine> lines;
        uint64 tearDownCallbacks;
    } cases[] = {
        {"common failed",
         &ApplicationData::m_commonState,
         DependencyFailed,
         false,
         {physicsWarning("zor::physicsInitialize",
                         "Unable to initialize component module dependency: common")},
         0},
        {"common started",
         &ApplicationData::m_commonState,
         DependencyInitialized,
         true,
         {core, project, geometry},
         1},
        {"core failed",
         &ApplicationData::m_coreState,
         DependencyFailed,
         false,
         {physicsWarning("zor::physicsInitialize", "Unable to initialize component module dependency: core")},
         1},
        {"core started", &ApplicationData::m_coreState, DependencyInitialized, true, {project, geometry}, 2},
        {"project failed",
         &ApplicationData::m_projectState,
         DependencyFailed,
         false,
         {core, physicsWarning("zor::physicsInitialize",
                               "Unable to initialize component module dependency: project")},
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScenarioRecord& record = newRecord("complete");
        record.*c.state = c.value;
        EXPECT_EQ(physicsInitialize()(&record), c.started);
        EXPECT_EQ(lines(record), c.lines);
        EXPECT_EQ(record.*c.state, c.value);
        EXPECT_EQ(record.m_deinitializeCallbacks.size(), c.tearDownCallbacks);
    }

    // The prepare step still runs for a module that is not started again.
    ScenarioRecord& record = newRecord("complete");
    record.m_coreState = DependencyFailed;
    EXPECT_FALSE(physicsInitialize()(&record));
    EXPECT_NE(record.m_coreInitialize, nullptr);
    EXPECT_EQ(record.m_projectInitialize, nullptr);
    EXPECT_EQ(record.m_projectState, DependencyNotInitialized);
}

} // namespace
} // namespace zor::test
