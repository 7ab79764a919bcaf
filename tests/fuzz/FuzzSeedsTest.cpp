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
    using Check = bool (*)(const std::uint8_t*, std::size_t);
    const Check json = [](const std::uint8_t* data, std::size_t size) {
        return checkDocumentInput(host::DocumentFormat::Json, data, size);
    };
    const Check xml = [](const std::uint8_t* data, std::size_t size) {
        return checkDocumentInput(host::DocumentFormat::Xml, data, size);
    };
    const Check sceneJson = [](const std::uint8_t* data, std::size_t size) {
        return checkSceneDocumentInput(host::DocumentFormat::Json, data, size);
    };
    const Check sceneXml = [](const std::uint8_t* data, std::size_t size) {
        return checkSceneDocumentInput(host::DocumentFormat::Xml, data, size);
    };
    // The scene file targets start from the example scenes; what they find joins their folder.
    const std::filesystem::path root(ZOR_FUZZ_CORPUS);
    const struct {
        std::filesystem::path folder;
        Check check;
        std::size_t seeds;
    } corpora[] = {{root / "json", json, 8},
                   {root / "xml", xml, 8},
                   {root / "svgpath", &checkSvgPathInput, 7},
                   {root / "scene_json", sceneJson, 1},
                   {root / "scene_xml", sceneXml, 1}};
    for (const auto& corpus : corpora) {
        std::size_t seeds = 0;
        for (const auto& entry : std::filesystem::directory_iterator(corpus.folder)) {
            SCOPED_TRACE(entry.path().string());
            std::ifstream file(entry.path(), std::ios::binary);
            const std::vector<char> bytes{std::istreambuf_iterator<char>(file),
                                          std::istreambuf_iterator<char>()};
            EXPECT_TRUE(corpus.check(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
            ++seeds;
        }
        EXPECT_GE(seeds, corpus.seeds) << corpus.folder.string();
    }
}

} // namespace
} // namespace zor::test
