// The wide pile (three layers, so the work per body stays the same) at N = 1,000 to 1,000,000:
// this module next to Bullet and ODE in the same run (the peers up to 100,000), each stepping
// the same first second after the drop (the fall and the impact), once. After the runs it prints
// the time per step, the ratios, the cost per body over that at 1,000, and the peak memory per
// body of each engine stepping the pile, measured in a child process of its own (this program)
// less the peak of a child that builds nothing.
//
//   zor_bench_pile_scale --engine-alone=N [--steps S] [--dt D] [--undeclared]: builds the wide
//   pile of N in code, steps it S times (100) by D (0.02) with the engine alone, and prints the
//   seconds of the building and of the steps and the peak memory in kB: the figures the whole
//   path (see bench/whole_path.sh) is held against. With --undeclared the scene declares no
//   generation, and the engine reads it whole at every step.

#include "bench/PileEngines.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

using namespace zor;
using namespace zor::bench;

// The first second of the pile.
constexpr int kScaleSteps = 60;
constexpr int kPiles[] = {1000, 10000, 100000, 1000000};
// The peers take minutes a run beyond this.
constexpr int kMostPeerPile = 100000;

template <typename Pile>
void stepWidePile(benchmark::State& state) {
    Pile pile(static_cast<int>(state.range(0)), true);
    for (auto _ : state)
        pile.step();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_WidePileZor(benchmark::State& state) {
    stepWidePile<ZorPile<double>>(state);
}
void BM_WidePileBullet(benchmark::State& state) {
    stepWidePile<BulletPile>(state);
}
void BM_WidePileOde(benchmark::State& state) {
    stepWidePile<OdePile>(state);
}
// A small pile's run takes a fraction of a second, where another process's burst moves it most:
// its time is the median of five runs, which the cost per body of every larger pile is over.
constexpr int kSmallPileRuns = 5;

template <typename Register>
void registerPiles(Register&& add, int mostPile) {
    add()->Arg(1000)->Arg(10000)->Repetitions(kSmallPileRuns)->ReportAggregatesOnly(true);
    auto* large = add();
    for (int pile : kPiles)
        if (pile > 10000 && pile <= mostPile)
            large->Arg(pile);
}

const bool kRegistered = [] {
    const std::pair<const char*, void (*)(benchmark::State&)> engines[] = {
        {"BM_WidePileZor", &BM_WidePileZor},
        {"BM_WidePileBullet", &BM_WidePileBullet},
        {"BM_WidePileOde", &BM_WidePileOde}};
    for (const auto& [name, function] : engines)
        registerPiles(
            [name, function] {
                return benchmark::RegisterBenchmark(name, function)
                    ->Iterations(kScaleSteps)
                    ->Unit(benchmark::kMillisecond);
            },
            function == &BM_WidePileZor ? kPiles[3] : kMostPeerPile);
    return true;
}();

/// Builds the wide pile of `count` for `peer` ("zor", "bullet", "ode" or "none") and steps it;
/// the peak resident memory of the process in kilobytes.
long peakOf(const std::string& peer, int count) {
    if (peer == "zor") {
        ZorPile<double> pile(count, true);
        for (int step = 0; step < kScaleSteps; ++step)
            pile.step();
    } else if (peer == "bullet") {
        BulletPile pile(count, true);
        for (int step = 0; step < kScaleSteps; ++step)
            pile.step();
    } else if (peer == "ode") {
        OdePile pile(count, true);
        for (int step = 0; step < kScaleSteps; ++step)
            pile.step();
    }
    return long(platform::peakResidentKilobytes());
}

/// The engine alone on the wide pile, for the whole path's comparison: wall seconds of the
/// building and the steps, and the CPU seconds of each, the first two steps apart (they first
/// touch the stage's memory).
int engineAlone(int count, int steps, double dt, bool declared) {
    using Clock = std::chrono::steady_clock;
    const auto cpu = [] { return double(std::clock()) / CLOCKS_PER_SEC; };
    const double cpuBegan = cpu();
    const auto began = Clock::now();
    ZorPile<double> pile(count, true);
    pile.dt = dt;
    pile.scene->declareGeneration(declared);
    const auto built = Clock::now();
    const double cpuBuilt = cpu();
    double cpuFirst = cpuBuilt;
    for (int step = 0; step < steps; ++step) {
        pile.step();
        if (step == 1)
            cpuFirst = cpu();
    }
    const auto stepped = Clock::now();
    const double cpuStepped = cpu();
    std::printf("build %.3f s, %d steps %.3f s, peak %ld kB\n",
                std::chrono::duration<double>(built - began).count(), steps,
                std::chrono::duration<double>(stepped - built).count(),
                long(platform::peakResidentKilobytes()));
    std::printf("CPU: build %.3f s, first two steps %.3f s, the others %.3f s\n", cpuBuilt - cpuBegan,
                cpuFirst - cpuBuilt, cpuStepped - cpuFirst);
    return 0;
}

void printScale(const RatioReporter& times, const char* program) {
    const char* names[] = {"BM_WidePileZor", "BM_WidePileBullet", "BM_WidePileOde"};
    std::printf(
        "\nThe wide pile, %d steps of 1/60: ms per step, ratios ours / peer, cost per body over that "
        "at 1,000,\nand peak memory per body in bytes (a child process per engine, less one that builds "
        "nothing):\n",
        kScaleSteps);
    std::printf("%8s %9s %9s %9s %8s %8s %7s %7s %7s %7s %7s %7s\n", "N", "ours", "Bullet", "ODE", "/Bullet",
                "/ODE", "body", "Bullet", "ODE", "bytes", "Bullet", "ODE");
    const long none = peakInChild(program, "--scale-peak=none:0");
    for (int pile : kPiles) {
        double ms[3], growth[3];
        long bytes[3];
        for (int engine = 0; engine < 3; ++engine) {
            ms[engine] = times.time(names[engine], pile, kScaleSteps);
            growth[engine] = ms[engine] / pile / (times.time(names[engine], 1000, kScaleSteps) / 1000);
            const char* peers[] = {"zor", "bullet", "ode"};
            bytes[engine] = std::isnan(ms[engine])
                                ? -1
                                : (peakInChild(program, std::string("--scale-peak=") + peers[engine] + ":" +
                                                            std::to_string(pile)) -
                                   none) *
                                      1024 / pile;
        }
        if (std::isnan(ms[0]))
            continue;
        std::printf("%8d %9.2f %9.2f %9.2f %8.3f %8.3f %7.2f %7.2f %7.2f %7ld %7ld %7ld\n", pile, ms[0],
                    ms[1], ms[2], ms[0] / ms[1], ms[0] / ms[2], growth[0], growth[1], growth[2], bytes[0],
                    bytes[1], bytes[2]);
    }
}

} // namespace

int main(int argc, char** argv) {
    int steps = 100;
    double dt = 0.02;
    bool declared = true;
    for (int i = 1; i < argc; ++i)
        declared = declared && std::strcmp(argv[i], "--undeclared") != 0;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--steps") == 0)
            steps = std::atoi(argv[i + 1]);
        if (std::strcmp(argv[i], "--dt") == 0)
            dt = std::atof(argv[i + 1]);
    }
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--engine-alone=", 15) == 0)
            return engineAlone(std::atoi(argv[i] + 15), steps, dt, declared);
        if (std::strncmp(argv[i], "--scale-peak=", 13) == 0) {
            const std::string what = argv[i] + 13;
            const std::size_t colon = what.find(':');
            std::printf("%ld\n", peakOf(what.substr(0, colon), std::atoi(what.c_str() + colon + 1)));
            return 0;
        }
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    if (reporter.ranAny())
        printScale(reporter, argv[0]);
    benchmark::Shutdown();
    return 0;
}
