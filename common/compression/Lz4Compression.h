#pragma once

#include "common/compression/CompressionCallbacks.h"

namespace zor {

/// The "lz4" compressor (LZ4 block format, default setting); a CompressDataCallback.
std::size_t lz4CompressData(const void* source, std::size_t sourceSize, Array<uint8>& destination,
                            uint8 shrinkToFit);

/// The "lz4" decompressor (LZ4 block format, bounds-checked); a DecompressDataCallback.
std::size_t lz4DecompressData(const void* source, std::size_t sourceSize, void* destination,
                              std::size_t destinationCapacity);

} // namespace zor
