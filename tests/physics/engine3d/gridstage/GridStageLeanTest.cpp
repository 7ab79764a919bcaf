// Without a grid-stage callback the collision stage takes each tile's faces as it read them with
// the stage, and tells most boxes within or beyond reach by bounds of the reach; with one it reads
// them tile by tile as it comes to them and works the reach out for every box. Both must ask the
// detector about the same faces, in the same order and with the same bits, and leave the same
// bodies. Without a callback a stage passes over a test made again at the same place after it
// moved nothing, so a test asked again in a stage counts once.

#include "support/EngineOnScene.h"
#include "support/SkinDetector.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

namespace zor {
namespace {

// A scene whose detector has the host's geometry, declares the host's reach (0, so that the
// faces out of reach are passed over) and hashes every test it is asked; its engine has a
// grid-stage callback that accepts every contact when `callback` (which takes each tile's faces
// as it comes to them), else none. A test asked again in a step counts once.
template <typename T>
struct LoggedScene : test::HostRecord, test::EngineScene<T> {
    test::SkinDetector<T>* detector = new test::SkinDetector<T>(0, 0);
    std::vector<std::pair<Element3D<T>*, RigidBody3DAttribute<T>*>> bodies;

    LoggedScene(bool callback, double gravity) {
        this->engine->template collisionDetector<T>() = detector;
        detector->distinct = true;
        if (callback)
            this->setCallbacks(nullptr, &acceptEvery);
        this->scene->setGravity(gravity);
    }
    static bool acceptEvery(IElement*, IElement*, Collision3DAttribute<T>*, RigidBody3DAttribute<T>*,
                            IObject*, Collision3DAttribute<T>*, RigidBody3DAttribute<T>*, uint32, uint32,
                            uint32, Vector3<T>*, T) {
        return true;
    }

    /// A body of `kind` at `position` with the given radius and height, moving at `speed`, in
    /// exclusion group `group`.
    void addBody(ElementKind kind, const Vector3<T>& position, T radius, T height, const Vector3<T>& speed,
                 uint32 group) {
        Element3D<T>* element;
        auto* body = test::EngineScene<T>::addBody(kind, position, radius, height, &element);
        body->setExclusionGroup(group);
        body->setLinearSpeed(speed);
        bodies.push_back({element, body});
    }

