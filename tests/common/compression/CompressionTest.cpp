#include "common/compression/CompressionCallbacks.h"
#include "common/compression/Lz4Compression.h"
#include "common/compression/ZipCompression.h"

#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>
#include <zlib.h>

namespace zor {
namespace {

using test::TestApplicationData;

struct Format {
    const char* name;
    CompressDataCallback compress;
    DecompressDataCallback decompress;
};

const Format kFormats[] = {
    {"lz4", &lz4CompressData, &lz4DecompressData},
    {"zip", &zipCompressData, &zipDecompressData},
};

// Text-like bytes (they compress) or uniform random bytes (they do not).
std::vector<uint8> sampleBytes(std::size_t size, bool random) {
    std::vector<uint8> bytes(size);
    std::mt19937 generator(static_cast<unsigned>(size));
    const char* words = "rigid body collision friction restitution ";
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] =
            random ? static_cast<uint8>(generator()) : static_cast<uint8>(words[(i * 7 + i / 13) % 43]);
    return bytes;
}

std::vector<uint8> compressed(const Format& format, const std::vector<uint8>& input) {
    Array<uint8> destination;
    const std::size_t size = format.compress(input.data(), input.size(), destination, 1);
    return std::vector<uint8>(destination.begin(), destination.begin() + size);
}

template <typename Callback>
std::vector<Callback> callbacksOf(const HashMap<String, List<Callback>*>& lists, const char* name) {
    std::vector<Callback> callbacks;
    auto found = lists.find(String(name));
    if (found.entry() != nullptr)
        for (Callback callback : *found->m_second)
            callbacks.push_back(callback);
    return callbacks;
}

std::size_t otherCompressor(const void*, std::size_t, Array<uint8>&, uint8) {
    return 0;
}

TEST(CompressionCallbacks, RegistrationWithoutHostRecordOnlyWarns) {
    testing::internal::CaptureStdout();
    zor_addCompressDataCallback(String("lz4"), &lz4CompressData);
    zor_addDecompressDataCallback(String("lz4, zip"), &lz4DecompressData);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "WARN : Application data is NULL, cannot add compressData callback for formats: lz4\n"
              "WARN : Application data is NULL, cannot add decompressData callback for formats: lz4, zip\n");
}

TEST(CompressionCallbacks, ListsPerFormatWithTheNewestFirst) {
    TestApplicationData record;
    zor_addCompressDataCallback(String("lz4"), &lz4CompressData);
    zor_addDecompressDataCallback(String("lz4"), &lz4DecompressData);
    zor_addCompressDataCallback(String("zip"), &zipCompressData);
    zor_addDecompressDataCallback(String("zip"), &zipDecompressData);
    // One call for two names, as "lz4, zip" and as "lz4,zip".
    zor_addCompressDataCallback(String("lz4, zip"), &otherCompressor);
    zor_addDecompressDataCallback(String("zip,lz4"), &zipDecompressData);

    const auto& compressors = record.m_compressDataCallbacks;
    EXPECT_EQ(callbacksOf(compressors, "lz4"),
              (std::vector<CompressDataCallback>{&otherCompressor, &lz4CompressData}));
    EXPECT_EQ(callbacksOf(compressors, "zip"),
              (std::vector<CompressDataCallback>{&otherCompressor, &zipCompressData}));
    const auto& decompressors = record.m_decompressDataCallbacks;
    EXPECT_EQ(callbacksOf(decompressors, "lz4"),
              (std::vector<DecompressDataCallback>{&zipDecompressData, &lz4DecompressData}));
    EXPECT_EQ(callbacksOf(decompressors, "zip"),
              (std::vector<DecompressDataCallback>{&zipDecompressData, &zipDecompressData}));
    // A new format's list goes in front of the map.
    EXPECT_EQ(compressors.size(), 2u);
    EXPECT_EQ(std::string(compressors.begin()->m_first.c_str()), "zip");
    EXPECT_TRUE(record.writtenTexts().empty());
}

TEST(CompressionCallbacks, DestinationIsResizedToTheFormatBoundBeforeCompressing) {
    struct Case {
        const Format& format;
        std::size_t size;
        uint64 bound;
    };
    const Case cases[] = {
        {kFormats[0], 1000, 1019},
        {kFormats[1], 1000, 1228},
        {kFormats[0], 1, 17},
        {kFormats[1], 1, 134},
        {kFormats[0], 65536, 65809},
        {kFormats[1], 65536, 72217},
        // Small inputs take the blockwise zip bound, larger ones the proportional one.
        {kFormats[1], 40, 173},
        {kFormats[1], 100, 238},
    };
    for (const Case& c : cases) {
        const std::vector<uint8> input = sampleBytes(c.size, true);
        Array<uint8> destination;
        const std::size_t size = c.format.compress(input.data(), input.size(), destination, 0);
        EXPECT_EQ(destination.size(), c.bound) << c.format.name << " " << c.size;
        EXPECT_GT(size, 0u) << c.format.name << " " << c.size;
        EXPECT_LE(size, c.bound) << c.format.name << " " << c.size;
    }
}

TEST(CompressionCallbacks, RoundTripsAndShrinksToFit) {
    for (const Format& format : kFormats) {
        for (const std::size_t size : {std::size_t{1}, std::size_t{1000}, std::size_t{200000}}) {
            for (const bool random : {false, true}) {
                const std::vector<uint8> input = sampleBytes(size, random);
                Array<uint8> destination;
                const std::size_t packed = format.compress(input.data(), input.size(), destination, 1);
                ASSERT_GT(packed, 0u) << format.name << " " << size;
                EXPECT_EQ(destination.size(), packed) << format.name << " " << size;
                if (!random && size > 100) {
                    EXPECT_LT(packed, size / 2) << format.name << " " << size;
                }

                std::vector<uint8> output(size);
                EXPECT_EQ(format.decompress(destination.data(), packed, output.data(), output.size()), size)
                    << format.name << " " << size;
                EXPECT_EQ(output, input) << format.name << " " << size;
            }
        }
    }
}

