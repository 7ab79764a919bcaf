#include "FuzzChecks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace zor::test {
namespace {

// Every seed of the fuzz targets' checked-in corpora passes the targets' own checks.
TEST(FuzzSeeds, EverySeedPassesTheFuzzChecks) {
    const std::filesystem::path root(ZOR_FUZZ_CORPUS);
    const struct {
        const char* folder;
        DocumentObjects objects;
        host::DocumentFormat format;
        std::size_t seeds;
    } corpora[] = {
        {"json", DocumentObjects::Samples, host::DocumentFormat::Json, 8},
        {"xml", DocumentObjects::Samples, host::DocumentFormat::Xml, 8},
        {"scene3d_json", DocumentObjects::Scene3D, host::DocumentFormat::Json, 1},
        {"scene3d_xml", DocumentObjects::Scene3D, host::DocumentFormat::Xml, 1},
        {"scene2d_json", DocumentObjects::Scene2D, host::DocumentFormat::Json, 1},
        {"scene2d_xml", DocumentObjects::Scene2D, host::DocumentFormat::Xml, 1},
        {"path_json", DocumentObjects::Path, host::DocumentFormat::Json, 1},
        {"path_xml", DocumentObjects::Path, host::DocumentFormat::Xml, 1},
        {"svgpath", DocumentObjects::Samples, host::DocumentFormat::Json, 7},
        {"points", DocumentObjects::Samples, host::DocumentFormat::Json, 3},
    };
    for (const auto& corpus : corpora) {
        std::size_t seeds = 0;
        for (const auto& entry : std::filesystem::directory_iterator(root / corpus.folder)) {
            SCOPED_TRACE(entry.path().string());
            // Exactly as large as the seed, so that the sanitizers see a read past its end.
            std::vector<char> bytes(std::filesystem::file_size(entry.path()));
            std::ifstream(entry.path(), std::ios::binary).read(bytes.data(), std::streamsize(bytes.size()));
            const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
            const std::string folder = corpus.folder;
            EXPECT_TRUE(folder == "svgpath" ? checkSvgPathInput(data, bytes.size())
                        : folder == "points"
                            ? checkPointsInput(data, bytes.size())
                            : checkDocumentInput(corpus.format, corpus.objects, data, bytes.size()));
            ++seeds;
        }
        EXPECT_GE(seeds, corpus.seeds) << corpus.folder;
    }
}

} // namespace
} // namespace zor::test
