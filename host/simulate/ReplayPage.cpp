#include "host/simulate/Trajectory.h"

#include "host/io/MarkupText.h"
#include "host/simulate/ViewBounds.h"

namespace zor::host {

namespace {

// The scenery a view shows, as a script's data: for each face its kind, whether it is seen
// edge-on, and its corners in the panel (0 to 1, y down).
std::string sceneryData(const Trajectory& trajectory, const ViewBounds& bounds) {
    std::string data = "[";
    std::vector<std::array<double, 2>> corners;
    for (const SceneryFace& face : trajectory.scenery) {
        if (!bounds.shows(face.kind))
            continue;
        const bool edgeOn = bounds.placeFace(face, 1, corners);
        data += (data.size() > 1 ? ",[" : "[") + std::to_string(static_cast<int>(face.kind)) +
                (edgeOn ? ",1,[" : ",0,[");
        for (std::size_t i = 0; i < corners.size(); ++i)
            data += (i ? "," : "") + numberText(corners[i][0]) + "," + numberText(corners[i][1]);
        data += "]]";
    }
    return data + "]";
}

// The run as a script's data: names, times, the scenery of each view, and for each view and
// body the panel points of every step (0 to 1, y down) with a flag where a wrap-around starts a
// new stroke.
std::string runData(const Trajectory& trajectory) {
    std::string data = "{\"bodies\":[";
    for (std::size_t body = 0; body < trajectory.bodies.size(); ++body)
        data += (body ? "," : "") + jsonText(trajectory.bodies[body]);
    data += "],\"steps\":[";
    for (std::size_t frame = 0; frame < trajectory.stepCount(); ++frame)
        data += (frame ? "," : "") + std::to_string(trajectory.steps[frame]);
    data += "],\"times\":[";
    for (std::size_t frame = 0; frame < trajectory.stepCount(); ++frame)
        data += (frame ? "," : "") + numberText(trajectory.times[frame]);
    data += "],\"scenery\":[" + sceneryData(trajectory, ViewBounds(trajectory, 0)) + "," +
            sceneryData(trajectory, ViewBounds(trajectory, 1)) + "],\"views\":[";
    for (int view = 0; view < 2; ++view) {
        const ViewBounds bounds(trajectory, view);
        data += view ? ",[" : "[";
        for (std::size_t body = 0; body < trajectory.bodies.size(); ++body) {
            data += body ? ",[" : "[";
            for (std::size_t step = 0; step < trajectory.stepCount(); ++step) {
                const BodySample& sample = trajectory.at(step, body);
                double across, down;
                bounds.place(sample, 1, across, down);
                const bool jump = step == 0 || bounds.isJump(trajectory.at(step - 1, body), sample);
                data += (step ? ",[" : "[") + numberText(across) + "," + numberText(down) +
                        (jump ? ",1]" : ",0]");
            }
            data += "]";
        }
        data += "]";
    }
    return data + "]}";
}

constexpr const char* kScript = R"(
if (run.times.length === 0) return;
const canvas = document.getElementById('views');
const context = canvas.getContext('2d');
const slider = document.getElementById('step');
const label = document.getElementById('time');
const button = document.getElementById('play');
const colours = ['#1f77b4', '#d62728', '#2ca02c', '#ff7f0e', '#9467bd', '#8c564b', '#e377c2', '#17becf'];
const panel = 420, gap = 40, left = [20, 20 + panel + gap], panelTop = 30;
const names = ['Side view: x across, y up', 'Top view: x across, z down'];
// By scenery kind: floor, ceiling, wall, mesh.
const sceneryFill = ['#e4e4e4', null, 'rgba(119, 119, 119, 0.12)', '#c6dbef'];
const sceneryLine = ['#999', '#bbb', '#444', '#6b9ac4'];
slider.max = run.times.length - 1;
let timer = null;
function draw(step) {
  context.clearRect(0, 0, canvas.width, canvas.height);
  context.font = '13px sans-serif';
  for (let view = 0; view < 2; ++view) {
    context.strokeStyle = '#999';
    context.strokeRect(left[view], panelTop, panel, panel);
    context.fillStyle = '#000';
    context.fillText(names[view], left[view], panelTop - 8);
    // Floors, ceilings, walls and meshes: filled where seen from the front, lines edge-on.
    run.scenery[view].forEach(([kind, edgeOn, corners]) => {
      context.beginPath();
      for (let i = 0; i < corners.length; i += 2)
        context.lineTo(left[view] + corners[i] * panel, panelTop + corners[i + 1] * panel);
      context.closePath();
      if (!edgeOn && sceneryFill[kind]) { context.fillStyle = sceneryFill[kind]; context.fill(); }
      if (edgeOn || kind === 3) { context.strokeStyle = sceneryLine[kind]; context.stroke(); }
    });
    run.views[view].forEach((points, body) => {
      context.strokeStyle = context.fillStyle = colours[body % colours.length];
      context.beginPath();
      for (let i = 0; i <= step; ++i) {
        const [u, v, jump] = points[i], x = left[view] + u * panel, y = panelTop + v * panel;
        if (jump) context.moveTo(x, y); else context.lineTo(x, y);
      }
      context.stroke();
      const [u, v] = points[step];
      context.beginPath();
      context.arc(left[view] + u * panel, panelTop + v * panel, 5, 0, 2 * Math.PI);
      context.fill();
      if (view === 0) context.fillText(run.bodies[body], 20, panelTop + panel + 24 + 18 * body);
    });
  }
  label.textContent = 'step ' + run.steps[step] + ', t = ' + run.times[step];
}
function stop() { clearInterval(timer); timer = null; button.textContent = 'Play'; }
button.onclick = () => {
  if (timer) return stop();
  if (+slider.value >= +slider.max) slider.value = 0;
  button.textContent = 'Pause';
  timer = setInterval(() => {
    if (+slider.value >= +slider.max) return stop();
    slider.value = +slider.value + 1;
    draw(+slider.value);
  }, 30);
};
slider.oninput = () => draw(+slider.value);
draw(0);
)";

} // namespace

std::string replayPage(const Trajectory& trajectory, const std::string& title) {
    const std::string height = std::to_string(30 + 420 + 40 + 18 * trajectory.bodies.size());
    std::string notes;
    if (trajectory.thinned())
        notes += "<p>A long run: the page shows " + std::to_string(trajectory.stepCount()) + " of its " +
                 std::to_string(trajectory.offered) + " recorded steps (every " +
                 std::to_string(trajectory.stride) +
                 "th, and the last); trajectories.csv has them all.</p>\n";
    if (!trajectory.note.empty())
        notes += "<p style=\"color: #b00\">" + xmlText(trajectory.note) + "</p>\n";
    // The script runs in a function of its own: names at the top level of a page would meet the
    // window's own (top, name, stop, ...).
    return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" + xmlText(title) +
           "</title>\n</head>\n<body style=\"font-family: sans-serif\">\n<h1>" + xmlText(title) + "</h1>\n" +
           notes +
           "<p><button id=\"play\">Play</button> <input id=\"step\" type=\"range\" min=\"0\" "
           "value=\"0\" style=\"width: 600px\"> <span id=\"time\"></span></p>\n"
           "<canvas id=\"views\" width=\"900\" height=\"" +
           height + "\"></canvas>\n<script>\n(() => {\n'use strict';\nconst run = " + runData(trajectory) +
           ";" + kScript + "})();\n</script>\n</body>\n</html>\n";
}

} // namespace zor::host
