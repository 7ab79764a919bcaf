#pragma once

#include "common/containers/HashMap.h"

namespace zor {

/// A new map from each name to its index in `names` (a repeated name keeps its first index).
HashMap<String, uint32>* makeIndexMap(uint32 count, const char* const names[]);

/// The value of `name` in `map`. A name with an index suffix ("points[3]") that is not itself
/// present is looked up as "points[]"; when found, `*index` receives 3. Otherwise 0xFFFFFFFF.
uint32 lookupIndexedName(const String& name, uint32* index, const HashMap<String, uint32>& map);

} // namespace zor
