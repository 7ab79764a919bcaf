#pragma once

#include "host/path/PathStep.h"

#include <string>

namespace zor::host {

/// A standalone SVG picture of the path: one stroked, unfilled <path> whose data is
/// formatSvgPathData's, in a view box that holds the path as drawn (pathBounds) with a margin,
/// drawn 512 pixels on its longer side.
std::string svgPicture(const PathSteps& steps);

} // namespace zor::host
