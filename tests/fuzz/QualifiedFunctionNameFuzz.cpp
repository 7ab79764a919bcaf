// Fuzz target: any text as a compiler signature must give a terminated name within the
// capacity, in bounded time.
#include "common/log/QualifiedFunctionName.h"

#include <cstdint>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string signature(reinterpret_cast<const char*>(data), size);
    for (const std::size_t capacity : {std::size_t{1}, std::size_t{7}, std::size_t{512}}) {
        char name[512];
        std::memset(name, 'x', sizeof name);
        zor::qualifiedFunctionName(signature.c_str(), name, capacity);
        if (std::memchr(name, '\0', capacity) == nullptr)
            __builtin_trap();
    }
    return 0;
}
