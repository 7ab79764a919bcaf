#pragma once

#include "common/containers/Array.h"
#include "common/containers/String.h"

namespace zor {

class ApplicationData;

/// Compresses `sourceSize` bytes into `destination` (resizing it); returns the compressed
/// size, 0 on failure. With `shrinkToFit` the destination is cut to the result.
using CompressDataCallback = std::size_t (*)(const void* source, std::size_t sourceSize,
                                             Array<uint8>& destination, uint8 shrinkToFit);

/// Decompresses into a buffer of `destinationCapacity` bytes; returns the size, 0 on failure.
using DecompressDataCallback = std::size_t (*)(const void* source, std::size_t sourceSize, void* destination,
                                               std::size_t destinationCapacity);

/// Frees the per-format callback lists of a host record and empties both maps. The lists are
/// heap objects that registration creates inside the record; the record's owner calls this when
/// the record ends (nothing else frees them).
void releaseCompressionCallbacks(ApplicationData& record);

} // namespace zor

/// Puts `callback` at the front of the compressor list of each comma-separated format name in
/// `formats`, creating the lists that do not exist. Without a host record it logs a warning.
void zor_addCompressDataCallback(const zor::String& formats, zor::CompressDataCallback callback);

/// The decompressor form of zor_addCompressDataCallback.
void zor_addDecompressDataCallback(const zor::String& formats, zor::DecompressDataCallback callback);
