#pragma once

#include "host/path/PathStep.h"

#include <string>
#include <string_view>

namespace zor::host {

/// Reads SVG path data (the "d" attribute of a path): every command of SVG 1.1 in absolute and
/// relative form, implicit repeats, numbers run together ("1-2.5.5e-1") and arc flags without
/// separators. Relative commands and H and V become absolute commands; S and T stay smooth
/// curves, A an arc whose clockwise flag is the sweep flag, Z a close. Empty data is an empty
/// path. Data beyond kMostPathDataBytes or kMostPathCommands is refused. On malformed data: false, `steps`
/// unchanged, and `error` says where ("column 12 (1-based): expected a number, found 'x'").
bool parseSvgPathData(std::string_view data, PathSteps& steps, std::string& error);

/// The path as SVG path data with absolute commands (M, L, C, S, Q, T, A, Z) and numbers in
/// their shortest exact form, so that reading it back gives the same numbers. Anchors do not
/// exist in SVG: they are left out.
std::string formatSvgPathData(const PathSteps& steps);

} // namespace zor::host
