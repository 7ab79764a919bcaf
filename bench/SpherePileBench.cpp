// The full step (movement and collisions) on a pile of N spheres of radius 0.5 falling into a
// 18 x 18 walled box, dt 1/60, for this module (through the reference host's scene and
// detector) and for Bullet and ODE on the same scene in the same run: the pile of
// host/scene3d/PileLayout.h, which `zor_host generate` writes too.
//
// Every engine steps the same first four seconds after the drop (the fall, the impact and the
// settling), three times over, the runs of all the engines in a random order, and the ratios take
// the median of the three: so the times compare the same work, and neither a slow run nor a slow
// spell of the machine decides them. The collision stage's
// all-pairs reference is timed over the first steps only, next to the broad phase over the same
// steps. The box keeps its size, so the pile grows taller with N and each body meets more
// contacts; the wide pile, in a box as wide as three layers take, keeps the work per body the
// same and shows how the cost per body grows with N alone. After the runs the program prints the
// ratios, the contacts per body, and the peak memory of each engine stepping the pile of 10,000:
// each measured in a child process of its own (the same program), less the peak of a child that
// builds nothing.

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

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace zor;

constexpr double kStep = 1.0 / 60;
// Four seconds of the pile.
constexpr int kSteps = 240;
// Steps of the pile whose peak memory is measured.
constexpr int kMemorySteps = 120;
constexpr int kMemoryPile = 10000;
constexpr double kRadius = host::kPileRadius;
constexpr double kWallHeight = host::kPileWallHeight;

/// The cells across the inside of the box of the pile of `count` (see PileLayout.h).
int insideOf(int count, bool wide) {
    return host::pileInside(count, wide);
}

/// Where sphere `i` starts in a box `inside` cells across.
void startOf(int i, int inside, double& x, double& y, double& z) {
    host::pileStart(i, inside, x, y, z);
}

// This module: a Scene3D with a grid stage whose border cells carry walls facing inward.
template <typename T>
struct ZorPile {
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
        engine->beginIteration(kStep);
        engine->updateMovements();
        engine->updateCollisions(nullptr);
        engine->endIteration();
    }
    void move() {
        engine->beginIteration(kStep);
        engine->updateMovements();
        engine->endIteration();
    }
};

// Bullet: a dynamics world with the dynamic AABB tree broad phase, a ground box and four walls.
struct BulletPile {
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
    void step() { world.stepSimulation(btScalar(kStep), 0); }
};

// ODE: a hash space, a ground plane and four wall planes, one contact joint per touching pair.
struct OdePile {
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
        dWorldQuickStep(world, kStep);
        dJointGroupEmpty(contacts);
    }
};

