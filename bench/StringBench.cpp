#include "common/containers/String.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr const char* kPieces[] = {"alpha", "beta, ",    "gamma", "delta epsilon",
                                   "z",     "eta/theta", "iota",  "kappa"};
constexpr int kPieceCount = 1024;

const std::string& longText() {
    static const std::string text = [] {
        std::string built;
        while (built.size() < 16384)
            built += "The quick brown fox jumps over the lazy dog. ";
        return built;
    }();
    return text;
}

void ZorAppendShortPieces(benchmark::State& state) {
    for (auto _ : state) {
        zor::String string;
        for (int i = 0; i < kPieceCount; ++i)
            string.pushBackUTF8String(kPieces[i & 7]);
        benchmark::DoNotOptimize(string.c_str());
    }
    state.SetItemsProcessed(state.iterations() * kPieceCount);
}
BENCHMARK(ZorAppendShortPieces);

void StdAppendShortPieces(benchmark::State& state) {
    for (auto _ : state) {
        std::string string;
        for (int i = 0; i < kPieceCount; ++i)
            string += kPieces[i & 7];
        benchmark::DoNotOptimize(string.c_str());
    }
    state.SetItemsProcessed(state.iterations() * kPieceCount);
}
BENCHMARK(StdAppendShortPieces);

void ZorAppendLongText(benchmark::State& state) {
    const char* text = longText().c_str();
    for (auto _ : state) {
        zor::String string("header: ");
        for (int i = 0; i < 4; ++i)
            string.pushBackUTF8String(text);
        benchmark::DoNotOptimize(string.c_str());
    }
    state.SetBytesProcessed(state.iterations() * 4 * static_cast<int64_t>(longText().size()));
}
BENCHMARK(ZorAppendLongText);

void StdAppendLongText(benchmark::State& state) {
    const char* text = longText().c_str();
    for (auto _ : state) {
        std::string string("header: ");
        for (int i = 0; i < 4; ++i)
            string += text;
        benchmark::DoNotOptimize(string.c_str());
    }
    state.SetBytesProcessed(state.iterations() * 4 * static_cast<int64_t>(longText().size()));
}
BENCHMARK(StdAppendLongText);

void ZorConstructAndCopyShort(benchmark::State& state) {
    unsigned next = 0;
    for (auto _ : state) {
        zor::String original(kPieces[next++ & 7]);
        zor::String copy(original);
        benchmark::DoNotOptimize(copy.c_str());
    }
}
BENCHMARK(ZorConstructAndCopyShort);

void StdConstructAndCopyShort(benchmark::State& state) {
    unsigned next = 0;
    for (auto _ : state) {
        std::string original(kPieces[next++ & 7]);
        std::string copy(original);
        benchmark::DoNotOptimize(copy.c_str());
    }
}
BENCHMARK(StdConstructAndCopyShort);

} // namespace

BENCHMARK_MAIN();
