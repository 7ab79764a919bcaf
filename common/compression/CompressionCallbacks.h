#pragma once

#include "common/containers/Array.h"
#include "common/containers/String.h"

namespace zor {

/// Compresses `sourceSize` bytes into `destination` (resizing it); returns the compressed
/// size, 0 on failure. With `shrinkToFit` the destination is cut to the result.
using CompressDataCallback = std::size_t (*)(const void* source, std::size_t sourceSize, Array<uint8>& destination,
                                             uint8 shrinkToFit);

/// Decompresses into a buffer of `destinationCapacity` bytes; returns the size, 0 on failure.
using DecompressDataCallback = std::size_t (*)(const void* source, std::size_t sourceSize, void* destination,
                                               std::size_t destinationCapacity);

} // namespace zor
