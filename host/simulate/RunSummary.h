#pragma once

#include "host/simulate/Simulation.h"

#include <chrono>
#include <string>
#include <vector>

namespace zor::host {

/// What a run did, gathered as it goes: steps, simulated and wall time, bodies, contacts per
/// step (mean and most), the total kinetic plus potential energy at the start and the end, the
/// deepest overlap the collision callbacks saw, the bodies that left every floor, and the
/// process's peak memory.
class RunSummary final : public RunObserver {
public:
    void start(const RunStart& start) override;
    void step(const StepRecord& record) override;
    void finish(const RunEnd& end) override;

    /// The summary as a JSON document (summary.json).
    std::string json() const;
    /// The summary in a few lines for the console.
    std::string text() const;

    /// The bodies that ended the run over no floor of any grid stage (below it or beside it);
    /// empty for a scene without floors.
    const std::vector<std::string>& leftEveryFloor() const { return m_leftEveryFloor; }

private:
    double energyOf(const std::vector<BodySample>& bodies) const;

    /// The bodies' names and masses and the gravity of the run's start.
    RunStart m_start;
    std::chrono::steady_clock::time_point m_began;
    double m_wallSeconds = 0;
    uint64 m_steps = 0;
    double m_time = 0;
    uint64 m_contacts = 0;
    uint64 m_mostContacts = 0;
    double m_deepestOverlap = 0;
    double m_startEnergy = 0;
    double m_endEnergy = 0;
    std::vector<std::string> m_leftEveryFloor;
    std::string m_stopped;
    /// The process's peak memory when the run ended.
    uint64 m_peakMemoryKilobytes = 0;
};

} // namespace zor::host
