#include "host/simulate/RunSummary.h"

#include "common/platform/Platform.h"
#include "host/io/MarkupText.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zor::host {

namespace {

// A body resting on a floor sinks into it by the engine's slop at most; its centre stays above.
constexpr double kFloorTolerance = 0.01;

// The floors of the scenery on a uniform grid over them, so that finding the floors under a
// body looks at a few of them: a pile of 100,000 bodies stands on as many floor cells.
class FloorIndex {
public:
    explicit FloorIndex(const std::vector<SceneryFace>& scenery) {
        std::vector<double> sizes;
        for (const SceneryFace& face : scenery) {
            if (face.kind != SceneryFace::Kind::Floor || face.corners.empty())
                continue;
            Floor floor{{face.corners[0][0], face.corners[0][2]},
                        {face.corners[0][0], face.corners[0][2]},
                        face.corners[0][1]};
            for (const auto& corner : face.corners)
                for (int i = 0; i < 2; ++i) {
                    floor.low[i] = std::min(floor.low[i], corner[i * 2]);
                    floor.high[i] = std::max(floor.high[i], corner[i * 2]);
                }
            for (int i = 0; i < 2; ++i) {
                m_low[i] = std::min(m_low[i], floor.low[i]);
                m_high[i] = std::max(m_high[i], floor.high[i]);
            }
            sizes.push_back(std::max(floor.high[0] - floor.low[0], floor.high[1] - floor.low[1]));
            m_floors.push_back(floor);
        }
        if (m_floors.empty())
            return;
        // Cells as large as the usual floor, and not many more cells than floors.
        std::nth_element(sizes.begin(), sizes.begin() + sizes.size() / 2, sizes.end());
        const double area = (m_high[0] - m_low[0]) * (m_high[1] - m_low[1]);
        const double count = 4.0 * double(m_floors.size());
        m_cell = std::max({sizes[sizes.size() / 2], std::sqrt(area / count),
                           std::max(m_high[0] - m_low[0], m_high[1] - m_low[1]) / count});
        if (!(m_cell > 0) || !std::isfinite(m_cell))
            m_cell = 1;
        for (int i = 0; i < 2; ++i)
            m_cells[i] = std::size_t(std::floor((m_high[i] - m_low[i]) / m_cell)) + 1;
        m_members.resize(m_cells[0] * m_cells[1]);
        for (std::size_t floor = 0; floor < m_floors.size(); ++floor)
            for (std::size_t x = cellOf(0, m_floors[floor].low[0]); x <= cellOf(0, m_floors[floor].high[0]);
                 ++x)
                for (std::size_t z = cellOf(1, m_floors[floor].low[1]);
                     z <= cellOf(1, m_floors[floor].high[1]); ++z)
                    m_members[x * m_cells[1] + z].push_back(uint32(floor));
    }

    bool empty() const { return m_floors.empty(); }

    /// Whether the body stands over a floor: within its rectangle, its centre not below it.
    bool over(const BodySample& body) const {
        const double at[2] = {body.position[0], body.position[2]};
        if (!(at[0] >= m_low[0] && at[0] <= m_high[0] && at[1] >= m_low[1] && at[1] <= m_high[1]))
            return false;
        for (uint32 index : m_members[cellOf(0, at[0]) * m_cells[1] + cellOf(1, at[1])]) {
            const Floor& floor = m_floors[index];
            if (at[0] >= floor.low[0] && at[0] <= floor.high[0] && at[1] >= floor.low[1] &&
                at[1] <= floor.high[1] && body.position[1] >= floor.y - kFloorTolerance)
                return true;
        }
        return false;
    }

private:
    struct Floor {
        double low[2], high[2], y;
    };

    std::size_t cellOf(int axis, double value) const {
        const double cell = std::floor((value - m_low[axis]) / m_cell);
        return std::size_t(std::clamp(cell, 0.0, double(m_cells[axis] - 1)));
    }

