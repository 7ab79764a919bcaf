#include "common/compression/ZipCompression.h"

#include <zlib.h>

namespace zor {
namespace {

// zlib counts the bytes of one call in 32 bits.
constexpr std::size_t kMaxCallSize = 0xFFFFFFFFu;

} // namespace

std::size_t zipCompressData(const void* source, std::size_t sourceSize, Array<uint8>& destination,
                            uint8 shrinkToFit) {
    if (source == nullptr || sourceSize == 0)
        return 0;
    // One call must see the whole input, or the stream would end after a part of it.
    if (sourceSize > kMaxCallSize)
        return 0;
    // The bound is computed in 32 bits, wrapping as it does where the format was defined; a
    // wrapped bound only makes the one call run out of room, which gives 0.
    const auto size = static_cast<uint32>(sourceSize);
    const uint32 proportional = size * 110u / 100u + 128u;
    const uint32 blockwise = size + 5u * (size / 31744u) + 133u;
    const uint32 bound = proportional > blockwise ? proportional : blockwise;
    if (!destination.resize(bound))
        return 0;

    z_stream stream{};
    if (deflateInit(&stream, Z_DEFAULT_COMPRESSION) != Z_OK)
        return 0;
    stream.next_in = static_cast<Bytef*>(const_cast<void*>(source));
    stream.avail_in = size;
    stream.next_out = destination.data();
    stream.avail_out = static_cast<uInt>(destination.size());
    const int status = deflate(&stream, Z_FINISH);
    const std::size_t written = destination.size() - stream.avail_out;
    deflateEnd(&stream);
    if (status != Z_STREAM_END)
        return 0;
    if (shrinkToFit != 0 && written < destination.size())
        destination.resize(written);
    return written;
}

std::size_t zipDecompressData(const void* source, std::size_t sourceSize, void* destination,
                              std::size_t destinationCapacity) {
    if (source == nullptr || sourceSize == 0 || destination == nullptr || destinationCapacity == 0)
        return 0;
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return 0;
    // Larger sizes are cut to what one call can take: the stream then cannot end, or ends inside.
    stream.next_in = static_cast<Bytef*>(const_cast<void*>(source));
    stream.avail_in = static_cast<uInt>(sourceSize > kMaxCallSize ? kMaxCallSize : sourceSize);
    stream.next_out = static_cast<Bytef*>(destination);
    stream.avail_out =
        static_cast<uInt>(destinationCapacity > kMaxCallSize ? kMaxCallSize : destinationCapacity);
    const int status = inflate(&stream, Z_FINISH);
    const std::size_t written = static_cast<std::size_t>(stream.next_out - static_cast<Bytef*>(destination));
    inflateEnd(&stream);
    return status == Z_STREAM_END ? written : 0;
}

} // namespace zor
