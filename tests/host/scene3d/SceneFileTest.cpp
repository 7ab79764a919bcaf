#include "host/scene3d/SceneFile.h"
#include "host/io/DocumentFailure.h"
#include "host/io/DocumentObjects.h"
#include "host/io/JsonObjectStream.h"
#include "host/io/ObjectDocument.h"
#include "host/scene3d/Scene3D.h"
#include "support/CollectionItems.h"
#include "support/LoadedPhysicsModule.h"
#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
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

// `objects` written in `format` and read back: the one object read (the caller's), or null.
IObject* readBack(DocumentFormat format, const List<IObject*>& objects) {
    std::string text;
    EXPECT_TRUE(writeObjects(format, String("scene"), objects, false, text));
    List<IObject*> read;
    EXPECT_TRUE(readObjects(format, String("scene"), text, &createSceneObject, read)) << text;
    EXPECT_EQ(read.size(), 1u);
    return read.size() == 1 ? read.front() : nullptr;
}

// Expects the JSON document `text` to be refused, parsed whole and streamed alike, with nothing
// read and a log line holding `logged`.
void expectRefused(TestApplicationData& record, const std::string& text, const char* logged) {
    const String name("scene.json");
    std::string lines[2];
    for (const bool streamed : {false, true}) {
        record.clearCaptured();
        List<IObject*> read;
        EXPECT_FALSE(streamed ? streamJsonObjects(name, text, &createSceneObject, read)
                              : readObjects(DocumentFormat::Json, name, text, &createSceneObject, read));
        EXPECT_TRUE(read.isEmpty());
        // The log writes a line once when it comes twice in a row.
        if (!streamed) {
            EXPECT_NE(record.writtenLog().find(logged), std::string::npos) << record.writtenLog();
        }
        lines[streamed] = takeDocumentFailure(name);
    }
    EXPECT_EQ(lines[1], lines[0]) << "streamed";
}

// The document of `objects` as JSON, for comparing what two readers made.
std::string textOf(List<IObject*>& objects) {
    std::string text;
    EXPECT_TRUE(writeObjects(DocumentFormat::Json, String("scene"), objects, true, text));
    releaseObjects(objects);
    return text;
}

TEST(SceneFile, ScenesComeBackBitForBitFromJsonAndXml) {
    TestApplicationData record(&HostObject::create);
    Scene3D<float>* original = sampleScene();
    List<IObject*> objects;
    objects.pushBack(original);
    for (DocumentFormat format : {DocumentFormat::Json, DocumentFormat::Xml}) {
        SCOPED_TRACE(format == DocumentFormat::Json ? "JSON" : "XML");
        auto* scene = static_cast<Scene3D<float>*>(readBack(format, objects));
        ASSERT_NE(scene, nullptr);
        ASSERT_EQ(scene->getTypeName(), original->getTypeName());
        EXPECT_EQ(scene->getGravity(), 3.5);
        EXPECT_EQ(scene->camera().projectionMatrix(), original->camera().projectionMatrix());
        EXPECT_EQ(scene->camera().viewMatrix(), original->camera().viewMatrix());
        const std::vector<Element3D<float>*> before = test::itemsOf<Element3D<float>>(original->elements());
        const std::vector<Element3D<float>*> after = test::itemsOf<Element3D<float>>(scene->elements());
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

TEST(SceneFile, StreamedScenesAreTheScenesReadWhole) {
    ASSERT_NE(test::startLoadedPhysicsModule(), nullptr);
    std::vector<std::string> texts;
    for (const auto& file : std::filesystem::directory_iterator(ZOR_EXAMPLE_SCENES))
        if (file.path().extension() == ".json") {
            std::ifstream in(file.path());
            texts.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
    ASSERT_GE(texts.size(), 10u);
    // Entries that cannot stream their children (children first, a member twice) between ones
    // that can, in a group nested in another.
    texts.push_back(
        R"({"objects": [{"type": "Scene3D{float}", "children": [{"type": "Group3D{float}", "children": [
             {"children": [{"type": "RigidBody3DAttribute{float}", "variables": {"mass": 2}}],
              "variables": {"radius": 0.5}, "type": "Sphere3D{float}"},
             {"type": "Group3D{float}", "variables": {"name": "inner"}, "children": [
               {"type": "Sphere3D{float}", "variables": {"radius": 1, "radius": 2}}]},
             {"type": "Capsule3D{float}", "variables": {"radius": 1, "height": 2}}]}]}]})");
    for (const std::string& text : texts) {
        List<IObject*> whole, streamed;
        ASSERT_TRUE(readObjects(DocumentFormat::Json, String("scene"), text, &createSceneObject, whole))
            << text;
        ASSERT_TRUE(streamJsonObjects(String("scene"), text, &createSceneObject, streamed)) << text;
        EXPECT_EQ(textOf(streamed), textOf(whole));
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
        auto* mesh = static_cast<Element3D<double>*>(readBack(format, objects));
        ASSERT_TRUE(mesh != nullptr && mesh->mesh() != nullptr);
        const auto& readVertices = mesh->mesh()->vertices();
        const auto& readTriangles = mesh->mesh()->triangles();
        EXPECT_EQ(std::vector(readVertices.begin(), readVertices.end()),
                  std::vector(std::begin(vertices), std::end(vertices)));
        EXPECT_EQ(std::vector(readTriangles.begin(), readTriangles.end()),
                  (std::vector<uint32>{0, 1, 2, 2, 3, 0}));
        mesh->release();
    }
    original->release();
}

