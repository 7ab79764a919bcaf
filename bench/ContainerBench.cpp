#include "common/containers/Array.h"
#include "common/containers/HashMap.h"

#include <benchmark/benchmark.h>

#include <string>
#include <unordered_map>
#include <vector>

namespace {

// Keys shaped like variable and type names, built once before any timing.
template <typename Key>
const std::vector<Key>& keys(std::size_t count) {
    static std::vector<Key> built;
    if (built.size() != count) {
        built.clear();
        for (std::size_t i = 0; i < count; ++i) {
            const std::string text = "variable" + std::to_string(i * 7919) + "{float}";
            built.emplace_back(text.c_str());
        }
    }
    return built;
}

void ZorArrayPushBack(benchmark::State& state) {
    const auto count = static_cast<zor::uint32>(state.range(0));
    for (auto _ : state) {
        zor::Array<zor::uint32> array;
        for (zor::uint32 i = 0; i < count; ++i)
            array.pushBack(i);
        benchmark::DoNotOptimize(array.data());
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(ZorArrayPushBack)->Arg(64)->Arg(4096);

void StdVectorPushBack(benchmark::State& state) {
    const auto count = static_cast<std::uint32_t>(state.range(0));
    for (auto _ : state) {
        std::vector<std::uint32_t> vector;
        for (std::uint32_t i = 0; i < count; ++i)
            vector.push_back(i);
        benchmark::DoNotOptimize(vector.data());
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(StdVectorPushBack)->Arg(64)->Arg(4096);

void ZorHashMapInsertBack(benchmark::State& state) {
    const auto& names = keys<zor::String>(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        zor::HashMap<zor::String, zor::uint32> map;
        zor::uint32 value = 0;
        for (const zor::String& name : names)
            map.insertBack(name, value++);
        benchmark::DoNotOptimize(map.size());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(ZorHashMapInsertBack)->Arg(64)->Arg(4096);

void StdUnorderedMapInsert(benchmark::State& state) {
    const auto& names = keys<std::string>(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        std::unordered_map<std::string, std::uint32_t> map;
        std::uint32_t value = 0;
        for (const std::string& name : names)
            map.emplace(name, value++);
        benchmark::DoNotOptimize(map.size());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(StdUnorderedMapInsert)->Arg(64)->Arg(4096);

void ZorHashMapFind(benchmark::State& state) {
    const auto& names = keys<zor::String>(static_cast<std::size_t>(state.range(0)));
    zor::HashMap<zor::String, zor::uint32> map;
    zor::uint32 value = 0;
    for (const zor::String& name : names)
        map.insertBack(name, value++);
    for (auto _ : state) {
        zor::uint32 sum = 0;
        for (const zor::String& name : names)
            sum += map.find(name)->m_second;
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(ZorHashMapFind)->Arg(64)->Arg(4096);

void StdUnorderedMapFind(benchmark::State& state) {
    const auto& names = keys<std::string>(static_cast<std::size_t>(state.range(0)));
    std::unordered_map<std::string, std::uint32_t> map;
    std::uint32_t value = 0;
    for (const std::string& name : names)
        map.emplace(name, value++);
    for (auto _ : state) {
        std::uint32_t sum = 0;
        for (const std::string& name : names)
            sum += map.find(name)->second;
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(StdUnorderedMapFind)->Arg(64)->Arg(4096);

} // namespace

BENCHMARK_MAIN();