    /// Steps the scene 60 times; what the detector was asked (how many tests, and their hash),
    /// then every body's place and speed.
    std::vector<unsigned char> stepAndRecord() {
        for (int step = 0; step < 60; ++step) {
            detector->beginStage();
            this->step(1.0 / 60);
        }
        std::vector<unsigned char> result;
        const auto add = [&result](const auto& value) {
            const auto* first = reinterpret_cast<const unsigned char*>(&value);
            result.insert(result.end(), first, first + sizeof value);
        };
        add(detector->askedCount), add(detector->askedHash);
        for (const auto& [element, body] : bodies)
            add(element->transform().position), add(body->getLinearSpeed());
        return result;
    }
};

/// A stage of `columns` by `rows` cells of width 1 and `depth`, holding `floorBody` (index 0) and
/// `wallBody` (index 1) of infinite mass, the wall body in exclusion group `wallGroup`.
template <typename T>
GridStage<T>* stageOf(uint32 columns, uint32 rows, double depth, uint32 wallGroup) {
    auto* stage = new GridStage<T>(columns, rows, 1, T(depth));
    for (uint32 group : {0u, wallGroup}) {
        auto* body = new RigidBody3DAttribute<T>();
        body->setInfiniteMass(true);
        body->setExclusionGroup(group);
        stage->rigidBodyAttributes().add(body);
        body->release();
    }
    return stage;
}

/// A tile of a lone floor at height 0 of body 0.
template <typename T>
GridTile<T> loneFloor() {
    GridTile<T> lone = test::floorTile<T>();
    lone.floorRigidBody = 0;
    return lone;
}

struct StageCase {
    const char* name;
    double depth;
    /// The exclusion group of the walls' body, which some of the falling bodies share.
    uint32 wallGroup;
};

// A 4 by 4 stage of lone floors, a covered floor, walls of every segment on each side and a raised
// floor, with a cell of no tile and one past the tiles; spheres and capsules fall on it for a
// while.
template <typename T>
std::vector<unsigned char> fallOn(const StageCase& stageCase, bool callback) {
    LoggedScene<T> world(callback, 9.81);
    GridStage<T>* stage = stageOf<T>(4, 4, stageCase.depth, stageCase.wallGroup);
    GridTile<T> lone = loneFloor<T>();
    GridTile<T> covered = lone;
    covered.ceilingPresent = 1;
    covered.ceilingHeight = T(1.5);
    covered.ceilingRigidBody = 1;
    GridTile<T> walled = covered;
    walled.ceilingPresent = 0;
    for (uint32 side = 0; side < 4; ++side) {
        GridTileSide<T>& walls = walled.sides[side];
        walls.sidePresent = 1;
        walls.middlePresent = side != 1;
        walls.lowerPresent = side != 0;
        walls.upperPresent = side >= 2;
        walls.lowerHeight = T(0.5);
        walls.upperHeight = side == 2 ? T(0) : T(0.75); // side 2's upper wall has no height
        walls.middleRigidBody = walls.lowerRigidBody = walls.upperRigidBody = 1;
        walls.middleCollision = walls.lowerCollision = walls.upperCollision = kNoGridAttribute;
    }
    GridTile<T> raised = walled;
    raised.floorHeight = T(0.25);
    raised.floorSpeed = T(0.5);
    raised.ceilingPresent = 1;
    for (const GridTile<T>* tile : {&lone, &covered, &walled, &raised})
        stage->tiles().pushBack(*tile);
    const uint32 cells[16] = {1, 1, 3, 1, 2, 1, 4, 0, 1, 3, 1, 5, 4, 1, 2, 1};
    std::memcpy(stage->cells().data(), cells, sizeof cells);
    world.add(stage);
    // Bodies dropped fast close to the edges of their cells, whose response moves them out of
    // reach of the next cell or into it, and bodies sliding into walls.
    for (int i = 0; i < 16; ++i) {
        const bool dropped = i < 10;
        world.addBody(i % 3 == 2 ? ElementKind::Capsule : ElementKind::Sphere,
                      {T((dropped ? 0.85 + 0.01 * i : 0.5) + i % 4), T(dropped ? 0.45 : 0.35 + 0.1 * (i % 3)),
                       T(-0.5 - i / 4 - 0.02 * i)},
                      T(0.3), T(0.6),
                      dropped ? Vector3<T>{0, -4, 0}
                              : Vector3<T>{T(i % 2 ? 1.5 : -1.5), 0, T(i % 3 ? 1 : -1)},
                      i % 4 == 1 ? 1 : 0);
    }
    std::vector<unsigned char> result = world.stepAndRecord();
    EXPECT_GT(world.detector->askedCount, 0u) << stageCase.name << ": no face was tested";
    return result;
}

// Spheres and upright capsules at rest without gravity, each over a lone floor of its own cell
// at a gap just within or just beyond the reach the stage's test works the floor's box out to
// (its radius margins and a rounding allowance of 1e-12 per unit of coordinates): gaps the lean
// test cannot tell by the bounds of the reach and measures as the tile-by-tile test does. Only a
// double lies between the bounds.
std::vector<unsigned char> restAtTheReach(bool callback) {
    using T = double;
    LoggedScene<T> world(callback, 0);
    GridStage<T>* stage = stageOf<T>(4, 4, 1, 0);
    stage->tiles().pushBack(loneFloor<T>());
    std::fill(stage->cells().begin(), stage->cells().end(), 1u);
    world.add(stage);
    constexpr double radius = 0.25, half = 0.5;
    const double base = radius * (1 + 1e-6) + 1e-6;
    // The least reach of a shape whose coordinates are at most `extent` in size, and its reach
    // of a box whose largest gap is `gap`.
    const auto least = [&](double extent) { return base + extent * 1e-12; };
    const auto reach = [&](double extent, double gap) { return base + (extent + gap) * 1e-12; };
    for (int i = 0; i < 16; ++i) {
        const bool capsule = i % 2 == 1, within = i % 4 < 2;
        const double x = 0.5 + i % 4, z = -0.5 - i / 4;
        // The lowest point's height is the gap; x or -z is the largest coordinate.
        const double extent = std::max(x, -z);
        double gap = least(extent) * (within ? 1 + 0.5e-12 : 1 + 5e-10);
        double y = gap;
        if (capsule) {
            y = half + gap;
            gap = y - half;
        }
        EXPECT_GT(extent, capsule ? y + half : y) << i;
        if (within) {
            EXPECT_GT(gap, least(extent)) << i;
            EXPECT_LE(gap, reach(extent, gap)) << i;
        } else {
            EXPECT_GT(gap, reach(extent, gap)) << i;
            EXPECT_LE(gap, least(extent) * (1 + 1e-9)) << i;
        }
        world.addBody(capsule ? ElementKind::Capsule : ElementKind::Sphere, {x, y, z}, radius,
                      capsule ? 2 * half : 0, {0, 0, 0}, 0);
    }
    std::vector<unsigned char> result = world.stepAndRecord();
    // Every step, a face for each body within reach, none for those beyond it.
    EXPECT_EQ(world.detector->askedCount, 60u * 8);
    return result;
}

TEST(GridStageLeanAtTheReach, AsksTheDetectorAboutTheSameFacesAsTheTileByTileTest) {
    EXPECT_EQ(restAtTheReach(false), restAtTheReach(true));
}

template <typename T>
struct GridStageLean : testing::Test {};
using NumberTypes = testing::Types<float, double>;
TYPED_TEST_SUITE(GridStageLean, NumberTypes);

TYPED_TEST(GridStageLean, AsksTheDetectorAndLeavesTheBodiesAsTheTileByTileTest) {
    const StageCase cases[] = {
        {"finite cells", 1, 0},
        {"walls of the group of some bodies", 1, 1},
        {"cells of infinite depth", std::numeric_limits<double>::infinity(), 0},
    };
    for (const StageCase& stageCase : cases)
        EXPECT_EQ(fallOn<TypeParam>(stageCase, false), fallOn<TypeParam>(stageCase, true)) << stageCase.name;
}

} // namespace
} // namespace zor
