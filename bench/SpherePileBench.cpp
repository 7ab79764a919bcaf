// The full step (movement and collisions) on a pile of N spheres of radius 0.5 falling into a
// 18 x 18 walled box, dt 1/60, for this module (through the reference host's scene and
// detector) and for Bullet and ODE on the same scene in the same run: the pile of
// host/scene3d/PileLayout.h, which `zor_host generate` writes too.
//
// Every engine steps the same first four seconds after the drop (the fall, the impact and the
// settling), three times over, the runs of all the engines in a random order, and the ratios take
// the median of the three: so the times compare the same work, and neither a slow run nor a slow
// spell of the machine decides them. The collision stage's
// all-pairs reference is timed over the first steps only, next to the broad phase over the same
// steps. The box keeps its size, so the pile grows taller with N and each body meets more
// contacts; the wide pile, in a box as wide as three layers take, keeps the work per body the
// same and shows how the cost per body grows with N alone. After the runs the program prints the
// ratios, the contacts per body, and the peak memory of each engine stepping the pile of 10,000:
// each measured in a child process of its own (the same program), less the peak of a child that
// builds nothing. `--pile-runs=N,R` steps R piles of N (double; `N,R,float` in float; a last
// `,undeclared` on scenes that declare no generation) through the same steps alone and prints the
// CPU time a step, for a profiler.

#include "bench/PileEngines.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace {

using namespace zor;
using namespace zor::bench;

// Steps of the pile whose peak memory is measured.
constexpr int kMemorySteps = 120;
constexpr int kMemoryPile = 10000;

