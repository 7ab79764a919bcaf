#include "common/compression/Lz4Compression.h"

#include <climits>
#include <lz4.h>

namespace zor {
namespace {

// Inputs above this size have no bound: the block format cannot hold them.
constexpr std::size_t kLz4MaxInputSize = 0x7E000000;

} // namespace

std::size_t lz4CompressData(const void* source, std::size_t sourceSize, Array<uint8>& destination,
                            uint8 shrinkToFit) {
    if (source == nullptr || sourceSize == 0)
        return 0;
    const std::size_t bound = sourceSize <= kLz4MaxInputSize ? sourceSize + sourceSize / 255 + 16 : 0;
    if (!destination.resize(bound) || bound == 0)
        return 0;
    // Both sizes fit in an int: the input is at most kLz4MaxInputSize and the bound a little more.
    const int written =
        LZ4_compress_default(static_cast<const char*>(source), reinterpret_cast<char*>(destination.data()),
                             static_cast<int>(sourceSize), static_cast<int>(destination.size()));
    if (written <= 0)
        return 0;
    const auto result = static_cast<std::size_t>(written);
    if (shrinkToFit != 0 && result < destination.size())
        destination.resize(result);
    return result;
}

std::size_t lz4DecompressData(const void* source, std::size_t sourceSize, void* destination,
                              std::size_t destinationCapacity) {
    if (source == nullptr || sourceSize == 0 || destination == nullptr || destinationCapacity == 0)
        return 0;
    // A block longer than an int cannot be handed over whole; a larger buffer is only partly used.
    if (sourceSize > INT_MAX)
        return 0;
    const int capacity = destinationCapacity > INT_MAX ? INT_MAX : static_cast<int>(destinationCapacity);
    const int written = LZ4_decompress_safe(static_cast<const char*>(source), static_cast<char*>(destination),
                                            static_cast<int>(sourceSize), capacity);
    return written > 0 ? static_cast<std::size_t>(written) : 0;
}

} // namespace zor
