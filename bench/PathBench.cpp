// Path pieces beside their standard peers: the anchor keyword conversion (a shared lock and the
// framework's map) against a std::unordered_map lookup, and the 3x3 point-in-rectangle test
// against the test written out by hand for a rotation with a translation.

#include "common/containers/String.h"
#include "common/path/AnchorKeywords.h"
#include "physics/math/MatrixRoutines.h"

#include <benchmark/benchmark.h>

#include <string>
#include <unordered_map>

namespace {

using namespace zor;

const char* const kKeywords[] = {"LEFT", "PREV_LEFT_PLUS_WIDTH_PERCENT", "V_SEPARATOR_16", "CENTER"};

void anchorKeywordToCode(benchmark::State& state) {
    String keywords[4];
    for (int i = 0; i < 4; ++i)
        keywords[i] = String(kKeywords[i]);
    uint8 code = 0;
    std::size_t next = 0;
    for (auto _ : state) {
        convertHorizontalAnchor(keywords[next++ & 3], code, true);
        benchmark::DoNotOptimize(code);
    }
}
BENCHMARK(anchorKeywordToCode);

void unorderedMapKeywordToCode(benchmark::State& state) {
    const std::unordered_map<std::string, uint8> codes = {
        {"LEFT", 0}, {"PREV_LEFT_PLUS_WIDTH_PERCENT", 8}, {"V_SEPARATOR_16", 143}, {"CENTER", 2}};
    const std::string keywords[4] = {kKeywords[0], kKeywords[1], kKeywords[2], kKeywords[3]};
    uint8 code = 0;
    std::size_t next = 0;
    for (auto _ : state) {
        code = codes.find(keywords[next++ & 3])->second;
        benchmark::DoNotOptimize(code);
    }
}
BENCHMARK(unorderedMapKeywordToCode);

void anchorCodeToKeyword(benchmark::State& state) {
    const uint8 codes[4] = {0, 8, 143, 2};
    String keyword;
    std::size_t next = 0;
    for (auto _ : state) {
        uint8 code = codes[next++ & 3];
        convertHorizontalAnchor(keyword, code, false);
        benchmark::DoNotOptimize(keyword);
    }
}
BENCHMARK(anchorCodeToKeyword);

void unorderedMapCodeToKeyword(benchmark::State& state) {
    const std::unordered_map<uint8, std::string> keywords = {
        {0, "LEFT"}, {8, "PREV_LEFT_PLUS_WIDTH_PERCENT"}, {143, "V_SEPARATOR_16"}, {2, "CENTER"}};
    const uint8 codes[4] = {0, 8, 143, 2};
    std::string keyword;
    std::size_t next = 0;
    for (auto _ : state) {
        keyword = keywords.find(codes[next++ & 3])->second;
        benchmark::DoNotOptimize(keyword);
    }
}
BENCHMARK(unorderedMapCodeToKeyword);

void pointInTransformedRect(benchmark::State& state) {
    const Matrix3x3<double> matrix{{0.8, 0.6, 0, -0.6, 0.8, 0, 10, 20, 1}};
    const Rect<double> rect{0, 0, 4, 3};
    Vector2<double> point{12, 23};
    for (auto _ : state) {
        benchmark::DoNotOptimize(point);
        bool inside = isPointInTransformedRect(point, rect, matrix);
        benchmark::DoNotOptimize(inside);
    }
}
BENCHMARK(pointInTransformedRect);

// The peer: the inverse of a rotation with translation worked out by hand, then the same test.
void handWrittenRigidInverseTest(benchmark::State& state) {
    const double c = 0.8, s = 0.6, tx = 10, ty = 20;
    Vector2<double> point{12, 23};
    for (auto _ : state) {
        benchmark::DoNotOptimize(point);
        const double dx = point.x - tx, dy = point.y - ty;
        const double x = dx * c + dy * s, y = -dx * s + dy * c;
        bool inside = 0 <= x && x <= 4 && 0 <= y && y <= 3;
        benchmark::DoNotOptimize(inside);
    }
}
BENCHMARK(handWrittenRigidInverseTest);

} // namespace

BENCHMARK_MAIN();