template <typename Pile>
void stepPile(benchmark::State& state, bool wide = false) {
    Pile pile(static_cast<int>(state.range(0)), wide);
    for (auto _ : state)
        pile.step();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_SpherePileZorFloat(benchmark::State& state) {
    stepPile<ZorPile<float>>(state);
}
void BM_SpherePileZorDouble(benchmark::State& state) {
    stepPile<ZorPile<double>>(state);
}
void BM_SpherePileBullet(benchmark::State& state) {
    stepPile<BulletPile>(state);
}
void BM_SpherePileOde(benchmark::State& state) {
    stepPile<OdePile>(state);
}
/// The wide pile, three layers at any N: the work per body stays about the same.
void BM_SpherePileWideZor(benchmark::State& state) {
    stepPile<ZorPile<double>>(state, true);
}
void BM_SpherePileWideBullet(benchmark::State& state) {
    stepPile<BulletPile>(state, true);
}
void BM_SpherePileWideOde(benchmark::State& state) {
    stepPile<OdePile>(state, true);
}
/// The movement stage alone.
void BM_SpherePileZorMovement(benchmark::State& state) {
    ZorPile<double> pile(static_cast<int>(state.range(0)), false);
    for (auto _ : state)
        pile.move();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
/// The first steps, with the broad phase or with the all-pairs reference.
void BM_SpherePileZorFirstSteps(benchmark::State& state) {
    stepPile<ZorPile<double>>(state);
}
void BM_SpherePileZorAllPairs(benchmark::State& state) {
    ZorPile<double> pile(static_cast<int>(state.range(0)), false);
    setPairFinder(*pile.engine, PairFinder::AllPairs);
    for (auto _ : state)
        pile.step();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Three runs of each, and their median: the peers' times alone vary by a tenth from run to run.
void threeRuns(benchmark::internal::Benchmark* runs) {
    runs->Iterations(kSteps)->Repetitions(3)->DisplayAggregatesOnly(true)->Unit(benchmark::kMillisecond);
}
#define ZOR_PILE(benchmark_)                                                                                 \
    BENCHMARK(benchmark_)->Arg(100)->Arg(1000)->Arg(4000)->Arg(10000)->Apply(threeRuns)
ZOR_PILE(BM_SpherePileZorFloat);
ZOR_PILE(BM_SpherePileZorDouble);
ZOR_PILE(BM_SpherePileBullet);
ZOR_PILE(BM_SpherePileOde);
ZOR_PILE(BM_SpherePileZorMovement);
#define ZOR_WIDE_PILE(benchmark_) BENCHMARK(benchmark_)->Arg(1000)->Arg(4000)->Arg(10000)->Apply(threeRuns)
ZOR_WIDE_PILE(BM_SpherePileWideZor);
ZOR_WIDE_PILE(BM_SpherePileWideBullet);
ZOR_WIDE_PILE(BM_SpherePileWideOde);
// The reference tests every pair: a few steps are enough at the larger sizes.
#define ZOR_FIRST_STEPS(benchmark_, pile_, steps_)                                                           \
    BENCHMARK(benchmark_)->Arg(pile_)->Iterations(steps_)->Unit(benchmark::kMillisecond)
#define ZOR_FIRST_STEPS_BOTH(pile_, steps_)                                                                  \
    ZOR_FIRST_STEPS(BM_SpherePileZorFirstSteps, pile_, steps_);                                              \
    ZOR_FIRST_STEPS(BM_SpherePileZorAllPairs, pile_, steps_)
ZOR_FIRST_STEPS_BOTH(100, 240);
ZOR_FIRST_STEPS_BOTH(1000, 24);
ZOR_FIRST_STEPS_BOTH(4000, 3);
ZOR_FIRST_STEPS_BOTH(10000, 1);

/// Counts the pair contacts the collision stage finds (a callback that accepts them all
/// changes nothing else).
uint64 g_contacts = 0;
bool countContact(IElement*, IElement*, Collision3DAttribute<double>*, RigidBody3DAttribute<double>*,
                  IElement*, IElement*, Collision3DAttribute<double>*, RigidBody3DAttribute<double>*,
                  Vector3<double>*, double) {
    ++g_contacts;
    return true;
}

/// The pair contacts per body and step over the steps of the pile of `count`.
double contactsPerBodyAndStep(int count, bool wide) {
    ZorPile<double> pile(count, wide);
    pile.engine->setCollisionCallbackDouble(&countContact);
    g_contacts = 0;
    for (int step = 0; step < kSteps; ++step)
        pile.step();
    return double(g_contacts) / count / kSteps;
}

/// Builds the pile of `peer` ("zor", "bullet", "ode" or "none") and steps it; the peak resident
/// memory of the process in kilobytes.
long peakOf(const std::string& peer) {
    if (peer == "zor") {
        ZorPile<double> pile(kMemoryPile, false);
        for (int step = 0; step < kMemorySteps; ++step)
            pile.step();
    } else if (peer == "bullet") {
        BulletPile pile(kMemoryPile, false);
        for (int step = 0; step < kMemorySteps; ++step)
            pile.step();
    } else if (peer == "ode") {
        OdePile pile(kMemoryPile, false);
        for (int step = 0; step < kMemorySteps; ++step)
            pile.step();
    }
    return long(platform::peakResidentKilobytes());
}

/// Steps `runs` piles of `count` in T through the benchmark's steps, each from its start, and
/// prints the CPU time a step: a run long enough for a profiler, of the steps the benchmark times.
template <typename T>
int stepRuns(int count, int runs, bool declared) {
    double seconds = 0;
    for (int run = 0; run < runs; ++run) {
        ZorPile<T> pile(count, false);
        pile.scene->declareGeneration(declared);
        const std::clock_t start = std::clock();
        for (int step = 0; step < kSteps; ++step)
            pile.step();
        seconds += double(std::clock() - start) / CLOCKS_PER_SEC;
    }
    std::printf("%.4f ms a step\n", seconds * 1000 / runs / kSteps);
    return 0;
}

/// `N,R` steps R piles of N in double, `N,R,float` in float; `,undeclared` after either steps
/// scenes that declare no generation.
int stepRuns(const char* argument) {
    int count = 0, runs = 0;
    char rest[24] = "double";
    const int read = std::sscanf(argument, "%d,%d,%23s", &count, &runs, rest);
    if (read < 2 || count <= 0 || runs <= 0)
        return 1;
    const std::string options = rest;
    const bool declared = options.find("undeclared") == std::string::npos;
    if (options.rfind("float", 0) == 0)
        return stepRuns<float>(count, runs, declared);
    return options.rfind("double", 0) == 0 || options == "undeclared"
               ? stepRuns<double>(count, runs, declared)
               : 1;
}

void printRatios(const RatioReporter& times, const char* program) {
    std::printf("\nCPU time ratios, ours / peer, full step over the same %d steps (lower is better):\n",
                kSteps);
    std::printf("%8s %14s %14s %14s %14s\n", "N", "float/Bullet", "double/Bullet", "float/ODE", "double/ODE");
    for (int pile : {100, 1000, 4000, 10000}) {
        const double bullet = times.time("BM_SpherePileBullet", pile),
                     ode = times.time("BM_SpherePileOde", pile);
        const double ours[] = {times.time("BM_SpherePileZorFloat", pile),
                               times.time("BM_SpherePileZorDouble", pile)};
        std::printf("%8d %14.2f %14.2f %14.2f %14.2f\n", pile, ours[0] / bullet, ours[1] / bullet,
                    ours[0] / ode, ours[1] / ode);
    }
    std::printf(
        "\nCost per body at N over that at 1,000 (double), in the 18 x 18 box and in the wide box of "
        "three layers,\nwith the pair contacts per body and step our stage finds (log N / log 1,000 for "
        "comparison):\n");
    std::printf("%8s %6s %8s %8s %8s %10s\n", "N", "box", "ours", "Bullet", "ODE", "contacts");
    const bool counted = !std::isnan(times.time("BM_SpherePileZorDouble", kMemoryPile));
    for (const bool wide : {false, true})
        for (int pile : {1000, 4000, 10000}) {
            const char* names[][2] = {{"BM_SpherePileZorDouble", "BM_SpherePileWideZor"},
                                      {"BM_SpherePileBullet", "BM_SpherePileWideBullet"},
                                      {"BM_SpherePileOde", "BM_SpherePileWideOde"}};
            double growth[3];
            for (int engine = 0; engine < 3; ++engine)
                growth[engine] = times.time(names[engine][wide], pile) / pile /
                                 (times.time(names[engine][wide], 1000) / 1000);
            if (std::isnan(growth[0]))
                continue;
            std::printf("%8d %6s %8.2f %8.2f %8.2f %10.2f\n", pile, wide ? "wide" : "18", growth[0],
                        growth[1], growth[2], counted ? contactsPerBodyAndStep(pile, wide) : std::nan(""));
        }
    std::printf("%8s %6s %8.2f (log N / log 1,000 at 10,000)\n", "", "",
                std::log(10000.0) / std::log(1000.0));
    std::printf("\nMovement stage alone / full step (double), and all-pairs reference / broad phase over the "
                "first steps:\n");
    const int firstSteps[][2] = {{100, 240}, {1000, 24}, {4000, 3}, {10000, 1}};
    for (const auto& [pile, steps] : firstSteps)
        std::printf("%8d %8.3f %10.1f  (%d steps)\n", pile,
                    times.time("BM_SpherePileZorMovement", pile) / times.time("BM_SpherePileZorDouble", pile),
                    times.time("BM_SpherePileZorAllPairs", pile, steps) /
                        times.time("BM_SpherePileZorFirstSteps", pile, steps),
                    steps);
    // Only with the runs of the largest pile: a run of a few benchmarks stays short.
    if (std::isnan(times.time("BM_SpherePileZorDouble", kMemoryPile)))
        return;
    const long none = peakInChild(program, "--pile-peak=none");
    std::printf("\nPeak memory stepping the pile of %d for %d steps, above a process that builds nothing:\n",
                kMemoryPile, kMemorySteps);
    const long zor = peakInChild(program, "--pile-peak=zor") - none;
    for (const char* peer : {"bullet", "ode"}) {
        const long peak = peakInChild(program, std::string("--pile-peak=") + peer) - none;
        std::printf("  ours %ld KB, %s %ld KB, ratio %.2f\n", zor, peer, peak, double(zor) / double(peak));
    }
}

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--pile-peak=", 12) == 0) {
            std::printf("%ld\n", peakOf(argv[i] + 12));
            return 0;
        } else if (std::strncmp(argv[i], "--pile-runs=", 12) == 0) {
            return stepRuns(argv[i] + 12);
        }
    // The repetitions of all the engines run in a random order, unless the command line says
    // otherwise: a machine that slows down for a while then slows every engine alike, and the
    // medians still compare the same work.
    std::vector<char*> arguments(argv, argv + argc);
    char interleaving[] = "--benchmark_enable_random_interleaving=true";
    if (std::none_of(argv, argv + argc, [](const char* argument) {
            return std::strncmp(argument, "--benchmark_enable_random_interleaving", 38) == 0;
        }))
        arguments.insert(arguments.begin() + 1, interleaving);
    int count = int(arguments.size());
    arguments.push_back(nullptr);
    benchmark::Initialize(&count, arguments.data());
    argc = count;
    argv = arguments.data();
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    if (reporter.ranAny())
        printRatios(reporter, argv[0]);
    benchmark::Shutdown();
    return 0;
}
