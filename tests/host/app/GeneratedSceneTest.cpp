#include "host/app/GeneratedScene.h"
#include "host/io/DocumentFile.h"
#include "host/scene3d/PileLayout.h"
#include "host/scene3d/Scene3D.h"
#include "host/scene3d/SceneFile.h"
#include "support/CollectionItems.h"
#include "support/LoadedPhysicsModule.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace zor::host {
namespace {

// The bytes of the scene, written through a temporary file.
std::string generated(GeneratedKind kind, uint64 count, DocumentFormat format, const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    EXPECT_TRUE(file != nullptr && writeGeneratedScene(kind, count, format, file));
    std::fclose(file);
    std::string text;
    EXPECT_TRUE(readDocumentText(String(path.c_str()), text));
    return text;
}

TEST(GeneratedScene, EveryKindLoadsAsTheSameSpheresInTheBoxInEitherFormat) {
    ASSERT_NE(test::startLoadedPhysicsModule(), nullptr);
    const std::string folder = (std::filesystem::temp_directory_path() / "zor_generated").string();
    std::filesystem::create_directories(folder);
    constexpr uint64 kCount = 40;
    const struct {
        const char* word;
        int inside;
        double lowest;
    } kinds[] = {{"pile", kPileInside, kPileRadius}, {"wide-pile", 4, kPileRadius}, {"rain", 4, 3.6}};
    for (const auto& expected : kinds) {
        GeneratedKind kind;
        ASSERT_TRUE(generatedKindOf(expected.word, kind));
        for (DocumentFormat format : {DocumentFormat::Json, DocumentFormat::Xml}) {
            const std::string path =
                folder + "/" + expected.word + (format == DocumentFormat::Json ? ".json" : ".xml");
            SCOPED_TRACE(path);
            const std::string text = generated(kind, kCount, format, path);
            EXPECT_EQ(generated(kind, kCount, format, path), text) << "the same bytes every time";
            String error;
            auto* scene = static_cast<Scene3D<double>*>(readSceneFile(String(path.c_str()), error, true));
            ASSERT_NE(scene, nullptr) << error.c_str();
            const auto stages = test::itemsOf<GridStage<double>>(*scene->getGridStages());
            ASSERT_EQ(stages.size(), 1u);
            EXPECT_EQ(stages[0]->getColumns(), uint32(expected.inside + 2));
            const auto spheres = test::itemsOf<Element3D<double>>(scene->elements());
            ASSERT_EQ(spheres.size(), kCount);
            for (Element3D<double>* sphere : spheres) {
                const Vector3<double>& at = sphere->transform().position;
                EXPECT_TRUE(at.x > 1 && at.x < expected.inside + 1 && at.z < -1 &&
                            at.z > -(expected.inside + 1))
                    << sphere->getName().c_str();
                EXPECT_GE(at.y, expected.lowest) << sphere->getName().c_str();
                EXPECT_NE(sphere->getPhysicsAttribute(1), nullptr);
                EXPECT_NE(sphere->getPhysicsAttribute(2), nullptr);
            }
            scene->release();
        }
    }
    std::filesystem::remove_all(folder);
    GeneratedKind kind;
    EXPECT_FALSE(generatedKindOf("piles", kind));
}

} // namespace
} // namespace zor::host
