#include "host/simulate/Simulation.h"

#include "common/framework/IElement.h"
#include "common/object/Identifiers.h"
#include "host/simulate/BodyProbe.h"
#include "host/simulate/Scenery.h"

namespace zor::host {

namespace {

// The scene's rigid bodies in walking order, with their names.
template <typename T>
std::vector<Element3D<T>*> rigidBodies(Scene3D<T>& scene, std::vector<std::string>& names) {
    std::vector<Element3D<T>*> bodies;
    CollectionIterator it;
    CollectionIterator end;
    uint64 index = 0;
    for (scene.elements().begin(&it), scene.elements().end(&end); !(it == end); ++it, ++index) {
        auto* element = static_cast<Element3D<T>*>(*it);
        if (element->getPhysicsAttribute(1) == nullptr)
            continue;
        bodies.push_back(element);
        const String& name = element->getName();
        names.push_back(name.isEmpty() ? "element " + std::to_string(index) : std::string(name.c_str()));
    }
    return bodies;
}

template <typename T>
void record(const std::vector<Element3D<T>*>& bodies, double time, Trajectory& trajectory) {
    trajectory.times.push_back(time);
    for (Element3D<T>* body : bodies) {
        const TransformRecord<T>& transform = body->transform();
        BodySample sample{{transform.position.x, transform.position.y, transform.position.z},
                          {transform.rotation.x, transform.rotation.y, transform.rotation.z},
                          {0, 0, 0}};
        readLinearSpeed(body->getPhysicsAttribute(1), sample.linearSpeed);
        trajectory.samples.push_back(sample);
    }
}

// The host's lifts: every grid stage's floors and ceilings move by their speeds.
template <typename T>
void moveGridStages(Scene3D<T>& scene, double deltaT) {
    IObjectCollection* stages = scene.getGridStages();
    if (stages == nullptr)
        return;
    CollectionIterator it;
    CollectionIterator end;
    for (stages->begin(&it), stages->end(&end); !(it == end); ++it)
        if (auto* stage = dynamic_cast<GridStage<T>*>(*it))
            stage->moveFaces(static_cast<T>(deltaT));
}

} // namespace

template <typename T>
bool runSimulation(IPhysicsEngine3D& engine, Scene3D<T>& scene, const SimulationSettings& settings,
                   Trajectory& trajectory, const std::function<void(uint64)>& progress) {
    const std::vector<Element3D<T>*> bodies = rigidBodies(scene, trajectory.bodies);
    trajectory.singlePrecision = sizeof(T) == sizeof(float);
    engine.setCurrentScene(&scene);
    scene.updateView();
    record(bodies, 0, trajectory);
    bool stepped = true;
    for (uint64 step = 1; step <= settings.steps && stepped; ++step) {
        if (!engine.beginIteration(settings.deltaT)) {
            stepped = false;
            break;
        }
        stepped = engine.updateMovements();
        moveGridStages(scene, settings.deltaT);
        // The collision stage works on the world matrices and unfolded entries of this step.
        scene.updateView();
        stepped = stepped && engine.updateCollisions(nullptr);
        engine.endIteration();
        if (stepped)
            record(bodies, static_cast<double>(step) * settings.deltaT, trajectory);
        if (progress)
            progress(step);
    }
    engine.setCurrentScene(nullptr);
    collectScenery(scene, trajectory.scenery);
    return stepped;
}

template bool runSimulation(IPhysicsEngine3D&, Scene3D<float>&, const SimulationSettings&, Trajectory&,
                            const std::function<void(uint64)>&);
template bool runSimulation(IPhysicsEngine3D&, Scene3D<double>&, const SimulationSettings&, Trajectory&,
                            const std::function<void(uint64)>&);

} // namespace zor::host
