// The 3D engine's movement stage (updateMovements: integration, then locks and wrap-around) per
// body, through the host's scene objects and the module's rigid-body attributes, against a plain
// loop that integrates the same bodies from an array of structs.

#include "bench/BenchRecord.h"
#include "host/project/HostPhysicsAttribute.h"
#include "host/scene3d/Scene3D.h"
#include "physics/attributes/RigidBody3DAttribute.h"
#include "physics/engine3d/PhysicsEngine3D.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

using namespace zor;
using bench::BenchRecord;

constexpr double kDeltaT = 0.01;
constexpr double kGravity = 9.81;

// Every fourth body is locked in z and every eighth wraps horizontally, in a view wide enough
// that none leaves it: the locks and the clip-space test run, the wrap itself does not.
bool zLocked(int64 i) {
    return i % 4 == 0;
}
bool looping(int64 i) {
    return i % 8 == 0;
}

void EngineMovement(benchmark::State& state) {
    BenchRecord record;
    auto* scene = new Scene3D<double>();
    scene->setGravity(kGravity);
    scene->camera().width = scene->camera().height = 1e9;
    scene->updateView();
    for (int64 i = 0; i < state.range(0); ++i) {
        auto* element = new Element3D<double>(ElementKind::Sphere);
        auto* body = new RigidBody3DAttribute<double>();
        body->setLinearSpeed({1, 2, double(i % 7)});
        body->setZLock(zLocked(i));
        body->setHLoop(looping(i));
        element->setPhysicsAttribute(1, body);
        scene->addElement(element);
        body->release();
        element->release();
    }
    auto* engine = static_cast<PhysicsEngine3D*>(PhysicsEngine3D::allocateObject());
    auto* handler = new HostObject();
    engine->setResourcesHandler(handler);
    engine->setCurrentScene(scene);
    for (auto _ : state) {
        engine->beginIteration(kDeltaT);
        engine->updateMovements();
        engine->endIteration();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    engine->release();
    handler->release();
    scene->release();
}
BENCHMARK(EngineMovement)->Arg(1000)->Arg(100000);

struct PlainBody {
    Vector3<double> position, rotation, speed, spin, acceleration, angularAcceleration;
    bool zLock, hLoop;
};

void PlainArrayOfStructs(benchmark::State& state) {
    std::vector<PlainBody> bodies(static_cast<std::size_t>(state.range(0)));
    for (std::size_t i = 0; i < bodies.size(); ++i) {
        bodies[i].speed = {1, 2, double(i % 7)};
        bodies[i].zLock = zLocked(int64(i));
        bodies[i].hLoop = looping(int64(i));
    }
    const double dt = kDeltaT, g = kGravity;
    for (auto _ : state) {
        for (PlainBody& b : bodies) {
            b.position = {b.position.x + dt * b.speed.x, b.position.y + dt * b.speed.y,
                          b.position.z + dt * b.speed.z};
            b.speed = {b.acceleration.x * dt + b.speed.x, (b.acceleration.y - g) * dt + b.speed.y,
                       b.acceleration.z * dt + b.speed.z};
            b.rotation = {b.rotation.x + dt * b.spin.x, b.rotation.y + dt * b.spin.y,
                          b.rotation.z + dt * b.spin.z};
            b.spin = {b.spin.x + dt * b.angularAcceleration.x, b.spin.y + dt * b.angularAcceleration.y,
                      b.spin.z + dt * b.angularAcceleration.z};
        }
        for (PlainBody& b : bodies) {
            if (b.zLock)
                b.position.z = 0;
            // The same clip test as the engine's, in a view that holds everything.
            if (b.hLoop && (b.position.x * 2e-9 > 1 || b.position.x * 2e-9 < -1))
                b.position.x = -b.position.x;
        }
        benchmark::DoNotOptimize(bodies.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(PlainArrayOfStructs)->Arg(1000)->Arg(100000);

} // namespace

BENCHMARK_MAIN();
