#include "host/simulate/Simulation.h"

#include "common/framework/IElement.h"
#include "host/io/NumberText.h"
#include "host/simulate/BodyProbe.h"
#include "host/simulate/ContactRecorder.h"
#include "host/simulate/Scenery.h"
#include "physics/engine3d/ICollisionReport.h"

#include "common/object/Identifiers.h"
#include "host/scene3d/Transform3D.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace zor::host {

namespace {

// What the collision callbacks saw during one step, for an engine without a report of its own.
// The engine's callbacks carry no context of their own, and one engine is stepped on one thread
// at a time.
struct ContactTally {
    uint64 contacts = 0;
    double deepest = 0;
    /// The run's ContactRecorder<T>, which records each contact as well.
    void* recorder = nullptr;

    void add(double depth) {
        ++contacts;
        if (depth > deepest)
            deepest = depth;
    }
};

thread_local ContactTally* t_tally = nullptr;

template <typename T>
bool countPairContact(IElement* body1, IElement* element1, Collision3DAttribute<T>*, RigidBody3DAttribute<T>*,
                      IElement* body2, IElement* element2, Collision3DAttribute<T>*, RigidBody3DAttribute<T>*,
                      Vector3<T>* normal, T depth) {
    if (t_tally == nullptr)
        return true;
    t_tally->add(static_cast<double>(depth));
    if (t_tally->recorder != nullptr && normal != nullptr)
        static_cast<ContactRecorder<T>*>(t_tally->recorder)
            ->pair(body1, element1, body2, element2, *normal, depth);
    return true;
}

template <typename T>
bool countFaceContact(IElement* body, IElement* element, Collision3DAttribute<T>*, RigidBody3DAttribute<T>*,
                      IObject* stage, Collision3DAttribute<T>*, RigidBody3DAttribute<T>*, uint32 cell,
                      uint32 faceKind, uint32 segment, Vector3<T>* normal, T depth) {
    if (t_tally == nullptr)
        return true;
    t_tally->add(static_cast<double>(depth));
    if (t_tally->recorder != nullptr && normal != nullptr)
        static_cast<ContactRecorder<T>*>(t_tally->recorder)
            ->face(body, element, stage, cell, faceKind, segment, *normal, depth);
    return true;
}

// The contacts of the engine's last collision stage on a scene of T, and the deepest of them.
template <typename T>
void readReport(const ICollisionReport& report, ContactTally& tally) {
    if constexpr (sizeof(T) == sizeof(float)) {
        tally.contacts = report.getContactCountFloat();
        tally.deepest = static_cast<double>(report.getDeepestContactFloat());
    } else {
        tally.contacts = report.getContactCountDouble();
        tally.deepest = report.getDeepestContactDouble();
    }
}

// The contacts the engine's last collision stage on a scene of T listed, into `recorder`.
template <typename T>
void recordListed(const ICollisionReport& report, ContactRecorder<T>& recorder) {
    if constexpr (sizeof(T) == sizeof(float))
        recorder.listed(report.getListedContactsFloat(), report.getListedContactCountFloat());
    else
        recorder.listed(report.getListedContactsDouble(), report.getListedContactCountDouble());
}

template <typename T>
void setCallbacks(IPhysicsEngine3D& engine, bool counting) {
    if constexpr (sizeof(T) == sizeof(float)) {
        engine.setCollisionCallbackFloat(counting ? &countPairContact<float> : nullptr);
        engine.setGridStageCollisionCallbackFloat(counting ? &countFaceContact<float> : nullptr);
    } else {
        engine.setCollisionCallbackDouble(counting ? &countPairContact<double> : nullptr);
        engine.setGridStageCollisionCallbackDouble(counting ? &countFaceContact<double> : nullptr);
    }
}

// The scene's rigid bodies in walking order, with their names and masses, and where their
// speeds lie.
template <typename T>
std::vector<Element3D<T>*> rigidBodies(Scene3D<T>& scene, bool shapes, RunStart& start,
                                       std::vector<SpeedPlace>& speeds) {
    std::vector<Element3D<T>*> bodies;
    CollectionIterator it;
    CollectionIterator end;
    uint64 index = 0;
    for (scene.elements().begin(&it), scene.elements().end(&end); !(it == end); ++it, ++index) {
        auto* element = static_cast<Element3D<T>*>(*it);
        BodyReading reading;
        if (!readBody(*element, reading))
            continue;
        bodies.push_back(element);
        speeds.push_back(reading.speed);
        const String& name = element->getName();
        start.bodies.push_back(name.isEmpty() ? "element " + std::to_string(index)
                                              : std::string(name.c_str()));
        start.masses.push_back(reading.mass);
        if (shapes)
            readShape(*element, start.shapes.emplace_back());
    }
    return bodies;
}

// Puts a body nested in other elements where it is in the scene: its transform record is
// relative to its parent, which may move as well. The rotation is the world matrix's, about x,
// then y, then z, with each axis's scale taken out.
template <typename T>
void placeInScene(Element3D<T>& body, BodySample& sample) {
    IObject* parent = body.getParent();
    if (parent == nullptr || !parent->isTypeOf(guids::kElement3D))
        return;
    const auto local = [](Element3D<T>& element) {
        return localMatrix(element.transform().position, element.transform().rotation, element.scale());
    };
    Matrix4x4<T> world = local(body);
    for (; parent != nullptr && parent->isTypeOf(guids::kElement3D); parent = parent->getParent())
        world = multiply(world, local(*static_cast<Element3D<T>*>(parent)));
    double turn[3][3];
    for (int row = 0; row < 3; ++row) {
        const double length =
            std::hypot(double(world[4 * row]), double(world[4 * row + 1]), double(world[4 * row + 2]));
        for (int column = 0; column < 3; ++column)
            turn[row][column] = length > 0 ? double(world[4 * row + column]) / length : 0;
    }
    for (int axis = 0; axis < 3; ++axis)
        sample.position[axis] = world[12 + axis];
    sample.rotation[0] = std::atan2(turn[1][2], turn[2][2]);
    sample.rotation[1] = std::asin(std::clamp(-turn[0][2], -1.0, 1.0));
    sample.rotation[2] = std::atan2(turn[0][1], turn[0][0]);
}

// Which bodies stand inside other elements; a run does not move elements between parents.
template <typename T>
std::vector<char> nestedBodies(const std::vector<Element3D<T>*>& bodies) {
    std::vector<char> nested(bodies.size());
    for (std::size_t body = 0; body < bodies.size(); ++body) {
        const IObject* parent = bodies[body]->getParent();
        nested[body] = parent != nullptr && parent->isTypeOf(guids::kElement3D);
    }
    return nested;
}

// Reads every body into `samples` (`speeds`: rigidBodies', `nested`: nestedBodies); the first
// value that is not finite, described, or "".
template <typename T>
std::string readBodies(const std::vector<Element3D<T>*>& bodies, const std::vector<SpeedPlace>& speeds,
                       const std::vector<char>& nested, const std::vector<std::string>& names,
                       std::vector<BodySample>& samples) {
    std::string fault;
    for (std::size_t body = 0; body < bodies.size(); ++body) {
        BodySample& sample = samples[body];
        readAgain(*bodies[body], speeds[body], sample);
        if (nested[body])
            placeInScene(*bodies[body], sample);
        const struct {
            const char* what;
            const double* values;
        } checked[] = {{"position", sample.position}, {"speed", sample.linearSpeed}};
        for (const auto& [what, values] : checked)
            for (int axis = 0; axis < 3 && fault.empty(); ++axis)
                if (!std::isfinite(values[axis]))
                    fault = std::string("the ") + what + " of \"" + names[body] +
                            "\" is not finite: " + "xyz"[axis] + " = " + numberText(values[axis]);
    }
    return fault;
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
RunEnd runSimulation(IPhysicsEngine3D& engine, Scene3D<T>& scene, const SimulationSettings& settings,
                     RunObserver& observer) {
    RunStart start;
    std::vector<SpeedPlace> speeds;
    const std::vector<Element3D<T>*> bodies = rigidBodies(scene, settings.shapes, start, speeds);
    start.singlePrecision = sizeof(T) == sizeof(float);
    start.gravity = scene.getGravity();
    start.deltaT = settings.deltaT;
    for (const BodyShape& shape : start.shapes)
        if (shape.wraps && start.viewVolume.empty())
            start.viewVolume = viewVolume(scene.camera());
    observer.start(start);
    // The observers took what they keep of the shapes.
    std::vector<BodyShape>().swap(start.shapes);

    RunEnd end;
    // The state of the last step told, and the one being read, which may not be finite.
    std::vector<BodySample> samples(bodies.size()), reading(bodies.size());
    engine.setCurrentScene(&scene);
    scene.updateView();
    ContactRecorder<T> recorder(bodies, start.bodies);
    ContactTally tally;
    t_tally = &tally;
    // The engine counts contacts itself, and lists those of the steps recorded in full: without
    // callbacks, which would have it leave the bodies' states in place for host code, its
    // collision stage works on copies of them.
    auto* report = static_cast<ICollisionReport*>(engine.castTo(guids::kCollisionReport));
    const bool listing = report != nullptr && settings.listContacts;
    // The records are made from the engine's list as the observers read them, on any thread,
    // while the next steps run: the list stays until the next listed stage.
    if (listing)
        report->setContactListKept(true);
    const std::vector<char> nested = nestedBodies(bodies);
    std::string fault = readBodies(bodies, speeds, nested, start.bodies, samples);
    const bool started = fault.empty();
    if (started)
        observer.step({0, 0, samples, 0, 0, &recorder, &recorder.otherNames()});
    const uint64 every = std::max<uint64>(settings.recordEvery, 1);
    for (uint64 step = 1; step <= settings.steps && fault.empty(); ++step) {
        // A pile of 100,000 bodies touches in a million places a step: only the steps recorded
        // in full pay for names and points.
        const bool full = step % every == 0 || step == settings.steps;
        if (full) {
            observer.gathering();
            recorder.clear(tally.contacts);
        }
        tally = {0, 0, full ? &recorder : nullptr};
        setCallbacks<T>(engine, report == nullptr || (full && !listing));
        if (listing)
            report->setContactListing(full);
        bool stepped = engine.beginIteration(settings.deltaT);
        if (stepped) {
            stepped = engine.updateMovements();
            moveGridStages(scene, settings.deltaT);
            // The collision stage works on the world matrices and unfolded entries of this step.
            scene.updateView();
            if (full)
                recorder.beforeCollisions();
            stepped = stepped && engine.updateCollisions(nullptr);
            engine.endIteration();
        }
        if (stepped && report != nullptr)
            readReport<T>(*report, tally);
        if (stepped && listing && full)
            recordListed<T>(*report, recorder);
        if (!stepped) {
            end.kind = RunEnd::Kind::EngineRefused;
            break;
        }
        fault = readBodies(bodies, speeds, nested, start.bodies, reading);
        if (!fault.empty()) {
            end.reason = "step " + std::to_string(step) + ": " + fault;
            break;
        }
        samples.swap(reading);
        end.lastStep = step;
        observer.step({step, static_cast<double>(step) * settings.deltaT, samples, tally.contacts,
                       tally.deepest, full ? &recorder : nullptr, &recorder.otherNames()});
    }
    if (!fault.empty()) {
        end.kind = RunEnd::Kind::NotFinite;
        if (end.reason.empty())
            end.reason = "step 0: " + fault;
    }
    if (started)
        end.bodies = std::move(samples);
    setCallbacks<T>(engine, false);
    if (listing) {
        report->setContactListing(false);
        report->setContactListKept(false);
    }
    t_tally = nullptr;
    engine.setCurrentScene(nullptr);
    collectScenery(scene, end.scenery);
    observer.finish(end);
    return end;
}

std::vector<ContactRecord> namedContacts(const StepRecord& record, const std::vector<std::string>& bodies,
                                         std::size_t most) {
    std::vector<ContactRecord> named;
    if (record.contactList == nullptr)
        return named;
    const auto nameOf = [&](uint32 number) -> const std::string& {
        return number < bodies.size() ? bodies[number] : (*record.otherNames)[number - bodies.size()];
    };
    std::vector<ContactEntry> entries;
    record.contactList->entries(0, std::min(most, record.contactList->size()), entries);
    named.reserve(entries.size());
    for (const ContactEntry& contact : entries) {
        named.push_back(
            {nameOf(contact.first), nameOf(contact.second), contact.normal, contact.depth, contact.point});
    }
    return named;
}

void startTrajectory(const RunStart& start, Trajectory& trajectory) {
    trajectory.bodies = start.bodies;
    trajectory.singlePrecision = start.singlePrecision;
    trajectory.shapes = start.shapes;
    trajectory.viewVolume = start.viewVolume;
    trajectory.deltaT = start.deltaT;
}

namespace {

// Every step into a trajectory that is never thinned.
class TrajectoryKeeper final : public RunObserver {
public:
    explicit TrajectoryKeeper(Trajectory& trajectory) : m_trajectory(trajectory) {
        m_trajectory.mostFrames = SIZE_MAX;
    }
    void start(const RunStart& start) override { startTrajectory(start, m_trajectory); }
    void step(const StepRecord& record) override {
        const std::vector<ContactRecord> contacts =
            namedContacts(record, m_trajectory.bodies, kMostContactsPerFrame);
        m_trajectory.keep(record.step, record.time, record.bodies, &contacts);
    }
    void finish(const RunEnd& end) override { m_trajectory.scenery = end.scenery; }

private:
    Trajectory& m_trajectory;
};

} // namespace

template <typename T>
bool runSimulation(IPhysicsEngine3D& engine, Scene3D<T>& scene, const SimulationSettings& settings,
                   Trajectory& trajectory) {
    TrajectoryKeeper keeper(trajectory);
    return runSimulation(engine, scene, settings, static_cast<RunObserver&>(keeper)).kind ==
           RunEnd::Kind::Completed;
}

template bool runSimulation(IPhysicsEngine3D&, Scene3D<float>&, const SimulationSettings&, Trajectory&);
template bool runSimulation(IPhysicsEngine3D&, Scene3D<double>&, const SimulationSettings&, Trajectory&);
template RunEnd runSimulation(IPhysicsEngine3D&, Scene3D<float>&, const SimulationSettings&, RunObserver&);
template RunEnd runSimulation(IPhysicsEngine3D&, Scene3D<double>&, const SimulationSettings&, RunObserver&);

} // namespace zor::host
