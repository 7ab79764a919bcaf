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

bool overFloor(const BodySample& body, const std::vector<SceneryFace>& scenery, bool& anyFloor) {
    bool over = false;
    for (const SceneryFace& face : scenery) {
        if (face.kind != SceneryFace::Kind::Floor || face.corners.empty())
            continue;
        anyFloor = true;
        double low[2] = {face.corners[0][0], face.corners[0][2]};
        double high[2] = {low[0], low[1]};
        for (const auto& corner : face.corners)
            for (int i = 0; i < 2; ++i) {
                low[i] = std::min(low[i], corner[i * 2]);
                high[i] = std::max(high[i], corner[i * 2]);
            }
        const double x = body.position[0], z = body.position[2];
        over = over || (x >= low[0] && x <= high[0] && z >= low[1] && z <= high[1] &&
                        body.position[1] >= face.corners[0][1] - kFloorTolerance);
    }
    return over;
}

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

} // namespace

void RunSummary::start(const RunStart& start) {
    m_start = start;
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
    m_last = record.bodies;
}

void RunSummary::finish(const RunEnd& end) {
    m_wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - m_began).count();
    m_endEnergy = m_last.empty() ? m_startEnergy : energyOf(m_last);
    m_stopped = end.reason;
    m_peakMemoryKilobytes = platform::peakResidentKilobytes();
    bool anyFloor = false;
    for (std::size_t body = 0; body < m_last.size(); ++body)
        if (!overFloor(m_last[body], end.scenery, anyFloor))
            m_leftEveryFloor.push_back(m_start.bodies[body]);
    if (!anyFloor)
        m_leftEveryFloor.clear();
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
