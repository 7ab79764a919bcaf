// Writing and reading 10,000 rigid-body attributes as JSON and as XML, each through its own read
// and write operations, against parsing and serialising the same document with the library
// alone: the ratio is the cost of the reader and writer protocol on top of the format.

#include "bench/BenchRecord.h"
#include "host/core/HostObject.h"
#include "host/io/ObjectDocument.h"
#include "host/project/HostPhysicsAttribute.h"
#include "physics/attributes/RigidBody3DAttribute.h"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>
#include <pugixml.hpp>

#include <random>
#include <string>

namespace {

using namespace zor;
using bench::BenchRecord;

constexpr int kBodies = 10000;

IObject* createBody(const String& typeName) {
    return typeName == "RigidBody3DAttribute{float}" ? new RigidBody3DAttribute<float>() : nullptr;
}

// The attributes of the benchmarks, with varied values, and their documents.
struct Bodies {
    BenchRecord record;
    List<IObject*> objects;
    std::string json;
    std::string xml;

    Bodies() {
        std::mt19937 random(3);
        std::uniform_real_distribution<float> number(-100, 100);
        for (int i = 0; i < kBodies; ++i) {
            auto* body = new RigidBody3DAttribute<float>();
            body->setLinearSpeed({number(random), number(random), number(random)});
            body->setAngularSpeed({number(random), 0, number(random)});
            body->setMass(number(random) + 101);
            body->setRestitutionFactor(number(random) / 100);
            body->setRestitutionCombine(static_cast<uint32>(i % 4));
            body->setYLock(i % 2 == 0);
            body->setExclusionGroup(static_cast<uint32>(i));
            objects.pushBack(body);
        }
        host::writeObjects(host::DocumentFormat::Json, String("bench.json"), objects, false, json);
        host::writeObjects(host::DocumentFormat::Xml, String("bench.xml"), objects, false, xml);
    }
    ~Bodies() {
        for (IObject* object : objects)
            object->release();
    }
};

Bodies& bodies() {
    static Bodies instance;
    return instance;
}

void write(benchmark::State& state, host::DocumentFormat format) {
    Bodies& all = bodies();
    for (auto _ : state) {
        std::string text;
        host::writeObjects(format, String("bench"), all.objects, false, text);
        benchmark::DoNotOptimize(text.data());
    }
}

void read(benchmark::State& state, host::DocumentFormat format) {
    Bodies& all = bodies();
    const std::string& text = format == host::DocumentFormat::Json ? all.json : all.xml;
    for (auto _ : state) {
        List<IObject*> objects;
        if (!host::readObjects(format, String("bench"), text, &createBody, objects))
            state.SkipWithError("the document was refused");
        for (IObject* object : objects)
            object->release();
    }
}

void WriteJsonThroughAttributes(benchmark::State& state) {
    write(state, host::DocumentFormat::Json);
}
void SerialiseJsonWithLibrary(benchmark::State& state) {
    const nlohmann::ordered_json document = nlohmann::ordered_json::parse(bodies().json);
    for (auto _ : state) {
        std::string text = document.dump(2);
        benchmark::DoNotOptimize(text.data());
    }
}
void ReadJsonThroughAttributes(benchmark::State& state) {
    read(state, host::DocumentFormat::Json);
}
void ParseJsonWithLibrary(benchmark::State& state) {
    for (auto _ : state) {
        nlohmann::ordered_json document = nlohmann::ordered_json::parse(bodies().json);
        benchmark::DoNotOptimize(&document);
    }
}

struct StringSink : pugi::xml_writer {
    std::string text;
    void write(const void* data, std::size_t size) override {
        text.append(static_cast<const char*>(data), size);
    }
};

void WriteXmlThroughAttributes(benchmark::State& state) {
    write(state, host::DocumentFormat::Xml);
}
void SerialiseXmlWithLibrary(benchmark::State& state) {
    pugi::xml_document document;
    document.load_buffer(bodies().xml.data(), bodies().xml.size());
    for (auto _ : state) {
        StringSink sink;
        document.save(sink, "  ", pugi::format_default, pugi::encoding_utf8);
        benchmark::DoNotOptimize(sink.text.data());
    }
}
void ReadXmlThroughAttributes(benchmark::State& state) {
    read(state, host::DocumentFormat::Xml);
}
void ParseXmlWithLibrary(benchmark::State& state) {
    for (auto _ : state) {
        pugi::xml_document document;
        document.load_buffer(bodies().xml.data(), bodies().xml.size(),
                             pugi::parse_default | pugi::parse_ws_pcdata_single, pugi::encoding_utf8);
        benchmark::DoNotOptimize(&document);
    }
}

// What reading spends on making the attributes alone (each with its host level and companion).
void CreateAttributesOnly(benchmark::State& state) {
    bodies();
    for (auto _ : state) {
        for (int i = 0; i < kBodies; ++i)
            createBody(String("RigidBody3DAttribute{float}"))->release();
    }
}

BENCHMARK(WriteJsonThroughAttributes)->Unit(benchmark::kMillisecond);
BENCHMARK(SerialiseJsonWithLibrary)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadJsonThroughAttributes)->Unit(benchmark::kMillisecond);
BENCHMARK(ParseJsonWithLibrary)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteXmlThroughAttributes)->Unit(benchmark::kMillisecond);
BENCHMARK(SerialiseXmlWithLibrary)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadXmlThroughAttributes)->Unit(benchmark::kMillisecond);
BENCHMARK(ParseXmlWithLibrary)->Unit(benchmark::kMillisecond);
BENCHMARK(CreateAttributesOnly)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
