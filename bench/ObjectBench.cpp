#include "common/application/ApplicationData.h"
#include "common/object/ObjectFactory.h"
#include "common/variables/VariableReference.h"
#include "common/variables/VariableType.h"
#include "host/core/HostObject.h"

#include <benchmark/benchmark.h>

namespace {

using namespace zor;

// changeValue goes through the table of virtual operations as the host calls it, then one switch
// on the member's type; the peer stores the converted value straight into the member.
template <typename Member>
void changeValueFloat(benchmark::State& state, int32 type) {
    Member member{};
    VariableReference* reference = new VariableReference(type, &member);
    benchmark::DoNotOptimize(reference);
    float value = 1.0f;
    for (auto _ : state) {
        reference->changeValueFloat(value);
        benchmark::DoNotOptimize(member);
        value += 1.0f;
    }
    reference->destroy();
}

template <typename Member>
void directStoreFloat(benchmark::State& state) {
    Member member{};
    Member* target = &member;
    benchmark::DoNotOptimize(target);
    float value = 1.0f;
    for (auto _ : state) {
        *target = static_cast<Member>(value);
        benchmark::DoNotOptimize(member);
        value += 1.0f;
    }
}

void ChangeValueFloatIntoFloat(benchmark::State& state) {
    changeValueFloat<float>(state, VariableTypeFloat);
}
void DirectStoreFloatIntoFloat(benchmark::State& state) {
    directStoreFloat<float>(state);
}
void ChangeValueFloatIntoInt32(benchmark::State& state) {
    changeValueFloat<int32>(state, VariableTypeInt32);
}
void DirectStoreFloatIntoInt32(benchmark::State& state) {
    directStoreFloat<int32>(state);
}
void ChangeValueFloatIntoUInt64(benchmark::State& state) {
    changeValueFloat<uint64>(state, VariableTypeUInt64);
}
void DirectStoreFloatIntoUInt64(benchmark::State& state) {
    directStoreFloat<uint64>(state);
}
BENCHMARK(ChangeValueFloatIntoFloat);
BENCHMARK(DirectStoreFloatIntoFloat);
BENCHMARK(ChangeValueFloatIntoInt32);
BENCHMARK(DirectStoreFloatIntoInt32);
BENCHMARK(ChangeValueFloatIntoUInt64);
BENCHMARK(DirectStoreFloatIntoUInt64);

// A host record whose core module creates host Objects, registered with the factory.
class BenchRecord final : public ApplicationData {
public:
    BenchRecord() {
        m_coreRecord.m_createObject = &HostObject::create;
        m_core = &m_coreRecord;
        setApplicationData(this);
        zor_addObjectAllocator<HostObject>();
    }
    ~BenchRecord() { setApplicationData(nullptr); }
    void deletingDestructor(uint32) override {}
    void openLog(const String&, const String&) override {}
    bool isConsoleEchoEnabled() override { return false; }
    void writeLog(const String&) override {}

    CoreRecord m_coreRecord;
};

// Creation through the factory (shared lock, hash look-up by GUID and template type name)
// against the allocator called directly; both release what they create.
void CreateFromGUIDAndTypeName(benchmark::State& state) {
    BenchRecord record;
    const GUID_t& guid = HostObject::classGuid();
    const String templateTypeName;
    for (auto _ : state) {
        IObject* object = zor_createObjectFromGUIDAndTypeName(guid, templateTypeName);
        benchmark::DoNotOptimize(object);
        object->release();
    }
}
BENCHMARK(CreateFromGUIDAndTypeName);

void CallAllocatorDirectly(benchmark::State& state) {
    ObjectAllocator allocator = &allocateObject<HostObject>;
    benchmark::DoNotOptimize(allocator);
    for (auto _ : state) {
        IObject* object = allocator();
        benchmark::DoNotOptimize(object);
        object->release();
    }
}
BENCHMARK(CallAllocatorDirectly);

} // namespace

BENCHMARK_MAIN();
