#pragma once

#include <cstddef>
#include <cstdint>

namespace zor::test {

/// Reads `data` as a small scene description (bodies of every shape, masses, materials and
/// locks, a grid stage with lifts, the number type), steps the scene a few times once with the
/// pair finder that passes over pairs apart and once asking the detector about every pair, and
/// compares the bits of every position, rotation and speed. False when they differ.
bool checkCollisionStageInput(const std::uint8_t* data, std::size_t size);

} // namespace zor::test
