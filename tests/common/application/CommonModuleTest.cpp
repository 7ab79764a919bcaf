#include "common/application/CommonModule.h"
#include "common/application/Libraries.h"
#include "common/compression/Lz4Compression.h"
#include "common/compression/ZipCompression.h"

#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace zor {
namespace {

RefCountedData* noAllocator() {
    return nullptr;
}

TEST(CommonModule, EntryPointsWithoutRecordOnlyWarn) {
    const struct {
        const char* message;
        std::function<void()> call;
    } cases[] = {
        {"Application data is NULL, cannot initialize component module: common",
         [] { EXPECT_FALSE(commonInitialize(nullptr)); }},
        {"Application data is NULL, cannot deinitialize module: common", [] { commonDeinitialize(); }},
        {"Application data is NULL, cannot get libraries directory",
         [] { EXPECT_TRUE(zor_getLibrariesDirectory().isEmpty()); }},
        {"Application data is NULL, cannot allocate variable from name Path2DCommand{float}",
         [] { zor_addUnknownVariableAllocator("Path2DCommand{float}", &noAllocator); }},
    };
    ApplicationData* previous = applicationData();
    setApplicationData(nullptr);
    for (const auto& c : cases) {
        ::testing::internal::CaptureStdout();
        c.call();
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), std::string("WARN : ") + c.message + "\n");
    }
    setApplicationData(previous);
}

TEST(CommonModule, InitializeRegistersCompressionAndQueuesItsTearDown) {
    test::TestApplicationData record;
    ASSERT_TRUE(commonInitialize(&record));

    ASSERT_EQ(record.m_deinitializeCallbacks.size(), 1u);
    EXPECT_EQ(record.m_deinitializeCallbacks.front(), &commonDeinitialize);
    for (const char* format : {"lz4", "zip"}) {
        SCOPED_TRACE(format);
        auto compressors = record.m_compressDataCallbacks.find(format);
        auto decompressors = record.m_decompressDataCallbacks.find(format);
        ASSERT_NE(compressors, record.m_compressDataCallbacks.end());
        ASSERT_NE(decompressors, record.m_decompressDataCallbacks.end());
        ASSERT_EQ(compressors->m_second->size(), 1u);
        ASSERT_EQ(decompressors->m_second->size(), 1u);
        const bool lz4 = std::string(format) == "lz4";
        EXPECT_EQ(compressors->m_second->front(), lz4 ? &lz4CompressData : &zipCompressData);
        EXPECT_EQ(decompressors->m_second->front(), lz4 ? &lz4DecompressData : &zipDecompressData);
    }
    // Starting the socket library works here, so nothing is logged.
    EXPECT_EQ(record.writtenLog(), "");
    commonDeinitialize();
    EXPECT_EQ(record.writtenLog(), "");
}

} // namespace
} // namespace zor
