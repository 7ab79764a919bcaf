// 2D scene files read through the host's document readers, with the module's hit-test attributes
// made by the factory: the example scenes in both formats, and what a scene file cannot say.

#include "host/scene2d/Scene2DFile.h"

#include "common/object/ObjectFactory.h"
#include "host/project/HostPhysicsAttribute.h"
#include "physics/attributes/HitTestAttribute.h"
#include "support/LogLines.h"
#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace zor {
namespace {

class Scene2DFileTest : public ::testing::Test {
protected:
    Scene2DFileTest() { zor_addObjectAllocator<HitTestAttribute>(); }

    static String example(const char* name) {
        return String((std::string(ZOR_EXAMPLE_SCENES) + "/" + name).c_str());
    }

    /// Writes `text` to a scene file of the test's own and reads it.
    IScene2D* readText(const char* extension, const std::string& text) {
        const std::string path = testing::TempDir() + "zor_scene2d_" +
                                 testing::UnitTest::GetInstance()->current_test_info()->name() + extension;
        std::FILE* file = std::fopen(path.c_str(), "wb");
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
        IScene2D* scene = readScene2DFile(String(path.c_str()));
        std::remove(path.c_str());
        return scene;
    }

    test::TestApplicationData m_record{&HostObject::create, &HostPhysicsAttribute::create};
};

// "name:kind" of each record, with the element's rectangle and scene matrix.
template <typename T>
std::string describe(Scene2D<T>& scene) {
    std::string text;
    for (const UnfoldedElement2D& record : scene.clipMarkedElements()) {
        auto& element = *static_cast<Element2D<T>*>(record.m_element);
        const Rect<T>& r = element.geometry.rectangle;
        const Matrix3x3<T>& m = element.geometry.sceneMatrix;
        char line[256];
        std::snprintf(line, sizeof line, "%s:%u %g %g %g %g | %.4f %.4f %.4f %.4f %g %g | %d%d%d %s\n",
                      element.getName().c_str(), record.kind, double(r.x), double(r.y), double(r.width),
                      double(r.height), double(m[0]), double(m[1]), double(m[3]), double(m[4]), double(m[6]),
                      double(m[7]), element.state.hitTestVisible, element.state.pointerActive,
                      element.state.keyboardActive,
                      element.getPhysicsAttribute(0) != nullptr ? "attribute" : "");
        text += line;
    }
    return text;
}

TEST_F(Scene2DFileTest, TheExampleScenesReadTheSameFromJsonAsFloatAndFromXmlAsDouble) {
    for (const char* name : {"small-ui", "docking-layout"}) {
        IScene2D* json = readScene2DFile(example((std::string(name) + ".json").c_str()));
        IScene2D* xml = readScene2DFile(example((std::string(name) + ".xml").c_str()));
        ASSERT_TRUE(json != nullptr && xml != nullptr) << name << "\n" << m_record.writtenLog();
        const bool jsonIsFloat = json->getTemplateType() == VariableTypeFloat;
        Scene2D<float>& floatScene = *static_cast<Scene2D<float>*>(jsonIsFloat ? json : xml);
        Scene2D<double>& doubleScene = *static_cast<Scene2D<double>*>(jsonIsFloat ? xml : json);
        EXPECT_EQ(describe(floatScene), describe(doubleScene)) << name;
        EXPECT_EQ(floatScene.getName(), doubleScene.getName());
        json->release();
        xml->release();
    }

    IScene2D* scene = readScene2DFile(example("docking-layout.json"));
    ASSERT_NE(scene, nullptr);
    auto* layout = static_cast<Scene2D<double>*>(scene)->findElement(String("workspace"));
    const DockingLayout<double>& separators = *layout->separators();
    // The positions, the switched-off record and the layout as the separators' target are the
    // zor_host hittest answers on this file's points (HitTestEndToEnd.cmake); no point lies on
    // the record that names a position the layout does not have, nor on a bar's edge.
    EXPECT_EQ(separators.thickness, 6);
    ASSERT_EQ(separators.horizontal.size(), 4u);
    EXPECT_EQ(separators.horizontal[3].packed, 0xC0000009u);
    EXPECT_EQ(static_cast<HitTestAttribute*>(layout->getPhysicsAttribute(0))->getEventString(), "workspace");
    scene->release();
}

TEST_F(Scene2DFileTest, WhatAScene2DFileCannotSayIsRefusedWithOneLine) {
    const auto scene = [](const std::string& children) {
        return R"({"objects": [{"type": "Scene2D", "children": [)" + children + "]}]}";
    };
    const std::string attribute = R"({"type": "HitTestAttribute"})";
    const struct {
        std::string text;
        const char* line;
    } cases[] = {
        // The number type, a negative width and a separator outside a docking layout are
        // zor_host hittest's hostile inputs.
        {scene(R"({"type": "Panel", "variables": {"name": "p"}, "children": [)" + attribute + "," +
               attribute + "]}"),
         "/objects/0/children/0: expected elements, separators of a docking layout and one HitTestAttribute "
         "as "
         "children, found HitTestAttribute 1"},
        {scene(attribute),
         "/objects/0: expected elements as children of the scene, found HitTestAttribute 0"},
        {scene(
             R"({"type": "DockingLayout", "children": [{"type": "HorizontalSeparator", "variables": {"activeBits": 4}}]})"),
         "/objects/0/children/0/children/0/variables/activeBits: expected 0, 1, 2 or 3, found 4"},
        {R"({"objects": [{"type": "Panel"}]})",
         "/objects: expected one Scene2D object, found 1 object, the first a Panel"},
    };
    for (const auto& c : cases) {
        m_record.clearCaptured();
        EXPECT_EQ(readText(".json", c.text), nullptr) << c.text;
        const std::string log = m_record.writtenLog();
        EXPECT_NE(log.find(c.line), std::string::npos) << c.text << "\n" << log;
        EXPECT_NE(log.find("ERROR zor_host "), std::string::npos) << log;
    }
    // A type the scene files do not know is the document reader's to refuse.
    EXPECT_EQ(readText(".json", scene(R"({"type": "Slider"})")), nullptr);
}

} // namespace
} // namespace zor
