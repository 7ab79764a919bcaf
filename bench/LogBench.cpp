#include "common/application/ApplicationData.h"
#include "common/log/Log.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

constexpr const char* kModule = "zor_physics.dll";
constexpr const char* kFunction = "zor::PhysicsEngine3D::beginIteration";

// A host record whose logger only counts bytes, so that the benchmark measures the log call.
class CountingRecord : public zor::ApplicationData {
public:
    CountingRecord() {
        m_logLevel = zor::LogLevelWarn;
        zor::setApplicationData(this);
    }
    ~CountingRecord() { zor::setApplicationData(nullptr); }
    void deletingDestructor(zor::uint32) override {}
    void openLog(const zor::String&, const zor::String&) override {}
    bool isConsoleEchoEnabled() override { return false; }
    void writeLog(const zor::String& text) override { m_bytes += text.length(); }

    zor::uint64 m_bytes = 0;
};

// A message the level filter rejects: one comparison, nothing formatted.
void FilteredMessage(benchmark::State& state) {
    CountingRecord record;
    int value = 0;
    for (auto _ : state)
        zor_log(kModule, false, zor::LogLevelDebug, kFunction, "Step %d has no scene", ++value);
    benchmark::DoNotOptimize(record.m_bytes);
}
BENCHMARK(FilteredMessage);

// A written line; the number changes every time, so that no line is folded away.
void WrittenLine(benchmark::State& state) {
    CountingRecord record;
    int value = 0;
    for (auto _ : state)
        zor_log(kModule, false, zor::LogLevelWarn, kFunction, "Step %d has no scene", ++value);
    benchmark::DoNotOptimize(record.m_bytes);
}
BENCHMARK(WrittenLine);
BENCHMARK(WrittenLine)->Threads(2);

// The peer: the same line formatted by one snprintf into a stack buffer.
void SnprintfLine(benchmark::State& state) {
    char line[256];
    int value = 0;
    for (auto _ : state) {
        std::snprintf(line, sizeof line, "%s [%6d:%-6d] %s %s %s - Step %d has no scene\r\n",
                      "2026-12-03 23:00:36.123456", 4242, 77, "WARN ", kModule, kFunction, ++value);
        benchmark::DoNotOptimize(line);
    }
}
BENCHMARK(SnprintfLine);

} // namespace

BENCHMARK_MAIN();
