#include "DocumentFuzz.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace zor::test {
namespace {

// Every seed of the fuzz targets' checked-in corpus passes the fuzz targets' own checks.
TEST(DocumentFuzzSeeds, EverySeedPassesTheFuzzChecks) {
    const struct {
        const char* folder;
        host::DocumentFormat format;
    } corpora[] = {{"json", host::DocumentFormat::Json}, {"xml", host::DocumentFormat::Xml}};
    for (const auto& corpus : corpora) {
        std::size_t seeds = 0;
        for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(ZOR_FUZZ_CORPUS) / corpus.folder)) {
            SCOPED_TRACE(entry.path().string());
            std::ifstream file(entry.path(), std::ios::binary);
            const std::vector<char> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
            EXPECT_TRUE(checkDocumentInput(corpus.format, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
            ++seeds;
        }
        EXPECT_GE(seeds, 8u) << corpus.folder;
    }
}

} // namespace
} // namespace zor::test
