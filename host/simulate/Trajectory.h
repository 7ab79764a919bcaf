#pragma once

// numberText: the shortest text that reads back to the same double.
#include "host/io/NumberText.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zor::host {

/// One body's state after one step.
struct BodySample {
    double position[3];
    double rotation[3];
    double linearSpeed[3];
};

/// A face of the scene's fixed parts, for the pictures: a grid stage's floor, ceiling or wall
/// segment, or a mesh triangle, with its corners in world coordinates.
struct SceneryFace {
    /// The replay page's script knows the kinds by these numbers.
    enum class Kind { Floor = 0, Ceiling = 1, Wall = 2, Mesh = 3 };
    Kind kind;
    std::vector<std::array<double, 3>> corners;
};

/// What a simulation run recorded: the bodies by name, and for each step (step 0 is the start)
/// the time and every body's state, in the bodies' order.
struct Trajectory {
    std::vector<std::string> bodies;
    std::vector<double> times;
    /// samples[step * bodies.size() + body].
    std::vector<BodySample> samples;
    /// The scene computed in float: its numbers are written as the shortest text of the float.
    bool singlePrecision = false;
    /// The grid stages' faces and the mesh triangles as the run left them.
    std::vector<SceneryFace> scenery;

    /// A number of the run as text.
    std::string text(double value) const {
        return singlePrecision ? numberText(static_cast<float>(value)) : numberText(value);
    }

    std::size_t stepCount() const { return times.size(); }
    const BodySample& at(std::size_t step, std::size_t body) const {
        return samples[step * bodies.size() + body];
    }
};

/// The trajectories as CSV: a header, then one row per step and body (step, time, element,
/// position, rotation, linear speed), numbers written so that reading them gives the same value.
std::string trajectoryCsv(const Trajectory& trajectory);

/// An SVG picture with the side view (x across, y up) and the top view (x across, z down) of
/// the scenery (ceilings in the side view only), every body's path over it, one path element
/// per body, and each body's final position.
std::string trajectorySvg(const Trajectory& trajectory, const std::string& title);

/// A self-contained HTML page that replays the run in the same two views.
std::string replayPage(const Trajectory& trajectory, const std::string& title);

} // namespace zor::host