TEST(CompressionCallbacks, ZipIsTheStandardZlibStream) {
    const std::vector<uint8> input = sampleBytes(5000, false);
    const std::vector<uint8> ours = compressed(kFormats[1], input);
    ASSERT_FALSE(ours.empty());
    std::vector<uint8> inflated(input.size());
    uLongf inflatedSize = static_cast<uLongf>(inflated.size());
    ASSERT_EQ(uncompress(inflated.data(), &inflatedSize, ours.data(), static_cast<uLong>(ours.size())), Z_OK);
    EXPECT_EQ(inflatedSize, input.size());
    EXPECT_EQ(inflated, input);

    std::vector<uint8> theirs(compressBound(static_cast<uLong>(input.size())));
    uLongf theirSize = static_cast<uLongf>(theirs.size());
    ASSERT_EQ(compress(theirs.data(), &theirSize, input.data(), static_cast<uLong>(input.size())), Z_OK);
    std::vector<uint8> output(input.size());
    EXPECT_EQ(zipDecompressData(theirs.data(), theirSize, output.data(), output.size()), input.size());
    EXPECT_EQ(output, input);
}

TEST(CompressionCallbacks, MissingInputOrRefusedDestinationGivesZero) {
    const std::vector<uint8> input = sampleBytes(100, false);
    uint8 buffer[16];
    for (const Format& format : kFormats) {
        Array<uint8> destination;
        destination.resize(5);
        EXPECT_EQ(format.compress(nullptr, 100, destination, 1), 0u) << format.name;
        EXPECT_EQ(format.compress(input.data(), 0, destination, 1), 0u) << format.name;
        EXPECT_EQ(destination.size(), 5u) << format.name;

        // Storage the array does not own, and the doubling policy of mode 1, refuse a resize.
        Array<uint8> external;
        external.attach(buffer, sizeof buffer);
        EXPECT_EQ(format.compress(input.data(), input.size(), external, 1), 0u) << format.name;
        Array<uint8> doubling;
        ASSERT_TRUE(doubling.setMode(ArrayModeOwned, ArrayGrowthDouble));
        EXPECT_EQ(format.compress(input.data(), input.size(), doubling, 1), 0u) << format.name;

        const std::vector<uint8> packed = compressed(format, input);
        EXPECT_EQ(format.decompress(nullptr, packed.size(), buffer, sizeof buffer), 0u) << format.name;
        EXPECT_EQ(format.decompress(packed.data(), 0, buffer, sizeof buffer), 0u) << format.name;
        EXPECT_EQ(format.decompress(packed.data(), packed.size(), nullptr, 100), 0u) << format.name;
        EXPECT_EQ(format.decompress(packed.data(), packed.size(), buffer, 0), 0u) << format.name;
    }
}

// Decompresses into a buffer with guard bytes behind the capacity; checks that they stay put.
std::size_t guardedDecompress(const Format& format, const std::vector<uint8>& source, std::size_t capacity) {
    constexpr uint8 kGuard = 0xA5;
    std::vector<uint8> buffer(capacity + 64, kGuard);
    // The source is copied to a block of its exact size, so that reading past it is caught.
    std::vector<uint8> exact(source);
    const std::size_t size =
        format.decompress(exact.empty() ? nullptr : exact.data(), exact.size(), buffer.data(), capacity);
    for (std::size_t i = capacity; i < buffer.size(); ++i)
        EXPECT_EQ(buffer[i], kGuard) << format.name << ": written at " << i;
    return size;
}

TEST(CompressionCallbacks, MalformedInputGivesZeroAndStaysInBounds) {
    const std::vector<uint8> input = sampleBytes(3000, false);
    std::mt19937 generator(7);
    for (const Format& format : kFormats) {
        const std::vector<uint8> packed = compressed(format, input);
        ASSERT_FALSE(packed.empty());

        // A buffer one byte short of the content.
        EXPECT_EQ(guardedDecompress(format, packed, input.size() - 1), 0u) << format.name;

        // Every cut of the stream; zip streams only end with their trailer.
        for (std::size_t cut = 1; cut < packed.size(); ++cut) {
            const std::vector<uint8> truncated(packed.begin(), packed.begin() + cut);
            const std::size_t size = guardedDecompress(format, truncated, input.size());
            if (format.decompress == &zipDecompressData) {
                EXPECT_EQ(size, 0u) << format.name << " cut at " << cut;
            } else {
                EXPECT_LT(size, input.size()) << format.name << " cut at " << cut;
            }
        }

        // Flipped bytes and plain noise: a size within the buffer, or 0.
        for (int round = 0; round < 200; ++round) {
            std::vector<uint8> damaged = packed;
            for (int flips = 0; flips < 3; ++flips)
                damaged[generator() % damaged.size()] ^= static_cast<uint8>(1u + generator() % 255u);
            EXPECT_LE(guardedDecompress(format, damaged, input.size()), input.size()) << format.name;
        }
        const std::vector<uint8> noise = sampleBytes(500, true);
        EXPECT_LE(guardedDecompress(format, noise, input.size()), input.size()) << format.name;
    }
    // A corrupted zip stream fails its checksum even where the deflate data still decodes.
    std::vector<uint8> badChecksum = compressed(kFormats[1], input);
    badChecksum.back() ^= 0xFF;
    EXPECT_EQ(guardedDecompress(kFormats[1], badChecksum, input.size()), 0u);
}

} // namespace
} // namespace zor