// A stage of 3 x 2 cells with every kind of face, a lift, and attributes of both kinds
// interleaved (each kind keeps its own order).
constexpr const char* kStageScene = R"({"objects": [{"type": "Scene3D{double}", "children": [
  {"type": "GridStage3D{double}",
   "variables": {"name": "level", "columns": 3, "rows": 2, "cellWidth": 1.5, "cellDepth": 0.5, "cells": "1 0 2  2 0 1",
     "tile1": {"floorHeight": -0.25, "ceilingHeight": 3, "floor": {"speed": 0.5, "rigidBody": 0},
               "ceiling": {"collision": 1}},
     "tile2": {"floorHeight": 0.001, "side0": {"middle": {"rigidBody": 0}}, "side1": {},
               "side3": {"lower": {"height": -0.5, "collision": 0, "rigidBody": 0}, "upper": {"height": 2}}}},
   "children": [{"type": "Collision3DAttribute{double}"},
                {"type": "RigidBody3DAttribute{double}", "variables": {"mass": 7}},
                {"type": "Collision3DAttribute{double}", "variables": {"eventString": "ceiling"}}]}]}]})";

GridStage<double>* firstStageOf(IObject* scene) {
    CollectionIterator it;
    static_cast<Scene3D<double>*>(scene)->getGridStages()->begin(&it);
    return static_cast<GridStage<double>*>(*it);
}

TEST(SceneFile, StagesComeBackBitForBitFromJsonAndXml) {
    ASSERT_NE(test::startLoadedPhysicsModule(), nullptr);
    List<IObject*> objects;
    ASSERT_TRUE(readObjects(DocumentFormat::Json, String("scene"), kStageScene, &createSceneObject, objects));
    IObject* original = objects.front();
    GridStage<double>& stage = *firstStageOf(original);
    EXPECT_EQ(stage.getName(), "level");
    EXPECT_EQ(std::vector(stage.getCells()->begin(), stage.getCells()->end()),
              (std::vector<uint32>{1, 0, 2, 2, 0, 1}));
    ASSERT_EQ(stage.getTiles()->size(), 2u);
    const GridTile<double>& lift = (*stage.getTiles())[0];
    const GridTile<double>& walls = (*stage.getTiles())[1];
    EXPECT_TRUE(lift.floorPresent && lift.ceilingPresent);
    // Copies: the tile record is packed, its members are not aligned for a reference.
    EXPECT_EQ(double(lift.floorSpeed), 0.5);
    EXPECT_EQ(uint32(lift.floorCollision), kNoGridAttribute);
    EXPECT_EQ(uint32(lift.ceilingCollision), 1u);
    EXPECT_TRUE(walls.sides[1].sidePresent && !walls.sides[1].middlePresent);
    EXPECT_FALSE(walls.sides[2].sidePresent);
    EXPECT_TRUE(walls.sides[3].lowerPresent && walls.sides[3].upperPresent);
    EXPECT_EQ(double(walls.sides[3].lowerHeight), -0.5);
    EXPECT_EQ(uint32(walls.sides[3].upperRigidBody), kNoGridAttribute);
    ASSERT_EQ(stage.getCollisionAttributes()->getCount(), 2u);
    ASSERT_EQ(stage.getRigidBodyAttributes()->getCount(), 1u);
    EXPECT_EQ(stage.getRigidBodyAttributes()->getData()[0], stage.getChild(1));
    EXPECT_EQ(stage.getCollisionAttributes()->getData()[1], stage.getChild(2));

    for (DocumentFormat format : {DocumentFormat::Json, DocumentFormat::Xml}) {
        SCOPED_TRACE(format == DocumentFormat::Json ? "JSON" : "XML");
        IObject* scene = readBack(format, objects);
        ASSERT_NE(scene, nullptr);
        GridStage<double>& again = *firstStageOf(scene);
        EXPECT_EQ(again.getColumns(), 3u);
        EXPECT_EQ(again.getCellWidth(), 1.5);
        EXPECT_EQ(again.getCellDepth(), 0.5);
        EXPECT_EQ(std::vector(again.getCells()->begin(), again.getCells()->end()),
                  std::vector(stage.getCells()->begin(), stage.getCells()->end()));
        ASSERT_EQ(again.getTiles()->size(), 2u);
        EXPECT_EQ(
            std::memcmp(again.getTiles()->data(), stage.getTiles()->data(), 2 * sizeof(GridTile<double>)), 0);
        EXPECT_EQ(again.getCollisionAttributes()->getData()[1]->getTypeName(),
                  "Collision3DAttribute{double}");
        EXPECT_EQ(again.getRigidBodyAttributes()->getCount(), 1u);
        scene->release();
    }
    original->release();
}

