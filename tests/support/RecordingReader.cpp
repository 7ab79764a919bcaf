#include "support/RecordingReader.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace zor::test {

namespace {

// Each parse takes the whole text or fails, as a reader of a malformed file does.
bool parse(const std::string& text, uint8& out) {
    if (text != "0" && text != "1" && text != "true" && text != "false")
        return false;
    out = text == "1" || text == "true" ? 1 : 0;
    return true;
}

bool parse(const std::string& text, uint32& out) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, out);
    return !text.empty() && error == std::errc() && stop == end;
}

// Floating-point texts: an overflow fails; an underflow to a subnormal or zero is a value.
template <typename Number>
bool parseFloating(const std::string& text, Number& out, Number (*convert)(const char*, char**)) {
    char* end = nullptr;
    errno = 0;
    const Number number = convert(text.c_str(), &end);
    if (text.empty() || *end != '\0' || (errno == ERANGE && std::isinf(number)))
        return false;
    out = number;
    return true;
}

bool parse(const std::string& text, float& out) {
    return parseFloating<float>(text, out, std::strtof);
}
bool parse(const std::string& text, double& out) {
    return parseFloating<double>(text, out, std::strtod);
}

bool parse(const std::string& text, String& out) {
    out = String(text.c_str());
    return true;
}

constexpr auto kParse = [](const std::string& text, auto& out) { return parse(text, out); };

} // namespace

std::string RecordingReader::pathOf(const String& name) const {
    std::string path;
    for (const std::string& node : m_openNodes)
        path += node + ".";
    return path + name.c_str();
}

template <typename Value, typename Parse>
bool RecordingReader::readVariable(const char* operation, const String& name, bool& found, uint64 options,
                                   Value& value, Parse parseText) {
    const auto entry = m_values.find(pathOf(name));
    RecordedCall call{operation, name.c_str(), "", -1, options};
    call.absent = entry == m_values.end();
    Value parsed = value;
    if (!call.absent) {
        call.value = entry->second;
        call.accepted = parseText(entry->second, parsed);
    }
    if (!m_record.record(std::move(call)))
        return false;
    found = entry != m_values.end();
    if (found)
        value = parsed;
    return true;
}

bool RecordingReader::enterNode(const String& name, bool& found) {
    const std::string path = pathOf(name);
    bool present = false;
    for (auto entry = m_values.lower_bound(path + "."); !present && entry != m_values.end(); ++entry)
        present = entry->first.compare(0, path.size() + 1, path + ".") == 0;
    RecordedCall call{"enterNode", name.c_str()};
    call.absent = !present;
    if (!m_record.record(call))
        return false;
    found = present;
    if (present)
        m_openNodes.push_back(name.c_str());
    return true;
}

void RecordingReader::leaveNode() {
    m_record.record({"leaveNode"}, false);
    if (!m_openNodes.empty())
        m_openNodes.pop_back();
}

// The reads of plain values parse their text with the overload above for the value.
#define ZOR_READ(Operation, Value)                                                                           \
    bool RecordingReader::Operation(const String& name, bool& found, Value& value, uint64 options) {         \
        return readVariable(#Operation, name, found, options, value, kParse);                                \
    }
ZOR_READ(readBool, uint8)
ZOR_READ(readUInt32, uint32)
ZOR_READ(readFloat, float)
ZOR_READ(readDouble, double)
ZOR_READ(readString, String)
#undef ZOR_READ

bool RecordingReader::readEnumeration(const String& name, bool& found, uint8& value,
                                      EnumerationConverter converter) {
    return readVariable("readEnumeration", name, found, 0, value, [&](const std::string& text, uint8& out) {
        String keyword(text.c_str());
        return converter != nullptr && converter(keyword, out, true);
    });
}

} // namespace zor::test
