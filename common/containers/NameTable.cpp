#include "common/containers/NameTable.h"

#include <cstring>

namespace zor {

HashMap<String, uint32>* makeIndexMap(uint32 count, const char* const names[]) {
    auto* map = new HashMap<String, uint32>();
    for (uint32 i = 0; i < count; ++i)
        map->insertBack(String(names[i]), i);
    return map;
}

uint32 lookupIndexedName(const String& name, uint32* index, const HashMap<String, uint32>& map) {
    constexpr uint32 notFound = 0xFFFFFFFFu;
    auto found = map.find(name);
    if (found != map.end())
        return found->m_second;

    const char* text = name.c_str();
    const char* open = std::strchr(text, '[');
    if (open == nullptr || std::strchr(open + 1, ']') == nullptr)
        return notFound;

    String pattern(text, static_cast<std::size_t>(open - text) + 1);
    pattern.pushBackUTF8SubString("]", 1);
    found = map.find(pattern);
    if (found == map.end())
        return notFound;

    if (index != nullptr) {
        // Digits after the bracket; a number too large for 32 bits saturates.
        uint64 number = 0;
        for (const char* digit = open + 1; *digit >= '0' && *digit <= '9'; ++digit) {
            number = number * 10 + static_cast<uint64>(*digit - '0');
            if (number > notFound)
                number = notFound;
        }
        *index = static_cast<uint32>(number);
    }
    return found->m_second;
}

} // namespace zor
