#include "SvgPathFuzz.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace zor::test {
namespace {

// Every seed of the SVG path fuzz target's corpus passes the target's own checks.
TEST(SvgPathFuzzSeeds, EverySeedPassesTheFuzzChecks) {
    std::size_t seeds = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::path(ZOR_FUZZ_CORPUS) / "svgpath")) {
        SCOPED_TRACE(entry.path().string());
        std::ifstream file(entry.path(), std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        EXPECT_TRUE(checkSvgPathInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
        ++seeds;
    }
    EXPECT_GE(seeds, 7u);
}

} // namespace
} // namespace zor::test
