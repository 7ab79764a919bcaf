// Grid stages in scene files: what a stage's variables and children become, the way back, and
// the stages a scene refuses.

#include "host/io/ObjectDocument.h"
#include "host/scene3d/Scene3D.h"
#include "host/scene3d/SceneFile.h"
#include "support/LoadedPhysicsModule.h"
#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace zor::host {
namespace {

// A stage of 3 x 2 cells with every kind of face, a lift, a cell value beyond the tiles, and
// attributes of both kinds interleaved (each kind keeps its own order).
constexpr const char* kStageScene = R"({"objects": [{"type": "Scene3D{double}", "children": [
  {"type": "GridStage3D{double}",
   "variables": {"name": "level", "columns": 3, "rows": 2, "cellWidth": 1.5, "cellDepth": 0.5, "cells": "1 0 2  2 9 1",
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

IObject* readScene(DocumentFormat format, const std::string& text) {
    List<IObject*> objects;
    EXPECT_TRUE(readObjects(format, String("scene"), text, &createSceneObject, objects)) << text;
    return objects.size() == 1 ? objects.front() : nullptr;
}

TEST(GridStageFile, StagesComeBackBitForBitFromJsonAndXml) {
    ASSERT_NE(test::startLoadedPhysicsModule(), nullptr);
    IObject* original = readScene(DocumentFormat::Json, kStageScene);
    ASSERT_NE(original, nullptr);
    GridStage<double>& stage = *firstStageOf(original);
    EXPECT_EQ(stage.getName(), "level");
    EXPECT_EQ(std::vector(stage.getCells()->begin(), stage.getCells()->end()),
              (std::vector<uint32>{1, 0, 2, 2, 9, 1}));
    ASSERT_EQ(stage.getTiles()->size(), 2u);
    const GridTile<double>& lift = (*stage.getTiles())[0];
    const GridTile<double>& walls = (*stage.getTiles())[1];
    EXPECT_TRUE(lift.floorPresent && lift.ceilingPresent);
    EXPECT_EQ(lift.floorSpeed, 0.5);
    EXPECT_EQ(lift.floorCollision, kNoGridAttribute);
    EXPECT_EQ(lift.ceilingCollision, 1u);
    EXPECT_TRUE(walls.sides[1].sidePresent && !walls.sides[1].middlePresent);
    EXPECT_FALSE(walls.sides[2].sidePresent);
    EXPECT_TRUE(walls.sides[3].lowerPresent && walls.sides[3].upperPresent);
    EXPECT_EQ(walls.sides[3].lowerHeight, -0.5);
    EXPECT_EQ(walls.sides[3].upperRigidBody, kNoGridAttribute);
    ASSERT_EQ(stage.getCollisionAttributes()->getCount(), 2u);
    ASSERT_EQ(stage.getRigidBodyAttributes()->getCount(), 1u);
    EXPECT_EQ(stage.getRigidBodyAttributes()->getData()[0], stage.getChild(1));
    EXPECT_EQ(stage.getCollisionAttributes()->getData()[1], stage.getChild(2));

    List<IObject*> objects;
    objects.pushBack(original);
    for (DocumentFormat format : {DocumentFormat::Json, DocumentFormat::Xml}) {
        SCOPED_TRACE(format == DocumentFormat::Json ? "JSON" : "XML");
        std::string text;
        ASSERT_TRUE(writeObjects(format, String("scene"), objects, false, text));
        IObject* scene = readScene(format, text);
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

TEST(GridStageFile, MalformedStagesAreRefusedNamingTheFault) {
    test::TestApplicationData record(&HostObject::create);
    const struct {
        const char* stage;
        const char* logged;
    } cases[] = {
        {R"("variables": {"name": "s", "columns": 2, "rows": 2, "cells": "1 1 1"})",
         "GridStage3D{double} \"s\": cells: 3 values, not columns x rows = 4"},
        {R"("variables": {"name": "s", "columns": 2, "rows": 1, "cells": "1 -1"})",
         "GridStage3D{double} \"s\": cells: entry 1, \"-1\", is not a finite number"},
        {R"("variables": {"name": "s", "columns": 1, "rows": 1, "cellWidth": -1})",
         "GridStage3D{double} \"s\": cellWidth and cellDepth must not be negative (they are -1 and 0)"},
        {R"("variables": {"name": "s", "columns": 100000, "rows": 100000})",
         "GridStage3D{double} \"s\": columns x rows is 10000000000 cells, more than 16777216"},
        {R"("variables": {"name": "s", "tile1": {"side2": {"upper": {"height": 1, "rigidBody": 0}}}})",
         "GridStage3D{double} \"s\": tile1 side2 upper: rigid-body attribute 0 names none (the stage has 0)"},
        {R"("children": [{"type": "Sphere3D{double}"}])",
         "/objects/0/children/0/children: the GridStage3D{double} object does not take children"},
        {R"("variables": {"tile1": {"floor": 2}})",
         "/objects/0/children/0/variables/tile1/floor: expected an object"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stage);
        record.clearCaptured();
        const std::string text =
            std::string(
                R"({"objects": [{"type": "Scene3D{double}", "children": [{"type": "GridStage3D{double}", )") +
            c.stage + "}]}]}";
        List<IObject*> read;
        EXPECT_FALSE(readObjects(DocumentFormat::Json, String("scene.json"), text, &createSceneObject, read));
        EXPECT_TRUE(read.isEmpty());
        EXPECT_NE(record.writtenLog().find(c.logged), std::string::npos) << record.writtenLog();
    }
    // A stage of the other number type is no stage of this scene.
    List<IObject*> read;
    EXPECT_FALSE(readObjects(
        DocumentFormat::Json, String("scene.json"),
        R"({"objects": [{"type": "Scene3D{float}", "children": [{"type": "GridStage3D{double}"}]}]})",
        &createSceneObject, read));
}

} // namespace
} // namespace zor::host
