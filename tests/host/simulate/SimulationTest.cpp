// Scenes stepped as zor_host simulate steps them: read from scene files, run by the loaded
// module's engine with the host's collision detector; and the outputs written of a run.

#include "host/simulate/Simulation.h"
#include "host/simulate/RunSummary.h"
#include "host/simulate/Trajectory.h"

#include "common/object/Identifiers.h"
#include "host/core/HostFactory.h"
#include "host/io/MarkupText.h"
#include "host/io/ObjectDocument.h"
#include "host/scene3d/SceneFile.h"
#include "support/LoadedPhysicsModule.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <pugixml.hpp>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

namespace zor::host {
namespace {

// The scene of a JSON scene document.
IObject* sceneFrom(const char* text) {
    List<IObject*> objects;
    EXPECT_TRUE(readObjects(DocumentFormat::Json, String("scene.json"), text, &createSceneObject, objects));
    return objects.isEmpty() ? nullptr : objects.front();
}

// Runs `scene` (released afterwards) into `observer`.
RunEnd observe(IObject* scene, const SimulationSettings& settings, RunObserver& observer) {
    IObject* engine = createObjectByTypeName(String("PhysicsEngine3D"));
    EXPECT_TRUE(engine != nullptr && scene != nullptr);
    if (engine == nullptr || scene == nullptr)
        return {};
    auto* resources = new HostObject();
    static_cast<IPhysicsEngine3D*>(engine)->setResourcesHandler(resources);
    resources->release();
    const RunEnd end = scene->getTemplateType() == 10
                           ? runSimulation(*static_cast<IPhysicsEngine3D*>(engine),
                                           *static_cast<Scene3D<float>*>(scene), settings, observer)
                           : runSimulation(*static_cast<IPhysicsEngine3D*>(engine),
                                           *static_cast<Scene3D<double>*>(scene), settings, observer);
    engine->release();
    scene->release();
    return end;
}

// Keeps every step of a run, and the rows of its contacts.csv, made as late as a writer may:
// when the next recorded step gathers its contacts, after the steps in between.
struct Keeper : RunObserver {
    Trajectory run;
    std::string contactRows;
    std::optional<StepRecord> last;
    std::vector<std::string> names;
    void start(const RunStart& start) override {
        startTrajectory(start, run);
        run.mostFrames = SIZE_MAX;
    }
    void step(const StepRecord& record) override {
        const std::vector<ContactRecord> contacts = namedContacts(record, run.bodies, kMostContactsPerFrame);
        run.keep(record.step, record.time, record.bodies, &contacts);
        if (record.contactList == nullptr)
            return;
        names = run.bodies;
        names.insert(names.end(), record.otherNames->begin(), record.otherNames->end());
        last.emplace(record);
    }
    void gathering() override {
        if (!last)
            return;
        std::vector<ContactEntry> entries;
        last->contactList->entries(0, last->contactList->size(), entries);
        appendContactCsvRows(contactRows, last->step, last->time, entries, names, run.singlePrecision);
        last.reset();
    }
    void finish(const RunEnd&) override { gathering(); }
};

// Runs `scene` (released afterwards) for `steps` steps of `deltaT`, all of which must be made.
Trajectory simulate(IObject* scene, uint64 steps, double deltaT) {
    Keeper keeper;
    EXPECT_EQ(observe(scene, {steps, deltaT}, keeper).kind, RunEnd::Kind::Completed);
    return keeper.run;
}

TEST(SimulatedScenes, ABallDroppedOnATileFloorBouncesToAQuarterOfItsHeightAndItsContactsAreRecorded) {
    ASSERT_NE(test::startLoadedPhysicsModule(), nullptr);
    // A 2 x 2 map of floor at y = 0 and a ball of radius 0.25 whose bottom is 1 m above it.
    const Trajectory run = simulate(
        sceneFrom(R"({"objects": [{"type": "Scene3D{double}", "variables": {"gravity": 9.81}, "children": [
      {"type": "GridStage3D{double}", "variables": {"columns": 2, "rows": 2, "cellWidth": 1, "cellDepth": 1,
         "cells": "1 1  1 1", "tile1": {"floor": {"rigidBody": 0}}},
       "children": [{"type": "RigidBody3DAttribute{double}", "variables": {"infiniteMass": true, "restitutionFactor": 0.5}}]},
      {"type": "Sphere3D{double}", "variables": {"name": "ball", "position": {"x": 1, "y": 1.25, "z": -1}, "radius": 0.25},
       "children": [{"type": "RigidBody3DAttribute{double}", "variables": {"restitutionFactor": 0.5}},
                    {"type": "Collision3DAttribute{double}", "variables": {"eventParent": 0}}]}]}]})"),
        1000, 0.001);
    ASSERT_EQ(run.stepCount(), 1001u);
    std::size_t step = 1;
    while (step < run.stepCount() && run.at(step, 0).linearSpeed[1] <= 0)
        ++step;
    ASSERT_LT(step, run.stepCount()) << "the ball never bounced";
    double peak = 0;
    for (; step < run.stepCount() && run.at(step, 0).linearSpeed[1] > 0; ++step)
        peak = std::max(peak, run.at(step, 0).position[1] - 0.25);
    EXPECT_NEAR(peak, 0.25, 0.02);

    // Each contact names the ball and the floor's cell, points from the ball to the floor, and
    // lies midway through the overlap below the ball's centre.
    std::size_t contacts = 0;
    for (std::size_t frame = 0; frame < run.stepCount(); ++frame)
        for (const ContactRecord& contact : run.contacts[frame]) {
            ++contacts;
            EXPECT_EQ(contact.first, "ball");
            EXPECT_NE(contact.second.find(": floor of cell "), std::string::npos) << contact.second;
            EXPECT_EQ(contact.normal, (std::array<double, 3>{0, -1, 0}));
            const BodySample& ball = run.at(frame, 0);
            EXPECT_NEAR(contact.point[0], ball.position[0], 1e-12);
            EXPECT_NEAR(contact.point[2], ball.position[2], 1e-12);
            EXPECT_NEAR(contact.point[1], -contact.depth / 2, 1e-9) << "step " << run.steps[frame];
        }
    EXPECT_GT(contacts, 0u);
}