    std::vector<Floor> m_floors;
    double m_low[2] = {INFINITY, INFINITY}, m_high[2] = {-INFINITY, -INFINITY};
    double m_cell = 1;
    std::size_t m_cells[2] = {0, 0};
    std::vector<std::vector<uint32>> m_members;
};

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

} // namespace

void RunSummary::start(const RunStart& start) {
    // The names, masses and gravity: the shapes of 100,000 bodies would take 9 MB.
    m_start.bodies = start.bodies;
    m_start.masses = start.masses;
    m_start.gravity = start.gravity;
    m_began = std::chrono::steady_clock::now();
}

double RunSummary::energyOf(const std::vector<BodySample>& bodies) const {
    double energy = 0;
    for (std::size_t body = 0; body < bodies.size(); ++body) {
        const double mass = m_start.masses[body];
        const double* v = bodies[body].linearSpeed;
        energy += mass * (0.5 * (v[0] * v[0] + v[1] * v[1] + v[2] * v[2]) +
                          m_start.gravity * bodies[body].position[1]);
    }
    return energy;
}

void RunSummary::step(const StepRecord& record) {
    if (record.step == 0)
        m_startEnergy = energyOf(record.bodies);
    m_steps = record.step;
    m_time = record.time;
    m_contacts += record.contacts;
    m_mostContacts = std::max(m_mostContacts, record.contacts);
    m_deepestOverlap = std::max(m_deepestOverlap, record.deepestOverlap);
}

void RunSummary::finish(const RunEnd& end) {
    m_wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - m_began).count();
    m_endEnergy = end.bodies.empty() ? m_startEnergy : energyOf(end.bodies);
    m_stopped = end.reason;
    m_peakMemoryKilobytes = platform::peakResidentKilobytes();
    const FloorIndex floors(end.scenery);
    if (floors.empty())
        return;
    for (std::size_t body = 0; body < end.bodies.size(); ++body)
        if (!floors.over(end.bodies[body]))
            m_leftEveryFloor.push_back(m_start.bodies[body]);
}

std::string RunSummary::json() const {
    nlohmann::ordered_json summary;
    summary["steps"] = m_steps;
    summary["simulatedTime"] = m_time;
    summary["wallTime"] = m_wallSeconds;
    summary["bodies"] = m_start.bodies.size();
    summary["contactsPerStep"] = {
        {"mean", m_steps == 0 ? 0.0 : static_cast<double>(m_contacts) / static_cast<double>(m_steps)},
        {"max", m_mostContacts}};
    summary["energy"] = {{"start", m_startEnergy}, {"end", m_endEnergy}};
    summary["deepestOverlap"] = m_deepestOverlap;
    nlohmann::ordered_json left = nlohmann::ordered_json::array();
    for (const std::string& name : m_leftEveryFloor)
        left.push_back(wellFormedText(name));
    summary["leftEveryFloor"] = left;
    summary["peakMemoryMB"] = std::round(static_cast<double>(m_peakMemoryKilobytes) / 102.4) / 10;
    if (!m_stopped.empty())
        summary["stopped"] = wellFormedText(m_stopped);
    return summary.dump(2) + "\n";
}

std::string RunSummary::text() const {
    std::string text = "Summary: " + std::to_string(m_steps) + " steps, " + number(m_time) +
                       " s simulated in " + number(m_wallSeconds) + " s, " +
                       std::to_string(m_start.bodies.size()) +
                       (m_start.bodies.size() == 1 ? " body\n" : " bodies\n");
    text += "  contacts per step: mean " +
            number(m_steps == 0 ? 0.0 : static_cast<double>(m_contacts) / static_cast<double>(m_steps)) +
            ", max " + std::to_string(m_mostContacts) + "; deepest overlap " + number(m_deepestOverlap) +
            "\n";
    text += "  energy (kinetic + potential): " + number(m_startEnergy) + " at the start, " +
            number(m_endEnergy) + " at the end\n";
    if (!m_leftEveryFloor.empty()) {
        text += "  left every floor:";
        for (const std::string& name : m_leftEveryFloor)
            text += " " + wellFormedText(name);
        text += "\n";
    }
    return text;
}

} // namespace zor::host
