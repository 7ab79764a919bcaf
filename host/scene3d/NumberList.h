#pragma once

#include "common/containers/String.h"

#include <string>
#include <vector>

namespace zor::host {

// Lists of numbers in one text value of a scene file ("0 0 0  4 0 0"): mesh vertices and
// triangles, grid-stage cells. One text value keeps a large list readable in JSON and XML alike.

/// The numbers of `values` separated by a space, a double space after each group of `group`.
template <typename Number>
String numberListText(const Number* values, std::size_t count, std::size_t group);

/// Reads the whitespace-separated numbers of `text`; on a malformed or out-of-range entry,
/// false with `error` naming it ("entry 4, \"x\"", or "entry 2, \"1e999\" (out of range)").
template <typename Number>
bool parseNumberList(const String& text, std::vector<Number>& values, std::string& error);

/// Writes one ERROR log line "<object>: <message>" for a malformed variable of a scene object.
void logSceneObjectFailure(const String& typeName, const String& name, const std::string& message);

} // namespace zor::host
