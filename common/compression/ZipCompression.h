#pragma once

#include "common/compression/CompressionCallbacks.h"

namespace zor {

/// The "zip" compressor: deflate in the zlib format (header and trailer) at the library's
/// default level, in one call; a CompressDataCallback.
std::size_t zipCompressData(const void* source, std::size_t sourceSize, Array<uint8>& destination,
                            uint8 shrinkToFit);

/// The "zip" decompressor: inflates one complete zlib stream in one call; a
/// DecompressDataCallback.
std::size_t zipDecompressData(const void* source, std::size_t sourceSize, void* destination,
                              std::size_t destinationCapacity);

} // namespace zor
