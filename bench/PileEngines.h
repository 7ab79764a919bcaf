#pragma once

// The sphere piles of host/scene3d/PileLayout.h for this module (through the reference host's
// scene and detector), Bullet and ODE, built alike and stepped alike, for the pile benchmarks.

#include "bench/BenchRecord.h"
#include "common/object/ObjectFactory.h"
#include "common/platform/Platform.h"
#include "host/detector/HostCollisionDetector.h"
#include "host/scene3d/GridStage.h"
#include "host/scene3d/PileLayout.h"
#include "host/scene3d/Scene3D.h"
#include "physics/attributes/Collision3DAttribute.h"
#include "physics/attributes/RigidBody3DAttribute.h"
#include "physics/engine3d/PhysicsEngine3D.h"
#include "physics/engine3d/collision/SceneCollisions.h"

#include <benchmark/benchmark.h>
#include <bullet/btBulletDynamicsCommon.h>
#include <ode/ode.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace zor::bench {

constexpr double kStep = 1.0 / 60;
// Four seconds of the pile.
constexpr int kSteps = 240;
constexpr double kRadius = host::kPileRadius;
constexpr double kWallHeight = host::kPileWallHeight;

/// The cells across the inside of the box of the pile of `count` (see PileLayout.h).
inline int insideOf(int count, bool wide) {
    return host::pileInside(count, wide);
}

/// Where sphere `i` starts in a box `inside` cells across.
inline void startOf(int i, int inside, double& x, double& y, double& z) {
    host::pileStart(i, inside, x, y, z);
}

// This module: a Scene3D with a grid stage whose border cells carry walls facing inward.
template <typename T>
struct ZorPile {
    /// The length of a step.
    double dt = kStep;
    bench::BenchRecord record;
    Scene3D<T>* scene = new Scene3D<T>();
    PhysicsEngine3D* engine;
    int inside;

    ZorPile(int count, bool wide) : inside(insideOf(count, wide)) {
        zor_addObjectAllocator<HostCollisionDetector<T>>();
        engine = static_cast<PhysicsEngine3D*>(PhysicsEngine3D::allocateObject());
        auto* handler = new HostObject();
        engine->setResourcesHandler(handler);
        handler->release();
        engine->setCurrentScene(scene);
        scene->setGravity(9.81);
        addStage();
        for (int i = 0; i < count; ++i)
            addSphere(i);
    }
    ~ZorPile() {
        engine->release();
        scene->release();
    }

    void addStage() {
        auto* stage = new GridStage<T>(uint32(inside + 2), uint32(inside + 2), 1, 1);
        auto* solid = new RigidBody3DAttribute<T>();
        solid->setInfiniteMass(true);
        solid->setRestitutionFactor(T(0.5));
        solid->setFrictionCoefficient(T(0.5));
        const uint32 body = stage->rigidBodyAttributes().add(solid);
        solid->release();
        // One tile per combination of walls: bit 0 wall at +x... facing inward from each border.
        for (uint32 walls = 0; walls < 16; ++walls) {
            GridTile<T> tile{};
            tile.floorPresent = 1;
            tile.floorCollision = tile.ceilingCollision = kNoGridAttribute;
            tile.floorRigidBody = body;
            tile.ceilingHeight = T(kWallHeight);
            for (int side = 0; side < 4; ++side) {
                GridTileSide<T>& wall = tile.sides[side];
                wall.sidePresent = wall.middlePresent = (walls >> side) & 1;
                wall.middleCollision = kNoGridAttribute;
                wall.middleRigidBody = body;
            }
            stage->tiles().pushBack(tile);
        }
        const int across = inside + 2;
        for (int row = 0; row < across; ++row)
            for (int column = 0; column < across; ++column)
                stage->cells()[row * across + column] = host::pileCell(column, row, inside);
        scene->addGridStage(stage);
        stage->release();
    }

    void addSphere(int i) {
        double x, y, z;
        startOf(i, inside, x, y, z);
        auto* element = new Element3D<T>(ElementKind::Sphere);
        element->transform().position = {T(x), T(y), T(z)};
        element->shape() = {T(kRadius), 0};
        auto* collision = new Collision3DAttribute<T>();
        collision->setEventParent(0);
        auto* body = new RigidBody3DAttribute<T>();
        body->setRestitutionFactor(T(0.5));
        body->setFrictionCoefficient(T(0.5));
        element->setPhysicsAttribute(1, body);
        element->setPhysicsAttribute(2, collision);
        body->release();
        collision->release();
        scene->addElement(element);
        element->release();
    }

    void step() {
        scene->updateView();
        engine->beginIteration(dt);
        engine->updateMovements();
        engine->updateCollisions(nullptr);
        engine->endIteration();
    }
    void move() {
        engine->beginIteration(dt);
        engine->updateMovements();
        engine->endIteration();
    }
};

// Bullet: a dynamics world with the dynamic AABB tree broad phase, a ground box and four walls.
struct BulletPile {
    double dt = kStep;
    btDefaultCollisionConfiguration configuration;
    btCollisionDispatcher dispatcher{&configuration};
    btDbvtBroadphase broadphase;
    btSequentialImpulseConstraintSolver solver;
    btDiscreteDynamicsWorld world{&dispatcher, &broadphase, &solver, &configuration};
    btSphereShape sphere{btScalar(kRadius)};
    int inside;
    // The box is inside + 2 across, its floor and walls a unit thick around the inside.
    btScalar half;
    btBoxShape floorShape{btVector3(half, 1, half)};
    btBoxShape wallX{btVector3(1, btScalar(kWallHeight), half)};
    btBoxShape wallZ{btVector3(half, btScalar(kWallHeight), 1)};
    std::vector<std::unique_ptr<btDefaultMotionState>> states;
    std::vector<std::unique_ptr<btRigidBody>> bodies;

