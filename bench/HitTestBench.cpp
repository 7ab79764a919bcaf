// Hit tests that miss every element, so that the walk visits every record: the two engines on
// host scenes of 100, 10,000 and 1,000,000 buttons, against a plain loop doing the same inverse
// transform and rectangle test over an array of structs. Items processed are elements.

#include "host/project/HostPhysicsAttribute.h"
#include "host/scene2d/Scene2D.h"
#include "physics/attributes/HitTestAttribute.h"
#include "physics/attributes/HitTestEvent.h"
#include "physics/hittest/PhysicsEngine2D.h"
#include "physics/hittest/TesterEngine.h"
#include "physics/math/MatrixRoutines.h"
#include "support/TestApplicationData.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

using namespace zor;

constexpr Vector2<float> kMissingPoint{-100, -100};

constexpr Rect<float> kButton{0, 0, 10, 10};

// Buttons in rows of 1000, 12 apart, turned a little so that no matrix is the identity.
Transform2D<float> placeOf(int64 index) {
    return Transform2D<float>{{static_cast<float>(index % 1000) * 12, static_cast<float>(index / 1000) * 12},
                              5};
}

template <typename Engine>
void hitTestMissingEverything(benchmark::State& state) {
    test::TestApplicationData record{&HostObject::create, &HostPhysicsAttribute::create};
    auto* scene = new Scene2D<float>();
    auto* attribute = new HitTestAttribute();
    for (int64 i = 0; i < state.range(0); ++i) {
        Element2D<float>* button = scene->addElement(nullptr, ElementKind2D::Button, String());
        button->geometry.rectangle = kButton;
        button->geometry.transform = placeOf(i);
        button->setHitTestAttribute(attribute);
    }
    scene->unfold();
    IObject* handler = HostObject::create();
    auto* engine = static_cast<Engine*>(Engine::allocateObject());
    engine->setResourcesHandler(handler);
    engine->setCurrentScene(scene);

    for (auto _ : state) {
        HitTestEvent* event = engine->performHitTestToSceneFloat(kMissingPoint);
        benchmark::DoNotOptimize(event);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));

    engine->release();
    handler->release();
    attribute->release();
    scene->release();
}

struct PlainElement {
    Matrix3x3<float> matrix;
    Rect<float> rectangle;
};

void plainLoopMissingEverything(benchmark::State& state) {
    std::vector<PlainElement> elements(static_cast<std::size_t>(state.range(0)));
    for (std::size_t i = 0; i < elements.size(); ++i)
        elements[i] = PlainElement{placeOf(static_cast<int64>(i)).matrix(), kButton};

    for (auto _ : state) {
        std::size_t hit = elements.size();
        for (std::size_t i = elements.size(); i-- > 0;) {
            if (isPointInTransformedRect(kMissingPoint, elements[i].rectangle, elements[i].matrix)) {
                hit = i;
                break;
            }
        }
        benchmark::DoNotOptimize(hit);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void PhysicsEngine2DMiss(benchmark::State& state) {
    hitTestMissingEverything<PhysicsEngine2D>(state);
}
void TesterEngineMiss(benchmark::State& state) {
    hitTestMissingEverything<TesterEngine>(state);
}
void PlainLoopMiss(benchmark::State& state) {
    plainLoopMissingEverything(state);
}

BENCHMARK(PhysicsEngine2DMiss)->Arg(100)->Arg(10000)->Arg(1000000);
BENCHMARK(TesterEngineMiss)->Arg(100)->Arg(10000)->Arg(1000000);
BENCHMARK(PlainLoopMiss)->Arg(100)->Arg(10000)->Arg(1000000);

} // namespace

BENCHMARK_MAIN();
