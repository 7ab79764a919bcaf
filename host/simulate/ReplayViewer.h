#pragma once

#include <string>
#include <string_view>

namespace zor::host {

/// The replay page for a run described by `runJson` (the page's data, see docs/replay-page.md):
/// one HTML file that holds its styles, its scripts and the 3D library, and needs nothing else.
std::string replayViewerPage(std::string_view runJson, std::string_view title);

namespace viewer {
/// The page's parts, built into the host from host/simulate/viewer.
extern const std::string_view kTemplate, kStyle, kScript, kThree;
} // namespace viewer

} // namespace zor::host
