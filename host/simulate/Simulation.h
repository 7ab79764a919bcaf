#pragma once

#include "host/scene3d/Scene3D.h"
#include "host/simulate/StepContacts.h"
#include "host/simulate/Trajectory.h"
#include "physics/engine3d/IPhysicsEngine3D.h"

#include <string>
#include <vector>

namespace zor::host {

/// How long a run is.
struct SimulationSettings {
    uint64 steps = 200;
    double deltaT = 0.02;
    /// The steps recorded in full are the start, every `recordEvery`-th step and the last: the
    /// contacts of the others are only counted.
    uint64 recordEvery = 1;
    /// The contacts of the steps recorded in full come from the engine's list when it has a
    /// report (ICollisionReport); false asks its callbacks for them, as for an engine without one.
    bool listContacts = true;
    /// The bodies' shapes and attribute values are read into RunStart::shapes, which only the
    /// pictures use; false leaves them empty (reading a body's flags writes all its attribute's
    /// variables).
    bool shapes = true;
};

/// What a run is about, told before its first step.
struct RunStart {
    /// The rigid bodies by name, in the scene's walking order.
    std::vector<std::string> bodies;
    /// Their masses as the collisions use them; 0 for bodies of infinite mass.
    std::vector<double> masses;
    /// The scene computes in float.
    bool singlePrecision = false;
    /// The scene's gravity, along the negative y axis.
    double gravity = 0;
    /// The length of one step.
    double deltaT = 0;
    /// The bodies' shapes and attribute values, in the order of `bodies` (none when the settings
    /// ask for none).
    std::vector<BodyShape> shapes;
    /// The camera's view volume (near rectangle, then far), when a body wraps around it.
    std::vector<std::array<double, 3>> viewVolume;
};

/// One finished step (step 0 is the start, before any step).
struct StepRecord {
    uint64 step;
    double time;
    /// Every body's state, in the order of RunStart::bodies.
    const std::vector<BodySample>& bodies;
    /// Contacts the engine's collision detector reported during the step (each one a collision
    /// callback would be asked about), and the deepest of them (0 without contacts).
    uint64 contacts;
    double deepestOverlap;
    /// On a step recorded in full, the contacts themselves: the elements, normal, depth and
    /// the point the host puts them at; null on the other steps. They may be read, on any
    /// thread, until the run tells its observers that it gathers the next recorded step's
    /// (RunObserver::gathering) or that it has finished.
    const StepContacts* contactList = nullptr;
    /// The names of the contacts' parties that are not rigid bodies, numbered after the bodies
    /// (they only grow during a run).
    const std::vector<std::string>* otherNames = nullptr;
};

/// The first `most` contacts of a step recorded in full (none on the other steps), their
/// parties named (`bodies`: RunStart::bodies).
std::vector<ContactRecord> namedContacts(const StepRecord& record, const std::vector<std::string>& bodies,
                                         std::size_t most = SIZE_MAX);

/// Why a run ended.
struct RunEnd {
    enum class Kind { Completed, EngineRefused, NotFinite };
    Kind kind = Kind::Completed;
    /// The last step recorded.
    uint64 lastStep = 0;
    /// For NotFinite: which value of which body, at which step, for people to read.
    std::string reason;
    /// The grid stages' faces and the mesh triangles as the run left them.
    std::vector<SceneryFace> scenery;
    /// Every body's state at `lastStep`, in the order of RunStart::bodies; empty when not even
    /// the start could be read.
    std::vector<BodySample> bodies;
};

/// Told what a run does, as it does it.
class RunObserver {
public:
    virtual void start(const RunStart& start) = 0;
    /// A step recorded in full is about to gather its contacts: an observer still reading the
    /// last recorded step's (StepRecord::contactList) must be done with them on return.
    virtual void gathering() {}
    virtual void step(const StepRecord& record) = 0;
    virtual void finish(const RunEnd& end) = 0;

protected:
    ~RunObserver() = default;
};

/// Tells several observers, in their order.
class RunObservers final : public RunObserver {
public:
    explicit RunObservers(std::vector<RunObserver*> observers) : m_observers(std::move(observers)) {}
    void start(const RunStart& start) override {
        for (RunObserver* observer : m_observers)
            observer->start(start);
    }
    void gathering() override {
        for (RunObserver* observer : m_observers)
            observer->gathering();
    }
    void step(const StepRecord& record) override {
        for (RunObserver* observer : m_observers)
            observer->step(record);
    }
    void finish(const RunEnd& end) override {
        for (RunObserver* observer : m_observers)
            observer->finish(end);
    }

private:
    std::vector<RunObserver*> m_observers;
};

/// Takes what the pictures need of a run's start (bodies, shapes, view volume, ...) into
/// `trajectory`.
void startTrajectory(const RunStart& start, Trajectory& trajectory);

/// Steps `scene` with `engine` as a host does (begin, movements, the grid stages' moving floors
/// and ceilings, view update, collisions, end) and tells `observer` the start, every step and
/// the end. The contacts are counted by the engine (its ICollisionReport, or else its collision
/// callbacks) and, on the steps recorded in full, taken from the report's list (or else through
/// the callbacks, which accept every contact) and made into records. The run stops early
/// when the engine refuses a step (its log says why) or when a body's position or speed stops
/// being finite; that step is not told.
template <typename T>
RunEnd runSimulation(IPhysicsEngine3D& engine, Scene3D<T>& scene, const SimulationSettings& settings,
                     RunObserver& observer);

/// runSimulation that keeps every step of the run in `trajectory`, for short runs; true when
/// the run went through all its steps.
template <typename T>
bool runSimulation(IPhysicsEngine3D& engine, Scene3D<T>& scene, const SimulationSettings& settings,
                   Trajectory& trajectory);

} // namespace zor::host
