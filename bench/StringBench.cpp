#include "common/containers/String.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr const char* kPieces[] = {"alpha", "beta, ",    "gamma", "delta epsilon",
                                   "z",     "eta/theta", "iota",  "kappa"};
constexpr int kPieceCount = 1024;
constexpr int kLongTextCopies = 4;

const std::string& longText() {
    static const std::string text = [] {
        std::string built;
        while (built.size() < 16384)
            built += "The quick brown fox jumps over the lazy dog. ";
        return built;
    }();
    return text;
}

// The same operation on both string types, so that each benchmark body serves both.
void append(zor::String& string, const char* text) {
    string.pushBackUTF8String(text);
}
void append(std::string& string, const char* text) {
    string += text;
}

template <typename S>
void AppendShortPieces(benchmark::State& state) {
    for (auto _ : state) {
        S string;
        for (int i = 0; i < kPieceCount; ++i)
            append(string, kPieces[i & 7]);
        benchmark::DoNotOptimize(string.c_str());
    }
    state.SetItemsProcessed(state.iterations() * kPieceCount);
}
BENCHMARK_TEMPLATE(AppendShortPieces, zor::String);
BENCHMARK_TEMPLATE(AppendShortPieces, std::string);

template <typename S>
void AppendLongText(benchmark::State& state) {
    const char* text = longText().c_str();
    for (auto _ : state) {
        S string("header: ");
        for (int i = 0; i < kLongTextCopies; ++i)
            append(string, text);
        benchmark::DoNotOptimize(string.c_str());
    }
    state.SetBytesProcessed(state.iterations() * kLongTextCopies * static_cast<int64_t>(longText().size()));
}
BENCHMARK_TEMPLATE(AppendLongText, zor::String);
BENCHMARK_TEMPLATE(AppendLongText, std::string);

template <typename S>
void ConstructAndCopyShort(benchmark::State& state) {
    unsigned next = 0;
    for (auto _ : state) {
        S original(kPieces[next++ & 7]);
        S copy(original);
        benchmark::DoNotOptimize(copy.c_str());
    }
}
BENCHMARK_TEMPLATE(ConstructAndCopyShort, zor::String);
BENCHMARK_TEMPLATE(ConstructAndCopyShort, std::string);

} // namespace

BENCHMARK_MAIN();
