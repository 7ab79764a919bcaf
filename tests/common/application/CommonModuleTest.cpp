#include "common/application/CommonModule.h"
#include "common/application/Libraries.h"
#include "common/compression/Lz4Compression.h"
#include "common/compression/ZipCompression.h"
#include "common/path/Path2DCommand.h"

#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zor {
namespace {

TEST(CommonModule, EntryPointsWithoutRecordOnlyWarn) {
    ApplicationData* previous = applicationData();
    setApplicationData(nullptr);
    ::testing::internal::CaptureStdout();
    EXPECT_FALSE(commonInitialize(nullptr));
    commonDeinitialize();
    EXPECT_TRUE(zor_getLibrariesDirectory().isEmpty());
    zor_addUnknownVariableAllocator("Path2DCommand{float}", []() -> RefCountedData* { return nullptr; });
    const std::string output = ::testing::internal::GetCapturedStdout();
    setApplicationData(previous);
    EXPECT_EQ(output,
              "WARN : Application data is NULL, cannot initialize component module: common\n"
              "WARN : Application data is NULL, cannot deinitialize module: common\n"
              "WARN : Application data is NULL, cannot get libraries directory\n"
              "WARN : Application data is NULL, cannot allocate variable from name Path2DCommand{float}\n");
}

// The one callback registered for `format`, or null.
template <typename Callback>
Callback onlyCallback(const HashMap<String, List<Callback>*>& lists, const char* format) {
    auto found = lists.find(format);
    return found != lists.end() && found->m_second->size() == 1 ? found->m_second->front() : nullptr;
}

TEST(CommonModule, InitializeRegistersCompressionAndQueuesItsTearDown) {
    test::TestApplicationData record;
    ASSERT_TRUE(commonInitialize(&record));
    ASSERT_EQ(record.m_deinitializeCallbacks.size(), 1u);
    EXPECT_EQ(record.m_deinitializeCallbacks.front(), &commonDeinitialize);
    EXPECT_EQ(onlyCallback(record.m_compressDataCallbacks, "lz4"), &lz4CompressData);
    EXPECT_EQ(onlyCallback(record.m_compressDataCallbacks, "zip"), &zipCompressData);
    EXPECT_EQ(onlyCallback(record.m_decompressDataCallbacks, "lz4"), &lz4DecompressData);
    EXPECT_EQ(onlyCallback(record.m_decompressDataCallbacks, "zip"), &zipDecompressData);
    // Starting the socket library works here, so nothing is logged.
    commonDeinitialize();
    EXPECT_EQ(record.writtenLog(), "");
}

TEST(PathCommandAllocators, InitializeRegistersEveryCommandClassFloatBeforeDoubleWithItsCommandType) {
    test::TestApplicationData record;
    ASSERT_TRUE(commonInitialize(&record));
    std::vector<std::string> names;
    std::vector<int> commandTypes;
    for (const auto& entry : record.m_variableAllocators) {
        names.push_back(entry.m_first.c_str());
        // Each allocator makes a fresh command of its own name, with one owner.
        RefCountedData* command = entry.m_second();
        const bool isDouble = names.back().find("{double}") != std::string::npos;
        const String& typeName = isDouble ? static_cast<Path2DCommand<double>*>(command)->getTypeName()
                                          : static_cast<Path2DCommand<float>*>(command)->getTypeName();
        commandTypes.push_back(isDouble ? static_cast<Path2DCommand<double>*>(command)->getCommandType()
                                        : static_cast<Path2DCommand<float>*>(command)->getCommandType());
        EXPECT_TRUE(typeName == entry.m_first) << entry.m_first.c_str();
        EXPECT_EQ(command->referenceCount(), 0u);
        command->release();
    }
    std::vector<std::string> expected;
    for (const char* base : {"Path2DCommand", "MoveToPath2DCommand", "LineToPath2DCommand",
                             "CurveToPath2DCommand", "SmoothPath2DCommand", "QuadCurveToPath2DCommand",
                             "QuadSmoothPath2DCommand", "ArcPath2DCommand", "ClosePath2DCommand"})
        for (const char* type : {"{float}", "{double}"})
            expected.push_back(std::string(base) + type);
    EXPECT_EQ(names, expected);
    EXPECT_EQ(commandTypes, (std::vector<int>{0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 255, 255}));
    commonDeinitialize();
}

} // namespace
} // namespace zor
