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

/// The frames of a run that its pictures show: the bodies by name, and for each kept frame its
/// step, its time and every body's state, in the bodies' order. A long run is thinned as it
/// goes: when `mostFrames` frames are held, every other one is dropped and from then on only
/// every other offered frame is kept, so memory stays bounded whatever the number of steps.
struct Trajectory {
    std::vector<std::string> bodies;
    std::vector<std::uint64_t> steps;
    std::vector<double> times;
    /// samples[frame * bodies.size() + body].
    std::vector<BodySample> samples;
    /// The scene computed in float: its numbers are written as the shortest text of the float.
    bool singlePrecision = false;
    /// The grid stages' faces and the mesh triangles as the run left them.
    std::vector<SceneryFace> scenery;
    /// At most this many frames are kept (one more when the last frame is added at the end).
    std::size_t mostFrames = 1000;
    /// Only every `stride`-th offered frame is kept; it doubles at each thinning.
    std::uint64_t stride = 1;
    /// Frames offered so far.
    std::uint64_t offered = 0;
    /// Said by the pictures under their title, when not empty (a run stopped early, ...).
    std::string note;

    /// Offers a frame; kept when it falls on the stride.
    void offer(std::uint64_t step, double time, const std::vector<BodySample>& state);
    /// Keeps the frame whatever the stride (the last frame of a run).
    void keep(std::uint64_t step, double time, const std::vector<BodySample>& state);
    /// True when frames were dropped.
    bool thinned() const { return stride > 1; }

    /// A number of the run as text.
    std::string text(double value) const {
        return singlePrecision ? numberText(static_cast<float>(value)) : numberText(value);
    }

    std::size_t stepCount() const { return times.size(); }
    const BodySample& at(std::size_t frame, std::size_t body) const {
        return samples[frame * bodies.size() + body];
    }
};

/// The CSV header of the trajectories: step, time, element, position, rotation, linear speed.
std::string trajectoryCsvHeader();

/// The CSV rows of one step, one per body, numbers written so that reading them gives the same
/// value (in float for a float run).
std::string trajectoryCsvRows(std::uint64_t step, double time, const std::vector<std::string>& bodies,
                              const std::vector<BodySample>& state, bool singlePrecision);

/// An SVG picture with the side view (x across, y up) and the top view (x across, z down) of
/// the scenery (ceilings in the side view only), every body's path over it, one path element
/// per body, and each body's final position.
std::string trajectorySvg(const Trajectory& trajectory, const std::string& title);

/// A self-contained HTML page that replays the run in the same two views.
std::string replayPage(const Trajectory& trajectory, const std::string& title);

} // namespace zor::host
