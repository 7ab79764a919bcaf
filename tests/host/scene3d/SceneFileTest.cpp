#include "host/scene3d/SceneFile.h"
#include "host/io/ObjectDocument.h"
#include "host/scene3d/Scene3D.h"
#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

#include <string>

namespace zor::host {
namespace {

using test::TestApplicationData;

// A float scene with a perspective camera, a group holding a sphere, and a capsule.
Scene3D<float>* sampleScene() {
    auto* scene = new Scene3D<float>();
    scene->setGravity(3.5);
    Camera<float>& camera = scene->camera();
    camera.projection = Projection::Perspective;
    camera.fieldOfViewY = 0.75f;
    camera.aspect = 1.5f;
    camera.eye = {1, 2, 30};
    camera.target = {1, 2, 0};
    auto* group = new Element3D<float>(ElementKind::Group);
    group->setName(String("group"));
    group->transform().position = {1, 0.1f, -2};
    auto* ball = new Element3D<float>(ElementKind::Sphere);
    ball->setName(String("ball"));
    ball->transform().rotation = {0.3f, 0, 1e-7f};
    ball->scale() = {2, 2, 2};
    ball->shape().radius = 0.25f;
    auto* capsule = new Element3D<float>(ElementKind::Capsule);
    capsule->shape() = {0.5f, 1.75f};
    scene->addElement(group);
    scene->addElement(ball, group);
    scene->addElement(capsule);
    group->release();
    ball->release();
    capsule->release();
    return scene;
}

std::vector<Element3D<float>*> elementsOf(Scene3D<float>& scene) {
    std::vector<Element3D<float>*> elements;
    CollectionIterator it;
    CollectionIterator end;
    for (scene.elements().begin(&it), scene.elements().end(&end); !(it == end); ++it)
        elements.push_back(static_cast<Element3D<float>*>(*it));
    return elements;
}

TEST(SceneFile, ScenesComeBackBitForBitFromJsonAndXml) {
    TestApplicationData record(&HostObject::create);
    Scene3D<float>* original = sampleScene();
    List<IObject*> objects;
    objects.pushBack(original);
    for (DocumentFormat format : {DocumentFormat::Json, DocumentFormat::Xml}) {
        SCOPED_TRACE(format == DocumentFormat::Json ? "JSON" : "XML");
        std::string text;
        ASSERT_TRUE(writeObjects(format, String("scene"), objects, false, text));
        List<IObject*> read;
        ASSERT_TRUE(readObjects(format, String("scene"), text, &createSceneObject, read)) << text;
        ASSERT_EQ(read.size(), 1u);
        auto* scene = static_cast<Scene3D<float>*>(read.front());
        ASSERT_EQ(scene->getTypeName(), original->getTypeName());
        EXPECT_EQ(scene->getGravity(), 3.5);
        EXPECT_EQ(scene->camera().projectionMatrix(), original->camera().projectionMatrix());
        EXPECT_EQ(scene->camera().viewMatrix(), original->camera().viewMatrix());
        const std::vector<Element3D<float>*> before = elementsOf(*original);
        const std::vector<Element3D<float>*> after = elementsOf(*scene);
        ASSERT_EQ(after.size(), before.size()) << "the group's child joins the walk after it";
        for (std::size_t i = 0; i < before.size(); ++i) {
            EXPECT_EQ(after[i]->getTypeName(), before[i]->getTypeName()) << i;
            EXPECT_EQ(after[i]->getName(), before[i]->getName()) << i;
            EXPECT_EQ(after[i]->transform().position, before[i]->transform().position) << i;
            EXPECT_EQ(after[i]->transform().rotation, before[i]->transform().rotation) << i;
            EXPECT_EQ(after[i]->scale(), before[i]->scale()) << i;
            EXPECT_EQ(after[i]->shape().radius, before[i]->shape().radius) << i;
            EXPECT_EQ(after[i]->shape().height, before[i]->shape().height) << i;
        }
        EXPECT_EQ(after[1]->getParent(), after[0]);
        scene->release();
    }
    original->release();
}

TEST(SceneFile, ElementsOfAnotherNumberTypeAndForeignObjectsAreRefusedWithTheirPlace) {
    TestApplicationData record(&HostObject::create);
    const struct {
        const char* text;
        const char* logged;
    } cases[] = {
        {R"({"objects": [{"type": "Scene3D{double}", "children": [{"type": "Sphere3D{float}"}]}]})",
         "scene.json: /objects/0/children: the Scene3D{double} object does not take children"},
        {R"({"objects": [{"type": "Group3D{float}", "children": [{"type": "Scene3D{float}"}]}]})",
         "scene.json: /objects/0/children: the Group3D{float} object does not take children"},
        {R"({"objects": [{"type": "Sphere3D{double}", "variables": {"radius": "big"}}]})",
         "scene.json: /objects/0/variables/radius"},
        {R"({"objects": [{"type": "Scene3D{float}", "variables": {"camera": {"projection": "FISHEYE"}}}]})",
         "scene.json: /objects/0/variables/camera/projection"}};
    for (const auto& c : cases) {
        record.clearCaptured();
        List<IObject*> read;
        EXPECT_FALSE(
            readObjects(DocumentFormat::Json, String("scene.json"), c.text, &createSceneObject, read));
        EXPECT_TRUE(read.isEmpty());
        EXPECT_NE(record.writtenLog().find(c.logged), std::string::npos) << record.writtenLog();
    }
}

} // namespace
} // namespace zor::host