TEST(SimulatedScenes, ExampleScenesKeepEveryBodyAboveTheFloorAndRecordTheContactsTheEngineLists) {
    ASSERT_NE(test::startLoadedPhysicsModule(), nullptr);
    // Every example's lowest floor is at y = 0; the runs are the ones the README suggests. Their
    // contacts (balls, a mesh, faces), in both number types and recorded every step or every 7th,
    // are recorded the same from the engine's list as from its callbacks. So are those of a cart
    // rolling on a wheel that is its child, whose place the next steps change.
    for (const char* file : {"balls_in_box_elastic.json", "balls_in_box_inelastic.json", "capsule_level.json",
                             "mesh_ramp.json", "exclusion_groups.json", "tile_map_break.json", ""})
        for (const bool single : {false, true})
            for (const uint64 every : {1, 7}) {
                SCOPED_TRACE(std::string(file) + (single ? " float " : " ") + std::to_string(every));
                std::string text;
                if (std::ifstream in(std::string(ZOR_EXAMPLE_SCENES "/") + file); *file != 0)
                    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
                else
                    text =
                        R"({"objects": [{"type": "Scene3D{double}", "variables": {"gravity": 9.81}, "children": [
      {"type": "GridStage3D{double}", "variables": {"columns": 2, "rows": 2, "cellWidth": 1, "cellDepth": 1,
         "cells": "1 1  1 1", "tile1": {"floor": {"rigidBody": 0}}},
       "children": [{"type": "RigidBody3DAttribute{double}", "variables": {"infiniteMass": true}}]},
      {"type": "Sphere3D{double}", "variables": {"name": "cart", "radius": 0.01, "position": {"x": 0.5, "y": 0.5, "z": -1}},
       "children": [{"type": "RigidBody3DAttribute{double}", "variables": {"linearSpeed": {"x": 0.1, "y": 0, "z": 0}}},
         {"type": "Sphere3D{double}", "variables": {"name": "wheel", "position": {"x": 0, "y": -0.2, "z": 0}, "radius": 0.25},
          "children": [{"type": "Collision3DAttribute{double}", "variables": {"eventParent": 1}}]}]}]}]})";
                for (std::size_t at; single && (at = text.find("{double}")) != std::string::npos;)
                    text.replace(at, 8, "{float}");
                Keeper called, listed;
                observe(sceneFrom(text.c_str()), {1000, 0.01, every, false}, called);
                ASSERT_EQ(observe(sceneFrom(text.c_str()), {1000, 0.01, every, true}, listed).kind,
                          RunEnd::Kind::Completed);
                EXPECT_NE(called.contactRows, "");
                EXPECT_TRUE(listed.contactRows == called.contactRows);
                const Trajectory& run = listed.run;
                // The cart rolls off its floor.
                for (std::size_t body = 0; *file != 0 && body < run.bodies.size(); ++body) {
                    double lowest = run.at(0, body).position[1];
                    for (std::size_t step = 0; step < run.stepCount(); ++step)
                        lowest = std::min(lowest, run.at(step, body).position[1]);
                    // The engine leaves a body sunk by its slop of 0.001 at most, and by a step's
                    // fall; a mesh is kept still.
                    const BodyShape& shape = run.shapes[body];
                    const double below =
                        shape.kind == BodyShape::Kind::Mesh ? 0 : shape.radius + shape.height / 2;
                    EXPECT_GT(lowest - below, -0.01) << run.bodies[body];
                }
            }
}

