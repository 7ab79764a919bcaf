#pragma once

#include "host/simulate/Simulation.h"

#include <chrono>
#include <cstdio>

namespace zor::host {

/// A progress line for a person watching a long run: once the run has taken a second, the
/// line shows the step, the steps per second and the time left, rewritten in place a few times
/// a second on `stream` (a terminal), and is cleared when the run ends.
class RunProgress final : public RunObserver {
public:
    RunProgress(std::FILE* stream, uint64 steps) : m_stream(stream), m_steps(steps) {}

    void start(const RunStart&) override { m_began = m_shown = std::chrono::steady_clock::now(); }
    void step(const StepRecord& record) override;
    void finish(const RunEnd&) override;

private:
    std::FILE* m_stream;
    uint64 m_steps;
    std::chrono::steady_clock::time_point m_began;
    std::chrono::steady_clock::time_point m_shown;
    bool m_showing = false;
};

} // namespace zor::host
