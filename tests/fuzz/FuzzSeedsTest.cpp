#include "DocumentFuzz.h"
#include "SvgPathFuzz.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace zor::test {
namespace {

// Every seed of the fuzz targets' checked-in corpora passes the targets' own checks.
TEST(FuzzSeeds, EverySeedPassesTheFuzzChecks) {
    const struct {
        const char* folder;
        bool (*check)(const std::uint8_t*, std::size_t);
        std::size_t seeds;
    } corpora[] = {
        {"json", [](const std::uint8_t* d, std::size_t n) { return checkDocumentInput(host::DocumentFormat::Json, d, n); }, 8},
        {"xml", [](const std::uint8_t* d, std::size_t n) { return checkDocumentInput(host::DocumentFormat::Xml, d, n); }, 8},
        {"svgpath", &checkSvgPathInput, 7}};
    for (const auto& corpus : corpora) {
        std::size_t seeds = 0;
        for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(ZOR_FUZZ_CORPUS) / corpus.folder)) {
            SCOPED_TRACE(entry.path().string());
            std::ifstream file(entry.path(), std::ios::binary);
            const std::vector<char> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
            EXPECT_TRUE(corpus.check(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
            ++seeds;
        }
        EXPECT_GE(seeds, corpus.seeds) << corpus.folder;
    }
}

} // namespace
} // namespace zor::test