TEST(SimulatedScenes, TheSummaryTellsEnergyContactsAndTheBodiesThatLeftEveryFloor) {
    ASSERT_NE(test::startLoadedPhysicsModule(), nullptr);
    String error;
    RunSummary box;
    observe(readSceneFile(String(ZOR_EXAMPLE_SCENES "/balls_in_box_elastic.json"), error), {1000, 0.01}, box);
    const auto summary = nlohmann::json::parse(box.json());
    EXPECT_EQ(summary["steps"], 1000);
    EXPECT_EQ(summary["bodies"], 6);
    EXPECT_NEAR(summary["energy"]["start"].get<double>(), 127.345, 1e-9);
    EXPECT_TRUE(summary["energy"]["end"].is_number());
    EXPECT_GT(summary["contactsPerStep"]["mean"].get<double>(), 0);
    EXPECT_GT(summary["contactsPerStep"]["max"].get<int>(), 1);
    EXPECT_GT(summary["deepestOverlap"].get<double>(), 0);
    EXPECT_TRUE(box.leftEveryFloor().empty());

    // A walled row of three cells: one ball rests on it, one is thrown at 50 m/s through a wall.
    RunSummary thrown;
    observe(
        sceneFrom(R"({"objects": [{"type": "Scene3D{double}", "variables": {"gravity": 9.81}, "children": [
      {"type": "GridStage3D{double}", "variables": {"columns": 3, "rows": 1, "cellWidth": 1, "cellDepth": 1,
         "cells": "1 2 3", "tile1": {"floor": {"rigidBody": 0}, "ceilingHeight": 2, "side2": {"middle": {"rigidBody": 0}}},
         "tile2": {"floor": {"rigidBody": 0}, "ceilingHeight": 2},
         "tile3": {"floor": {"rigidBody": 0}, "ceilingHeight": 2, "side0": {"middle": {"rigidBody": 0}}}},
       "children": [{"type": "RigidBody3DAttribute{double}", "variables": {"infiniteMass": true}}]},
      {"type": "Sphere3D{double}", "variables": {"name": "resting", "position": {"x": 0.5, "y": 0.25, "z": -0.5}, "radius": 0.25},
       "children": [{"type": "RigidBody3DAttribute{double}", "variables": {"restitutionFactor": 0}},
                    {"type": "Collision3DAttribute{double}", "variables": {"eventParent": 0}}]},
      {"type": "Sphere3D{double}", "variables": {"name": "thrown", "position": {"x": 1.5, "y": 0.25, "z": -0.5}, "radius": 0.25},
       "children": [{"type": "RigidBody3DAttribute{double}", "variables": {"linearSpeed": {"x": 50, "y": 0, "z": 0}}},
                    {"type": "Collision3DAttribute{double}", "variables": {"eventParent": 0}}]}]}]})"),
        {50, 0.02}, thrown);
    EXPECT_EQ(thrown.leftEveryFloor(), std::vector<std::string>{"thrown"});
}

