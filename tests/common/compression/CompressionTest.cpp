#include "common/compression/CompressionCallbacks.h"
#include "common/compression/Lz4Compression.h"
#include "common/compression/ZipCompression.h"

#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

namespace zor {
namespace {

struct Format {
    const char* name;
    CompressDataCallback compress;
    DecompressDataCallback decompress;
};

const Format kLz4{"lz4", &lz4CompressData, &lz4DecompressData};
const Format kZip{"zip", &zipCompressData, &zipDecompressData};

// Text-like bytes (they compress) or uniform random bytes (they do not).
std::vector<uint8> sampleBytes(std::size_t size, bool random) {
    std::vector<uint8> bytes(size);
    std::mt19937 generator(static_cast<unsigned>(size));
    const char* words = "rigid body collision friction restitution ";
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8>(random ? generator() : words[(i * 7 + i / 13) % 43]);
    return bytes;
}

template <typename Callback>
std::vector<Callback> callbacksOf(const HashMap<String, List<Callback>*>& lists, const char* name) {
    std::vector<Callback> callbacks;
    for (Callback callback : *lists.find(String(name))->m_second)
        callbacks.push_back(callback);
    return callbacks;
}

TEST(CompressionCallbacks, ListsPerFormatWithTheNewestFirst) {
    testing::internal::CaptureStdout();
    zor_addCompressDataCallback(String("lz4"), &lz4CompressData);
    zor_addDecompressDataCallback(String("lz4, zip"), &lz4DecompressData);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "WARN : Application data is NULL, cannot add compressData callback for formats: lz4\n"
              "WARN : Application data is NULL, cannot add decompressData callback for formats: lz4, zip\n");

    test::TestApplicationData record;
    zor_addCompressDataCallback(String("lz4"), &lz4CompressData);
    zor_addDecompressDataCallback(String("zip"), &zipDecompressData);
    // One call for two names, as "lz4, zip" and as "zip,lz4".
    zor_addCompressDataCallback(String("lz4, zip"), &zipCompressData);
    zor_addDecompressDataCallback(String("zip,lz4"), &lz4DecompressData);
    EXPECT_EQ(callbacksOf(record.m_compressDataCallbacks, "lz4"),
              (std::vector<CompressDataCallback>{&zipCompressData, &lz4CompressData}));
    EXPECT_EQ(callbacksOf(record.m_decompressDataCallbacks, "zip"),
              (std::vector<DecompressDataCallback>{&lz4DecompressData, &zipDecompressData}));
    // A new format's list goes in front of the map.
    EXPECT_EQ(std::string(record.m_compressDataCallbacks.begin()->m_first.c_str()), "zip");
}

TEST(CompressionCallbacks, CompressesWithinTheFormatBoundShrinksToFitAndRoundTrips) {
    const std::size_t sizes[] = {1, 40, 100, 1000, 65536, 200000};
    // The destination is first resized to the bound of the format; small zip inputs take the
    // blockwise bound, larger ones the proportional one.
    const std::pair<Format, std::vector<uint64>> bounds[] = {{kLz4, {17, 56, 116, 1019, 65809, 200800}},
                                                             {kZip, {134, 173, 238, 1228, 72217, 220128}}};
    for (const auto& [format, bound] : bounds) {
        for (std::size_t i = 0; i < 6; ++i) {
            for (const bool random : {false, true}) {
                SCOPED_TRACE(testing::Message() << format.name << " " << sizes[i] << " " << random);
                const std::vector<uint8> input = sampleBytes(sizes[i], random);
                Array<uint8> packed;
                const std::size_t packedSize = format.compress(input.data(), input.size(), packed, 0);
                EXPECT_EQ(packed.size(), bound[i]);
                EXPECT_EQ(format.compress(input.data(), input.size(), packed, 1), packedSize);
                EXPECT_EQ(packed.size(), packedSize);
                EXPECT_TRUE(random || sizes[i] <= 100 || packedSize < sizes[i] / 2) << packedSize;
                std::vector<uint8> output(input.size());
                EXPECT_EQ(format.decompress(packed.data(), packedSize, output.data(), sizes[i]), sizes[i]);
                EXPECT_EQ(output, input);
            }
        }
    }
}

// Decompresses a copy of `source` in a block of its exact size (so that reading past it is
// caught) into a buffer with guard bytes behind the capacity, which must stay put.
std::size_t guardedDecompress(const Format& format, const std::vector<uint8>& source, std::size_t capacity) {
    std::vector<uint8> buffer(capacity + 64, 0xA5), exact(source);
    const std::size_t size = format.decompress(exact.data(), exact.size(), buffer.data(), capacity);
    for (std::size_t i = capacity; i < buffer.size(); ++i)
        EXPECT_EQ(buffer[i], 0xA5) << format.name << ": written at " << i;
    return size;
}

TEST(CompressionCallbacks, MissingOrMalformedInputAndRefusedDestinationsGiveZeroAndStayInBounds) {
    const std::vector<uint8> input = sampleBytes(3000, false);
    uint8 buffer[16];
    std::vector<uint8> packed;
    for (const Format& format : {kLz4, kZip}) {
        SCOPED_TRACE(format.name);
        Array<uint8> destination, external, doubling, stream;
        destination.resize(5);
        EXPECT_EQ(format.compress(nullptr, 100, destination, 1), 0u);
        EXPECT_EQ(format.compress(input.data(), 0, destination, 1), 0u);
        EXPECT_EQ(destination.size(), 5u);
        // Storage the array does not own, and the doubling policy of mode 1, refuse a resize.
        external.attach(buffer, sizeof buffer);
        ASSERT_TRUE(doubling.setMode(ArrayModeOwned, ArrayGrowthDouble));
        EXPECT_EQ(format.compress(input.data(), input.size(), external, 1), 0u);
        EXPECT_EQ(format.compress(input.data(), input.size(), doubling, 1), 0u);

        format.compress(input.data(), input.size(), stream, 1);
        packed.assign(stream.begin(), stream.end());
        EXPECT_EQ(format.decompress(nullptr, packed.size(), buffer, sizeof buffer), 0u);
        EXPECT_EQ(format.decompress(packed.data(), packed.size(), nullptr, 100), 0u);
        EXPECT_EQ(guardedDecompress(format, packed, input.size() - 1), 0u) << "one byte short";
        // Every cut of the stream; zip streams only end with their trailer.
        for (std::size_t cut = 1; cut < packed.size(); ++cut)
            EXPECT_LT(guardedDecompress(format, {packed.begin(), packed.begin() + cut}, input.size()),
                      format.decompress == &zipDecompressData ? 1 : input.size())
                << cut;
    }
    // The last stream is zip's: with its checksum corrupted it fails even where the deflate data
    // still decodes.
    packed.back() ^= 0xFF;
    EXPECT_EQ(guardedDecompress(kZip, packed, input.size()), 0u);
}

} // namespace
} // namespace zor