TEST(SceneFile, MalformedScenesMeshesAndStagesAreRefusedNamingTheFault) {
    TestApplicationData record(&HostObject::create);
    const auto mesh = [](const std::string& variables) {
        return R"({"objects": [{"type": "Mesh3D{float}", "variables": {"name": "m", )" + variables + "}}]}";
    };
    const auto nested = [](int levels) {
        std::string text = R"({"objects": [)";
        for (int level = 0; level < levels; ++level)
            text += R"({"type": "Group3D{float}", "children": [)";
        for (int level = 0; level < levels; ++level)
            text += "]}";
        return text + "]}";
    };
    const auto stage = [](const std::string& content) {
        return R"({"objects": [{"type": "Scene3D{double}", "children": [{"type": "GridStage3D{double}", )" +
               content + "}]}]}";
    };
    const struct {
        std::string text;
        const char* logged;
    } cases[] = {
        // Elements of another number type and foreign objects, with their place.
        {R"({"objects": [{"type": "Scene3D{double}", "children": [{"type": "Sphere3D{float}", "variables": {"radius": 1}}]}]})",
         "scene.json: /objects/0/children: the Scene3D{double} object does not take children"},
        {R"({"objects": [{"type": "Group3D{float}", "children": [{"type": "Scene3D{float}"}]}]})",
         "scene.json: /objects/0/children: the Group3D{float} object does not take children"},
        {R"({"objects": [{"type": "Sphere3D{double}", "variables": {"radius": "big"}}]})",
         "scene.json: /objects/0/variables/radius"},
        {R"({"objects": [{"type": "Scene3D{float}", "variables": {"camera": {"projection": "FISHEYE"}}}]})",
         "scene.json: /objects/0/variables/camera/projection"},
        // Shapes of no size.
        {R"({"objects": [{"type": "Sphere3D{double}"}]})",
         "scene.json: /objects/0/variables/radius: expected a radius above 0, found 0"},
        {R"({"objects": [{"type": "Capsule3D{float}", "variables": {"radius": 1, "height": -2}}]})",
         "scene.json: /objects/0/variables/height: expected a capsule height above 0, found -2"},
        {mesh(R"("vertices": "0 0 0  1 0")"),
         "/objects/0/variables/vertices: expected three numbers per vertex, found 5"},
        {mesh(R"("vertices": "0 0 x")"),
         "/objects/0/variables/vertices: expected finite numbers, x y z per vertex, "
         "found entry 2, \"x\""},
        {mesh(R"("vertices": "0 0 0  1 0 0  0 1 0", "triangles": "0 1")"),
         "/objects/0/variables/triangles: expected three vertex indices per triangle, found 2 indices"},
        {mesh(R"("vertices": "0 0 0  1 0 0  0 1 0", "triangles": "0 1 3")"),
         "/objects/0/variables/triangles: expected vertex indices below 3 (the count of vertices), found "
         "entry 2, 3"},
        {mesh(R"("triangles": "0 -1 2")"),
         "/objects/0/variables/triangles: expected vertex indices, three per "
         "triangle, found entry 1, \"-1\""},
        {mesh(R"("vertices": "0 0 1e99")"), "found entry 2, \"1e99\" (out of range)"},
        {stage(
             R"("variables": {"name": "s", "columns": 2, "rows": 2, "cellWidth": 1, "cellDepth": 1, "cells": "1 1 1"})"),
         "/objects/0/children/0/variables/cells: expected columns x rows = 4 values, found 3"},
        {stage(
             R"("variables": {"name": "s", "columns": 2, "rows": 1, "cellWidth": 1, "cellDepth": 1, "cells": "1 -1"})"),
         "/objects/0/children/0/variables/cells: expected cell values, whole numbers, found entry 1, \"-1\""},
        {stage(
             R"("variables": {"name": "s", "columns": 2, "rows": 1, "cellWidth": 1, "cellDepth": 1, "cells": "0 1"})"),
         "/objects/0/children/0/variables/cells: expected cell values from 0 to 0 (the stage's tiles), found "
         "1 at "
         "column 1, row 0"},
        {stage(R"("variables": {"name": "s", "columns": 1, "rows": 1, "cellWidth": -1})"),
         "/objects/0/children/0/variables/cellWidth: expected a cell width above 0, found -1"},
        {stage(R"("variables": {"name": "s", "columns": 1, "rows": 1, "cellWidth": 1})"),
         "/objects/0/children/0/variables/cellDepth: expected a cell depth above 0, found 0"},
        {stage(
             R"("variables": {"name": "s", "columns": 100000, "rows": 100000, "cellWidth": 1, "cellDepth": 1})"),
         "/objects/0/children/0/variables/rows: expected columns x rows of 16777216 cells at most, found "
         "10000000000 "
         "cells"},
        {stage(
             R"("variables": {"name": "s", "cellWidth": 1, "cellDepth": 1, "tile1": {"side2": {"upper": {"height": 1, "rigidBody": 0}}}})"),
         "GridStage3D{double} \"s\": tile1 side2 upper: rigid-body attribute 0 names none (the stage has 0)"},
        {stage(
             R"("variables": {"cellWidth": 1, "cellDepth": 1}, "children": [{"type": "Sphere3D{double}", "variables": {"radius": 1}}])"),
         "/objects/0/children/0/children: the GridStage3D{double} object does not take children"},
        {stage(R"("variables": {"cellWidth": 1, "cellDepth": 1, "tile1": {"floor": 2}})"),
         "/objects/0/children/0/variables/tile1/floor: expected an object"},
        // Entries that are not streamed, refusals before a syntax error, nesting and shapes.
        {R"({"objects": [{"type": "Scene3D{double}", "children": [{"children": [], "type": "Sphere3D{double}", "variables": {"radius": -1}}]}]})",
         "scene.json: /objects/0/children/0/variables/radius: expected a radius above 0, found -1"},
        {R"({"objects": [{"type": "Scene3D{double}", "children": [], "extra": 1}]})",
         "scene.json: /objects/0/extra: expected only the members type, variables and children, found 1"},
        {R"({"objects": [{"type": "Sphere3D{double}", "variables": {"radius": -1}}, 5 6]})",
         "scene.json: line 1, column 75: not JSON: syntax error"},
        {R"({"objects": [{"type": "Scene3D{double}", "children": [7]}]})",
         "scene.json: /objects/0/children/0: expected an object entry"},
        {R"({"objects": [], "more": 1})",
         "scene.json: /: expected a document {\"objects\": [...]}, found an object"},
        {R"({"objects": {}})", "scene.json: /objects: expected an array of objects, found an object"},
        {nested(66), "/children/0/children: expected objects nested at most 64 deep"},
        // A stage of the other number type.
        {R"({"objects": [{"type": "Scene3D{float}", "children": [{"type": "GridStage3D{double}", "variables": {"cellWidth": 1, "cellDepth": 1}}]}]})",
         "/objects/0/children: the Scene3D{float} object does not take children"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        expectRefused(record, c.text, c.logged);
    }
}

} // namespace
} // namespace zor::host
