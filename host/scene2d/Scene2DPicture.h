#pragma once

#include "host/scene2d/Scene2D.h"

#include <string>
#include <vector>

namespace zor {

/// A point of a picture and what a hit test found there.
struct HitMark {
    double x = 0;
    double y = 0;
    /// The element hit, or null for a miss.
    const IElement* element = nullptr;
    /// For a separator hit: its direction and its position index.
    bool separatorHit = false;
    bool horizontalSeparator = false;
    uint32 separatorIndex = 0;
};

/// An SVG picture of `scene`: every element's rectangle where the scene places it, children
/// clipped by their clip regions, docking-layout separators, and the marks, numbered from 1 and
/// labelled with what they hit, the elements and separators they hit outlined in red. Elements
/// out of hit testing are drawn faint.
template <typename T>
std::string drawScene2D(Scene2D<T>& scene, const std::vector<HitMark>& marks);

} // namespace zor
