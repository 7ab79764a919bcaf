#include "physics/attributes/RestitutionCombine.h"

#include "common/containers/HashMap.h"
#include "common/platform/ReadWriteLock.h"

#include <atomic>

namespace zor {

namespace {

// Two process-wide tables, each with its own lock, filled on the first conversion and kept
// until the module is unloaded.
struct RestitutionCombineTables {
    HashMap<String, uint8> values;
    ReadWriteLock valuesLock;
    HashMap<uint8, String> names;
    ReadWriteLock namesLock;
    std::atomic<bool> built{false};
};

RestitutionCombineTables& tables() {
    static RestitutionCombineTables instance;
    return instance;
}

void buildTables(RestitutionCombineTables& t) {
    static const char* const kNames[] = {"MAX", "MULTIPLY", "AVERAGE", "COMBINE_MIN"};
    ScopedReadWriteLock valuesLock(t.valuesLock, ScopedReadWriteLock::Exclusive);
    ScopedReadWriteLock namesLock(t.namesLock, ScopedReadWriteLock::Exclusive);
    if (t.built.load())
        return; // another thread was first
    for (uint8 value = 0; value < 4; ++value) {
        const String name(kNames[value]);
        t.values.insertBack(name, value);
        t.names.insertBack(value, name);
    }
    t.built.store(true);
}

} // namespace

bool convertRestitutionCombine(String& name, uint8& value, bool toValue) {
    RestitutionCombineTables& t = tables();
    if (!t.built.load())
        buildTables(t);
    if (toValue) {
        ScopedReadWriteLock lock(t.valuesLock, ScopedReadWriteLock::Shared);
        auto it = t.values.find(name);
        if (it == t.values.end())
            return false;
        value = it->m_second;
        return true;
    }
    ScopedReadWriteLock lock(t.namesLock, ScopedReadWriteLock::Shared);
    auto it = t.names.find(value);
    if (it == t.names.end())
        return false;
    name = it->m_second;
    return true;
}

} // namespace zor
