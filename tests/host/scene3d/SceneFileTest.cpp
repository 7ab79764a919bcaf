#include "host/scene3d/SceneFile.h"
#include "host/io/ObjectDocument.h"
#include "host/scene3d/Scene3D.h"
#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

TEST(SceneFile, MeshesComeBackBitForBitFromJsonAndXml) {
    TestApplicationData record(&HostObject::create);
    auto* original = new Element3D<double>(ElementKind::Mesh);
    original->setName(String("ramp"));
    const Vector3<double> vertices[] = {{0, 0, 0}, {4, -1.5, 0.1}, {4, -1.5, 2}, {1e-300, 2.5e10, -0.3}};
    for (const Vector3<double>& vertex : vertices)
        original->mesh()->vertices().pushBack(vertex);
    for (uint32 index : {0u, 1u, 2u, 2u, 3u, 0u})
        original->mesh()->triangles().pushBack(index);
    List<IObject*> objects;
    objects.pushBack(original);
    for (DocumentFormat format : {DocumentFormat::Json, DocumentFormat::Xml}) {
        SCOPED_TRACE(format == DocumentFormat::Json ? "JSON" : "XML");
        std::string text;
        ASSERT_TRUE(writeObjects(format, String("scene"), objects, false, text));
        List<IObject*> read;
        ASSERT_TRUE(readObjects(format, String("scene"), text, &createSceneObject, read)) << text;
        ASSERT_EQ(read.size(), 1u);
        auto* mesh = static_cast<Element3D<double>*>(read.front());
        ASSERT_NE(mesh->mesh(), nullptr);
        const auto& readVertices = mesh->mesh()->vertices();
        const auto& readTriangles = mesh->mesh()->triangles();
        EXPECT_EQ(std::vector(readVertices.begin(), readVertices.end()), std::vector(std::begin(vertices), std::end(vertices)));
        EXPECT_EQ(std::vector(readTriangles.begin(), readTriangles.end()), (std::vector<uint32>{0, 1, 2, 2, 3, 0}));
        mesh->release();
    }
    original->release();
}

TEST(SceneFile, MalformedMeshesAreRefusedNamingTheFault) {
    TestApplicationData record(&HostObject::create);
    const struct {
        const char* variables;
        const char* logged;
    } cases[] = {
        {R"("vertices": "0 0 0  1 0")", "Mesh3D{float} \"m\": vertices: 5 numbers, not three per vertex"},
        {R"("vertices": "0 0 x")", "Mesh3D{float} \"m\": vertices: entry 2, \"x\", is not a finite number"},
        {R"("vertices": "0 0 0  1 0 0  0 1 0", "triangles": "0 1")",
         "Mesh3D{float} \"m\": triangles: 2 indices, not three per triangle"},
        {R"("vertices": "0 0 0  1 0 0  0 1 0", "triangles": "0 1 3")",
         "Mesh3D{float} \"m\": triangles: index 3 names no vertex (there are 3)"},
        {R"("triangles": "0 -1 2")", "Mesh3D{float} \"m\": triangles: entry 1, \"-1\", is not a finite number"},
        {R"("vertices": "0 0 1e99")", "Mesh3D{float} \"m\": vertices: entry 2, \"1e99\", is out of range"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.variables);
        record.clearCaptured();
        const std::string text = std::string(R"({"objects": [{"type": "Mesh3D{float}", "variables": {"name": "m", )") +
                                 c.variables + "}}]}";
        List<IObject*> read;
        EXPECT_FALSE(readObjects(DocumentFormat::Json, String("scene.json"), text, &createSceneObject, read));
        EXPECT_TRUE(read.isEmpty());
        EXPECT_NE(record.writtenLog().find(c.logged), std::string::npos) << record.writtenLog();
    }
}

} // namespace
} // namespace zor::host
