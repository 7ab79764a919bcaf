#include "host/simulate/Trajectory.h"

#include <cstdio>
#include <cstdlib>

namespace zor::host {

namespace {

// A CSV field: quoted when it holds a separator, a quote or a line break.
std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

void appendTriple(std::string& row, const double (&values)[3], const Trajectory& trajectory) {
    for (double value : values)
        row += "," + trajectory.text(value);
}

} // namespace

std::string trajectoryCsv(const Trajectory& trajectory) {
    std::string csv = "step,time,element,x,y,z,rotationX,rotationY,rotationZ,speedX,speedY,speedZ\n";
    for (std::size_t step = 0; step < trajectory.stepCount(); ++step)
        for (std::size_t body = 0; body < trajectory.bodies.size(); ++body) {
            const BodySample& sample = trajectory.at(step, body);
            std::string row = std::to_string(step) + "," + numberText(trajectory.times[step]) + "," +
                              csvField(trajectory.bodies[body]);
            appendTriple(row, sample.position, trajectory);
            appendTriple(row, sample.rotation, trajectory);
            appendTriple(row, sample.linearSpeed, trajectory);
            csv += row + "\n";
        }
    return csv;
}

} // namespace zor::host