template <typename Pile>
void stepPile(benchmark::State& state, bool wide = false) {
    Pile pile(static_cast<int>(state.range(0)), wide);
    for (auto _ : state)
        pile.step();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_SpherePileZorFloat(benchmark::State& state) {
    stepPile<ZorPile<float>>(state);
}
void BM_SpherePileZorDouble(benchmark::State& state) {
    stepPile<ZorPile<double>>(state);
}
void BM_SpherePileBullet(benchmark::State& state) {
    stepPile<BulletPile>(state);
}
void BM_SpherePileOde(benchmark::State& state) {
    stepPile<OdePile>(state);
}
/// The wide pile, three layers at any N: the work per body stays about the same.
void BM_SpherePileWideZor(benchmark::State& state) {
    stepPile<ZorPile<double>>(state, true);
}
void BM_SpherePileWideBullet(benchmark::State& state) {
    stepPile<BulletPile>(state, true);
}
void BM_SpherePileWideOde(benchmark::State& state) {
    stepPile<OdePile>(state, true);
}
/// The movement stage alone.
void BM_SpherePileZorMovement(benchmark::State& state) {
    ZorPile<double> pile(static_cast<int>(state.range(0)), false);
    for (auto _ : state)
        pile.move();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
/// The first steps, with the broad phase or with the all-pairs reference.
void BM_SpherePileZorFirstSteps(benchmark::State& state) {
    stepPile<ZorPile<double>>(state);
}
void BM_SpherePileZorAllPairs(benchmark::State& state) {
    ZorPile<double> pile(static_cast<int>(state.range(0)), false);
    setPairFinder(*pile.engine, PairFinder::AllPairs);
    for (auto _ : state)
        pile.step();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Three runs of each, and their median: the peers' times alone vary by a tenth from run to run.
void threeRuns(benchmark::internal::Benchmark* runs) {
    runs->Iterations(kSteps)->Repetitions(3)->DisplayAggregatesOnly(true)->Unit(benchmark::kMillisecond);
}
#define ZOR_PILE(benchmark_)                                                                                 \
    BENCHMARK(benchmark_)->Arg(100)->Arg(1000)->Arg(4000)->Arg(10000)->Apply(threeRuns)
ZOR_PILE(BM_SpherePileZorFloat);
ZOR_PILE(BM_SpherePileZorDouble);
ZOR_PILE(BM_SpherePileBullet);
ZOR_PILE(BM_SpherePileOde);
ZOR_PILE(BM_SpherePileZorMovement);
#define ZOR_WIDE_PILE(benchmark_) BENCHMARK(benchmark_)->Arg(1000)->Arg(4000)->Arg(10000)->Apply(threeRuns)
ZOR_WIDE_PILE(BM_SpherePileWideZor);
ZOR_WIDE_PILE(BM_SpherePileWideBullet);
ZOR_WIDE_PILE(BM_SpherePileWideOde);
// The reference tests every pair: a few steps are enough at the larger sizes.
#define ZOR_FIRST_STEPS(benchmark_, pile_, steps_)                                                           \
    BENCHMARK(benchmark_)->Arg(pile_)->Iterations(steps_)->Unit(benchmark::kMillisecond)
#define ZOR_FIRST_STEPS_BOTH(pile_, steps_)                                                                  \
    ZOR_FIRST_STEPS(BM_SpherePileZorFirstSteps, pile_, steps_);                                              \
    ZOR_FIRST_STEPS(BM_SpherePileZorAllPairs, pile_, steps_)
ZOR_FIRST_STEPS_BOTH(100, 240);
ZOR_FIRST_STEPS_BOTH(1000, 24);
ZOR_FIRST_STEPS_BOTH(4000, 3);
ZOR_FIRST_STEPS_BOTH(10000, 1);

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

/// Counts the pair contacts the collision stage finds (a callback that accepts them all
/// changes nothing else).
uint64 g_contacts = 0;
bool countContact(IElement*, IElement*, Collision3DAttribute<double>*, RigidBody3DAttribute<double>*,
                  IElement*, IElement*, Collision3DAttribute<double>*, RigidBody3DAttribute<double>*,
                  Vector3<double>*, double) {
    ++g_contacts;
    return true;
}

/// The pair contacts per body and step over the steps of the pile of `count`.
double contactsPerBodyAndStep(int count, bool wide) {
    ZorPile<double> pile(count, wide);
    pile.engine->setCollisionCallbackDouble(&countContact);
    g_contacts = 0;
    for (int step = 0; step < kSteps; ++step)
        pile.step();
    return double(g_contacts) / count / kSteps;
}

/// Builds the pile of `peer` ("zor", "bullet", "ode" or "none") and steps it; the peak resident
/// memory of the process in kilobytes.
long peakOf(const std::string& peer) {
    if (peer == "zor") {
        ZorPile<double> pile(kMemoryPile, false);
        for (int step = 0; step < kMemorySteps; ++step)
            pile.step();
    } else if (peer == "bullet") {
        BulletPile pile(kMemoryPile, false);
        for (int step = 0; step < kMemorySteps; ++step)
            pile.step();
    } else if (peer == "ode") {
        OdePile pile(kMemoryPile, false);
        for (int step = 0; step < kMemorySteps; ++step)
            pile.step();
    }
    return long(platform::peakResidentKilobytes());
}

/// The peak of `peer` as a child process of this program reports it, or -1.
long peakInChild(const char* program, const std::string& peer) {
    const std::string command = std::string("'") + program + "' --pile-peak=" + peer;
    std::FILE* child = platform::openCommandOutput(command.c_str());
    if (child == nullptr)
        return -1;
    long peak = -1;
    if (std::fscanf(child, "%ld", &peak) != 1)
        peak = -1;
    return platform::closeCommandOutput(child) == 0 ? peak : -1;
}

void printRatios(const RatioReporter& times, const char* program) {
    std::printf("\nCPU time ratios, ours / peer, full step over the same %d steps (lower is better):\n",
                kSteps);
    std::printf("%8s %14s %14s %14s %14s\n", "N", "float/Bullet", "double/Bullet", "float/ODE", "double/ODE");
    for (int pile : {100, 1000, 4000, 10000}) {
        const double bullet = times.time("BM_SpherePileBullet", pile),
                     ode = times.time("BM_SpherePileOde", pile);
        const double ours[] = {times.time("BM_SpherePileZorFloat", pile),
                               times.time("BM_SpherePileZorDouble", pile)};
        std::printf("%8d %14.2f %14.2f %14.2f %14.2f\n", pile, ours[0] / bullet, ours[1] / bullet,
                    ours[0] / ode, ours[1] / ode);
    }
    std::printf(
        "\nCost per body at N over that at 1,000 (double), in the 18 x 18 box and in the wide box of "
        "three layers,\nwith the pair contacts per body and step our stage finds (log N / log 1,000 for "
        "comparison):\n");
    std::printf("%8s %6s %8s %8s %8s %10s\n", "N", "box", "ours", "Bullet", "ODE", "contacts");
    const bool counted = !std::isnan(times.time("BM_SpherePileZorDouble", kMemoryPile));
    for (const bool wide : {false, true})
        for (int pile : {1000, 4000, 10000}) {
            const char* names[][2] = {{"BM_SpherePileZorDouble", "BM_SpherePileWideZor"},
                                      {"BM_SpherePileBullet", "BM_SpherePileWideBullet"},
                                      {"BM_SpherePileOde", "BM_SpherePileWideOde"}};
            double growth[3];
            for (int engine = 0; engine < 3; ++engine)
                growth[engine] = times.time(names[engine][wide], pile) / pile /
                                 (times.time(names[engine][wide], 1000) / 1000);
            if (std::isnan(growth[0]))
                continue;
            std::printf("%8d %6s %8.2f %8.2f %8.2f %10.2f\n", pile, wide ? "wide" : "18", growth[0],
                        growth[1], growth[2], counted ? contactsPerBodyAndStep(pile, wide) : std::nan(""));
        }
    std::printf("%8s %6s %8.2f (log N / log 1,000 at 10,000)\n", "", "",
                std::log(10000.0) / std::log(1000.0));
    std::printf("\nMovement stage alone / full step (double), and all-pairs reference / broad phase over the "
                "first steps:\n");
    const int firstSteps[][2] = {{100, 240}, {1000, 24}, {4000, 3}, {10000, 1}};
    for (const auto& [pile, steps] : firstSteps)
        std::printf("%8d %8.3f %10.1f  (%d steps)\n", pile,
                    times.time("BM_SpherePileZorMovement", pile) / times.time("BM_SpherePileZorDouble", pile),
                    times.time("BM_SpherePileZorAllPairs", pile, steps) /
                        times.time("BM_SpherePileZorFirstSteps", pile, steps),
                    steps);
    // Only with the runs of the largest pile: a run of a few benchmarks stays short.
    if (std::isnan(times.time("BM_SpherePileZorDouble", kMemoryPile)))
        return;
    const long none = peakInChild(program, "none");
    std::printf("\nPeak memory stepping the pile of %d for %d steps, above a process that builds nothing:\n",
                kMemoryPile, kMemorySteps);
    const long zor = peakInChild(program, "zor") - none;
    for (const char* peer : {"bullet", "ode"}) {
        const long peak = peakInChild(program, peer) - none;
        std::printf("  ours %ld KB, %s %ld KB, ratio %.2f\n", zor, peer, peak, double(zor) / double(peak));
    }
}

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--pile-peak=", 12) == 0) {
            std::printf("%ld\n", peakOf(argv[i] + 12));
            return 0;
        }
    // The repetitions of all the engines run in a random order, unless the command line says
    // otherwise: a machine that slows down for a while then slows every engine alike, and the
    // medians still compare the same work.
    std::vector<char*> arguments(argv, argv + argc);
    char interleaving[] = "--benchmark_enable_random_interleaving=true";
    if (std::none_of(argv, argv + argc, [](const char* argument) {
            return std::strncmp(argument, "--benchmark_enable_random_interleaving", 38) == 0;
        }))
        arguments.insert(arguments.begin() + 1, interleaving);
    int count = int(arguments.size());
    arguments.push_back(nullptr);
    benchmark::Initialize(&count, arguments.data());
    argc = count;
    argv = arguments.data();
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    if (reporter.ranAny())
        printRatios(reporter, argv[0]);
    benchmark::Shutdown();
    return 0;
}