    BulletPile(int count, bool wide) : inside(insideOf(count, wide)), half(btScalar(inside + 2) / 2) {
        world.setGravity(btVector3(0, btScalar(-9.81), 0));
        addStatic(floorShape, btVector3(half, -1, -half));
        addStatic(wallX, btVector3(0, 0, -half));
        addStatic(wallX, btVector3(2 * half, 0, -half));
        addStatic(wallZ, btVector3(half, 0, 0));
        addStatic(wallZ, btVector3(half, 0, -2 * half));
        btVector3 inertia;
        sphere.calculateLocalInertia(1, inertia);
        for (int i = 0; i < count; ++i) {
            double x, y, z;
            startOf(i, inside, x, y, z);
            add(sphere, btVector3(btScalar(x), btScalar(y), btScalar(z)), 1, inertia);
        }
    }
    ~BulletPile() {
        for (auto& body : bodies)
            world.removeRigidBody(body.get());
    }
    void addStatic(btCollisionShape& shape, const btVector3& at) { add(shape, at, 0, btVector3(0, 0, 0)); }
    void add(btCollisionShape& shape, const btVector3& at, btScalar mass, const btVector3& inertia) {
        states.push_back(
            std::make_unique<btDefaultMotionState>(btTransform(btQuaternion::getIdentity(), at)));
        btRigidBody::btRigidBodyConstructionInfo info(mass, states.back().get(), &shape, inertia);
        info.m_restitution = 0.5f;
        info.m_friction = 0.5f;
        bodies.push_back(std::make_unique<btRigidBody>(info));
        world.addRigidBody(bodies.back().get());
    }
    void step() { world.stepSimulation(btScalar(dt), 0); }
};

// ODE: a hash space, a ground plane and four wall planes, one contact joint per touching pair.
struct OdePile {
    double dt = kStep;
    dWorldID world;
    dSpaceID space;
    dJointGroupID contacts;

    OdePile(int count, bool wide) {
        const int inside = insideOf(count, wide);
        dInitODE();
        world = dWorldCreate();
        space = dHashSpaceCreate(nullptr);
        contacts = dJointGroupCreate(0);
        dWorldSetGravity(world, 0, -9.81, 0);
        dCreatePlane(space, 0, 1, 0, 0);
        dCreatePlane(space, 1, 0, 0, 1);
        dCreatePlane(space, -1, 0, 0, -(inside + 1));
        dCreatePlane(space, 0, 0, -1, 1);
        dCreatePlane(space, 0, 0, 1, -(inside + 1));
        for (int i = 0; i < count; ++i) {
            double x, y, z;
            startOf(i, inside, x, y, z);
            dBodyID body = dBodyCreate(world);
            dMass mass;
            dMassSetSphereTotal(&mass, 1, kRadius);
            dBodySetMass(body, &mass);
            dBodySetPosition(body, x, y, z);
            dGeomSetBody(dCreateSphere(space, kRadius), body);
        }
    }
    ~OdePile() {
        dJointGroupDestroy(contacts);
        dSpaceDestroy(space);
        dWorldDestroy(world);
        dCloseODE();
    }
    static void nearCallback(void* data, dGeomID first, dGeomID second) {
        auto* pile = static_cast<OdePile*>(data);
        dContact contact{};
        contact.surface.mode = dContactBounce;
        contact.surface.mu = 0.5;
        contact.surface.bounce = 0.5;
        if (dCollide(first, second, 1, &contact.geom, sizeof(dContact)) > 0) {
            dJointID joint = dJointCreateContact(pile->world, pile->contacts, &contact);
            dJointAttach(joint, dGeomGetBody(first), dGeomGetBody(second));
        }
    }
    void step() {
        dSpaceCollide(space, this, &nearCallback);
        dWorldQuickStep(world, dt);
        dJointGroupEmpty(contacts);
    }
};

/// Keeps the CPU time per step of every benchmark for the ratios: the median of its repetitions,
/// or its one run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                m_cpuTimes[withoutRepeats(run.run_name.str())] = run.GetAdjustedCPUTime();
            else if (run.run_type == Run::RT_Iteration && run.iterations > 0)
                m_cpuTimes.try_emplace(withoutRepeats(run.benchmark_name()), run.GetAdjustedCPUTime());
        }
    }
    /// The name of a benchmark without the count of its repetitions.
    static std::string withoutRepeats(std::string name) {
        const std::size_t at = name.find("/repeats:");
        if (at != std::string::npos)
            name.erase(at, name.find('/', at + 1) - at);
        return name;
    }
    /// The CPU time of `name` with argument `pile` and `steps` iterations, or NaN.
    double time(const char* name, int pile, int steps = kSteps) const {
        const auto found = m_cpuTimes.find(std::string(name) + "/" + std::to_string(pile) +
                                           "/iterations:" + std::to_string(steps));
        return found != m_cpuTimes.end() ? found->second : std::nan("");
    }

    /// True when any benchmark ran.
    bool ranAny() const { return !m_cpuTimes.empty(); }

private:
    std::map<std::string, double> m_cpuTimes;
};

/// The number a child process of this program prints with `option` (a peak of memory), or -1.
inline long peakInChild(const char* program, const std::string& option) {
    const std::string command = std::string("'") + program + "' " + option;
    std::FILE* child = platform::openCommandOutput(command.c_str());
    if (child == nullptr)
        return -1;
    long peak = -1;
    if (std::fscanf(child, "%ld", &peak) != 1)
        peak = -1;
    return platform::closeCommandOutput(child) == 0 ? peak : -1;
}

} // namespace zor::bench