TEST(SimulatedScenes, ABodyNestedInAMovingElementIsRecordedWhereItIsInTheScene) {
    ASSERT_NE(test::startLoadedPhysicsModule(), nullptr);
    // A cart turned a quarter turn about z moves along x at 1 m/s; its ball sits 1 m along the
    // cart's x axis, which the turn points up, and turns a little more on its own.
    const Trajectory run = simulate(sceneFrom(R"({"objects": [{"type": "Scene3D{double}", "children": [
      {"type": "Group3D{double}", "variables": {"name": "cart", "rotation": {"x": 0, "y": 0, "z": 1.5707963267948966}},
       "children": [{"type": "RigidBody3DAttribute{double}", "variables": {"linearSpeed": {"x": 1, "y": 0, "z": 0}}},
         {"type": "Sphere3D{double}", "variables": {"name": "ball", "position": {"x": 1, "y": 0, "z": 0},
                                                    "rotation": {"x": 0, "y": 0, "z": 0.25}, "radius": 0.25},
          "children": [{"type": "RigidBody3DAttribute{double}"}]}]}]}]})"),
                                    10, 0.1);
    ASSERT_EQ(run.bodies, (std::vector<std::string>{"cart", "ball"}));
    const BodySample& ball = run.at(10, 1);
    EXPECT_NEAR(run.at(10, 0).position[0], 1, 1e-12);
    EXPECT_NEAR(ball.position[0], 1, 1e-12);
    EXPECT_NEAR(ball.position[1], 1, 1e-12);
    EXPECT_NEAR(ball.rotation[2], 1.5707963267948966 + 0.25, 1e-12);
}

std::size_t count(const std::string& text, const std::string& piece) {
    std::size_t found = 0;
    for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
        ++found;
    return found;
}

// Two bodies over three steps; the second leaves the view on the right and comes back left.
Trajectory sampleRun() {
    Trajectory run;
    run.bodies = {"ball", "a<b&\"c\""};
    run.steps = {0, 1, 2};
    run.times = {0, 0.5, 1};
    const double xs[3][2] = {{0, 9}, {0, 11}, {0, -9}};
    for (int step = 0; step < 3; ++step)
        for (int body = 0; body < 2; ++body)
            run.samples.push_back(BodySample{
                {xs[step][body], -1.25 * step, 0.1 * body}, {0, 0, 0.5 * step}, {0, -2.5 * step, 0}});
    return run;
}

// The names as the CSV files hold them.
std::vector<std::string> csvNames(std::vector<std::string> names) {
    for (std::string& name : names)
        name = csvText(name);
    return names;
}

TEST(TrajectoryOutput, CsvHasOneRowPerStepAndBodyAndOnePerContact) {
    const Trajectory run = sampleRun();
    EXPECT_EQ(trajectoryCsvHeader(),
              "step,time,element,x,y,z,rotationX,rotationY,rotationZ,speedX,speedY,speedZ\n");
    const std::vector<std::string> names = csvNames({"ball", "a<b&\"c\"", "box: floor of cell 3"});
    std::string rows;
    appendTrajectoryCsvRows(rows, 1, 0.5, std::span(names).first(2), std::span(run.samples).subspan(2, 2),
                            false);
    EXPECT_EQ(rows.substr(0, rows.find('\n') + 1), "1,0.5,ball,0,-1.25,0,0,0,0.5,0,-2.5,0\n");
    EXPECT_NE(rows.find("\n1,0.5,\"a<b&\"\"c\"\"\",11,-1.25,0.1,"), std::string::npos) << "quoted field";

    // Parties by number, beyond the bodies too; a float run's numbers as the float's shortest text.
    const ContactEntry contacts[] = {{1, 2, {0, -1, 0}, 0.1, {1, 2, 3}},
                                     {0, 1, {1, 0, 0}, 1e-300, {-0.5, 0, 1e20}}};
    rows.clear();
    appendContactCsvRows(rows, 7, 0.25, contacts, names, true);
    EXPECT_EQ(rows, "7,0.25,\"a<b&\"\"c\"\"\",box: floor of cell 3,0,-1,0,0.1,1,2,3\n"
                    "7,0.25,ball,\"a<b&\"\"c\"\"\",1,0,0,0,-0.5,0,1e+20\n");
}

