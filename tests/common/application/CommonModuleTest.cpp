#include "common/application/CommonModule.h"
#include "common/application/Libraries.h"
#include "common/compression/Lz4Compression.h"
#include "common/compression/ZipCompression.h"

#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

#include <string>

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

} // namespace
} // namespace zor
