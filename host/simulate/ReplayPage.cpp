#include "host/simulate/Trajectory.h"

#include "host/io/MarkupText.h"
#include "host/simulate/ReplayViewer.h"

#include <algorithm>
#include <cmath>

namespace zor::host {

namespace {

// Writes the run's data as JSON; numbers as the run computed them (the shortest text of the
// float in a float run), values that are not finite as null.
class RunJson {
public:
    explicit RunJson(const Trajectory& trajectory) : m_trajectory(trajectory) {}

    std::string& text() { return m_text; }
    void number(double value) { m_text += std::isfinite(value) ? m_trajectory.text(value) : "null"; }
    void exact(double value) { m_text += std::isfinite(value) ? numberText(value) : "null"; }
    void point(const double* values) {
        m_text += '[';
        for (int axis = 0; axis < 3; ++axis) {
            if (axis)
                m_text += ',';
            number(values[axis]);
        }
        m_text += ']';
    }
    void point(const std::array<double, 3>& values) { point(values.data()); }
    template <typename List, typename Write>
    void list(const List& items, Write write) {
        m_text += '[';
        bool first = true;
        for (const auto& item : items) {
            if (!first)
                m_text += ',';
            first = false;
            write(item);
        }
        m_text += ']';
    }

private:
    const Trajectory& m_trajectory;
    std::string m_text;
};

void writeShape(RunJson& json, const BodyShape& shape) {
    std::string& text = json.text();
    switch (shape.kind) {
    case BodyShape::Kind::Sphere:
        text += "{\"kind\":\"sphere\",\"radius\":";
        json.exact(shape.radius);
        break;
    case BodyShape::Kind::Capsule:
        text += "{\"kind\":\"capsule\",\"radius\":";
        json.exact(shape.radius);
        text += ",\"height\":";
        json.exact(shape.height);
        text += ",\"axis\":[0,1,0]";
        break;
    case BodyShape::Kind::Mesh: {
        text += "{\"kind\":\"mesh\",\"triangles\":[";
        for (std::size_t corner = 0; corner + 2 < shape.corners.size(); corner += 3) {
            text += corner ? ",[" : "[";
            for (std::size_t i = corner; i < corner + 3; ++i) {
                if (i > corner)
                    text += ',';
                json.point(shape.corners[i]);
            }
            text += ']';
        }
        text += ']';
        break;
    }
    case BodyShape::Kind::None:
        text += "{\"kind\":\"none\"";
        break;
    }
    text += "},\"mass\":";
    json.exact(shape.mass);
    text += shape.infiniteMass ? ",\"infiniteMass\":true,\"restitution\":" : ",\"restitution\":";
    json.exact(shape.restitution);
    text += ",\"friction\":";
    json.exact(shape.friction);
}

const char* const kKinds[] = {"floor", "ceiling", "wall", "mesh"};

// The view volume cut to the depths at which the bodies move (a camera sees far beyond them):
// each corner slides along its edge from the near rectangle to the far one.
std::vector<std::array<double, 3>> visitedVolume(const Trajectory& trajectory) {
    const auto& corners = trajectory.viewVolume;
    std::array<double, 3> nearCentre{}, axis{};
    for (int i = 0; i < 4; ++i)
        for (int c = 0; c < 3; ++c) {
            nearCentre[c] += corners[i][c] / 4;
            axis[c] += (corners[i + 4][c] - corners[i][c]) / 4;
        }
    const double length2 = axis[0] * axis[0] + axis[1] * axis[1] + axis[2] * axis[2];
    double low = 1, high = 0, reach = 0;
    for (const BodyShape& shape : trajectory.shapes)
        reach = std::max(reach, shape.radius + shape.height / 2);
    for (const BodySample& sample : trajectory.samples) {
        const double* p = sample.position;
        if (!(std::isfinite(p[0]) && std::isfinite(p[1]) && std::isfinite(p[2])) || !(length2 > 0))
            continue;
        const double t = ((p[0] - nearCentre[0]) * axis[0] + (p[1] - nearCentre[1]) * axis[1] +
                          (p[2] - nearCentre[2]) * axis[2]) /
                         length2;
        low = std::min(low, t);
        high = std::max(high, t);
    }
    if (low > high)
        return corners;
    const double margin = 2 * reach / std::sqrt(length2) + (high - low) * 0.1;
    low = std::clamp(low - margin, 0.0, 1.0);
    high = std::clamp(high + margin, 0.0, 1.0);
    std::vector<std::array<double, 3>> cut(8);
    for (int i = 0; i < 4; ++i)
        for (int c = 0; c < 3; ++c) {
            const double edge = corners[i + 4][c] - corners[i][c];
            cut[i][c] = corners[i][c] + edge * low;
            cut[i + 4][c] = corners[i][c] + edge * high;
        }
    return cut;
}

} // namespace

std::string replayData(const Trajectory& trajectory, const std::string& title) {
    RunJson json(trajectory);
    std::string& text = json.text();
    const std::size_t frames = trajectory.stepCount();
    text += "{\"title\":" + jsonText(title) + ",\"lengthUnit\":\"m\",\"timeUnit\":\"s\",\"steps\":" +
            std::to_string(frames ? trajectory.steps.back() : 0) + ",\"deltaT\":";
    json.exact(trajectory.deltaT);
    if (trajectory.thinned())
        text += ",\"decimatedFrom\":" + std::to_string(trajectory.offered);
    if (!trajectory.note.empty())
        text += ",\"stopped\":" + jsonText(trajectory.note);
    text += ",\"bodies\":[";
    for (std::size_t body = 0; body < trajectory.bodies.size(); ++body) {
        text += (body ? ",{\"name\":" : "{\"name\":") + jsonText(trajectory.bodies[body]) + ",\"shape\":";
        writeShape(json, body < trajectory.shapes.size() ? trajectory.shapes[body] : BodyShape{});
        text += '}';
    }
    text += "],\"frames\":[";
    for (std::size_t frame = 0; frame < frames; ++frame) {
        text +=
            (frame ? ",{\"step\":" : "{\"step\":") + std::to_string(trajectory.steps[frame]) + ",\"time\":";
        json.exact(trajectory.times[frame]);
        text += ",\"states\":[";
        for (std::size_t body = 0; body < trajectory.bodies.size(); ++body) {
            const BodySample& sample = trajectory.at(frame, body);
            text += body ? ",[" : "[";
            for (const double* triple : {sample.position, sample.rotation, sample.linearSpeed})
                for (int axis = 0; axis < 3; ++axis) {
                    if (triple != sample.position || axis)
                        text += ',';
                    json.number(triple[axis]);
                }
            text += ']';
        }
        text += ']';
        if (frame < trajectory.contacts.size() && !trajectory.contacts[frame].empty()) {
            text += ",\"contacts\":";
            json.list(trajectory.contacts[frame], [&](const ContactRecord& contact) {
                text += "{\"a\":" + jsonText(contact.first) + ",\"b\":" + jsonText(contact.second) +
                        ",\"normal\":";
                json.point(contact.normal);
                text += ",\"depth\":";
                json.number(contact.depth);
                text += ",\"point\":";
                json.point(contact.point);
                text += '}';
            });
        }
        text += '}';
    }
    text += "],\"scenery\":";
    json.list(trajectory.scenery, [&](const SceneryFace& face) {
        text += std::string("{\"kind\":\"") + kKinds[static_cast<int>(face.kind)] + "\",\"corners\":";
        json.list(face.corners, [&](const std::array<double, 3>& corner) { json.point(corner); });
        if (face.kind != SceneryFace::Kind::Mesh) {
            text += ",\"facing\":";
            json.point(face.facing);
        }
        text += '}';
    });
    if (trajectory.viewVolume.size() == 8) {
        text += ",\"viewVolume\":";
        json.list(visitedVolume(trajectory),
                  [&](const std::array<double, 3>& corner) { json.point(corner); });
    }
    return text + "}";
}

std::string replayPage(const Trajectory& trajectory, const std::string& title) {
    return replayViewerPage(replayData(trajectory, title), title);
}

} // namespace zor::host