TEST(TrajectoryOutput, SvgDrawsOnePathPerBodyBrokenAtWrapAroundsAndShowsAFarAwayBodyAtTheEdge) {
    Trajectory run = sampleRun();
    const std::string svg = trajectorySvg(run, "Run <1>");
    EXPECT_EQ(count(svg, "<path "), 2u);
    EXPECT_EQ(count(svg, "<circle "), 4u) << "the final position in both views";
    EXPECT_NE(svg.find("<text x=\"20\" y=\"24\" font-size=\"16\">Run &lt;1&gt;</text>"), std::string::npos);
    EXPECT_NE(svg.find("data-body=\"a&lt;b&amp;&quot;c&quot;\""), std::string::npos);
    // Side and top subpaths of the first body: a start each and no jump.
    const std::size_t first = svg.find(" d=\"");
    const std::string ball = svg.substr(first, svg.find('"', first + 4) - first);
    EXPECT_EQ(count(ball, "M"), 2u);
    const std::size_t second = svg.find(" d=\"", first + 1);
    const std::string wrapped = svg.substr(second, svg.find('"', second + 4) - second);
    EXPECT_EQ(count(wrapped, "M"), 4u) << "each view restarts where the body wrapped";
    EXPECT_NE(svg.find("ends at (-9, -2.5, 0.1)"), std::string::npos);

    // A body far away is shown at the edge and keeps the others large.
    run.bodies.push_back("far");
    for (std::size_t step = 0; step < 3; ++step)
        run.samples.insert(run.samples.begin() + 3 * step + 2, BodySample{{1e6, 1e6 * step, 0}, {}, {}});
    const std::string far = trajectorySvg(run, "Run");
    // The second body's side-view path (its points left of the top view's panel) spans far more
    // than a tenth of the 440 units of a panel.
    const std::size_t farSecond = far.find(" d=\"", far.find(" d=\"") + 1) + 4;
    const std::string path = far.substr(farSecond, far.find('"', farSecond) - farSecond);
    double least = 1e9, most = -1e9;
    for (std::size_t at = path.find_first_of("ML"); at != std::string::npos;
         at = path.find_first_of("ML", at + 1))
        if (const double x = std::stod(path.substr(at + 1)); x < 500) {
            least = std::min(least, x);
            most = std::max(most, x);
        }
    EXPECT_GT(most - least, 44) << path;
    EXPECT_NE(far.find("far: ends at (1e+06, 2e+06, 0), beyond the views"), std::string::npos);
}

TEST(TrajectoryOutput, SvgFillsTheSceneryItFacesAndDrawsTheRestAsLines) {
    Trajectory run = sampleRun();
    using Kind = SceneryFace::Kind;
    run.scenery = {{Kind::Floor, {{0, 0, 0}, {0, 0, -1}, {1, 0, -1}, {1, 0, 0}}},
                   {Kind::Ceiling, {{0, 2, 0}, {1, 2, 0}, {1, 2, -1}, {0, 2, -1}}},
                   {Kind::Wall, {{1, 0, 0}, {1, 2, 0}, {1, 2, -1}, {1, 0, -1}}}};
    const std::string svg = trajectorySvg(run, "Run");
    // From the side all three are edge-on; from above the floor is filled, the wall is a line
    // and the ceiling is left out.
    EXPECT_EQ(count(svg, "<polygon "), 5u);
    EXPECT_EQ(count(svg, "<g fill=\"none\""), 4u);
    EXPECT_EQ(count(svg, "<g fill=\"#e4e4e4\""), 1u);
    EXPECT_LT(svg.find("<polygon "), svg.find("<path ")) << "the paths are drawn over the scenery";

    // A mesh that nothing moves is scenery: no path, no mark and no line of the legend.
    run.bodies.push_back("ramp");
    run.shapes.resize(3);
    run.shapes[2].kind = BodyShape::Kind::Mesh;
    run.shapes[2].immovable = true;
    for (std::size_t step = 0; step < 3; ++step)
        run.samples.insert(run.samples.begin() + 3 * step + 2, BodySample{{500, 500, 500}, {}, {}});
    const std::string ramp = trajectorySvg(run, "Run");
    EXPECT_EQ(count(ramp, "<path "), 2u);
    EXPECT_EQ(ramp.find("ramp"), std::string::npos);
    EXPECT_EQ(ramp.substr(ramp.find("viewBox")), svg.substr(svg.find("viewBox")))
        << "nor does it widen the views";
}

TEST(TrajectoryOutput, ALongRunKeepsABoundedNumberOfEvenlySpacedFrames) {
    Trajectory run;
    run.bodies = {"ball"};
    run.mostFrames = 100;
    const std::vector<BodySample> state(1, BodySample{});
    for (uint64 step = 0; step <= 10000; ++step)
        run.offer(step, static_cast<double>(step), state);
    run.keep(10000, 10000, state);
    EXPECT_LE(run.stepCount(), 100u);
    EXPECT_GT(run.stepCount(), 50u);
    EXPECT_TRUE(run.thinned());
    for (std::size_t frame = 0; frame + 1 < run.stepCount(); ++frame)
        EXPECT_EQ(run.steps[frame], frame * run.stride) << frame;
    EXPECT_EQ(run.steps.back(), 10000u) << "the last step is kept";
}

TEST(TrajectoryOutput, OutputsAreWellFormedWhateverTheNamesAndNumbers) {
    // Control characters, bytes that are not UTF-8, the ends of CDATA and of a script, CSV's
    // separators, a JavaScript line separator.
    for (const std::string name : {"b\x01ll\x7f", "\xff\xfe\xc3", "]]>", "</script><script>", "a,\"b\"\r\nc",
                                   "\xe2\x80\xa8\xc2\x85"}) {
        SCOPED_TRACE(name);
        Trajectory run = sampleRun();
        run.bodies[1] = name;
        run.note = name;
        // A body flung to the ends of the number range.
        run.samples[5].position[0] = 1e308;
        run.samples[1].position[0] = -1e308;
        run.samples[3].position[1] = -1e308;
        const std::string title = name + ": run";

        pugi::xml_document svg;
        const std::string picture = trajectorySvg(run, title);
        ASSERT_TRUE(svg.load_string(picture.c_str())) << picture;
        EXPECT_EQ(picture.find("nan"), std::string::npos);
        EXPECT_EQ(picture.find("inf"), std::string::npos);

        // The run's data, the 3D library and the viewer: three scripts, no name ends one early.
        const std::string page = replayPage(run, title);
        EXPECT_EQ(count(page, "</script>"), 3u);
        const std::string dataStart = "<script type=\"application/json\" id=\"run\">";
        const std::size_t data = page.find(dataStart) + dataStart.size();
        const auto parsed = nlohmann::json::parse(page.substr(data, page.find("</script>", data) - data));
        EXPECT_EQ(parsed["bodies"][1]["name"], wellFormedText(name));
        EXPECT_EQ(parsed["stopped"], wellFormedText(name));

        std::string rows;
        appendTrajectoryCsvRows(rows, 0, 0, csvNames(run.bodies), std::span(run.samples).subspan(4, 2),
                                false);
        ASSERT_EQ(count(rows, "\n"), 2u);
        for (std::size_t start = 0, end; (end = rows.find('\n', start)) != std::string::npos;
             start = end + 1) {
            // Commas outside quotes: eleven between twelve fields.
            std::size_t separators = 0;
            bool quoted = false;
            for (std::size_t i = start; i < end; ++i) {
                quoted = rows[i] == '"' ? !quoted : quoted;
                separators += !quoted && rows[i] == ',';
            }
            EXPECT_EQ(separators, 11u) << rows.substr(start, end - start);
        }
    }
}

} // namespace
} // namespace zor::host
