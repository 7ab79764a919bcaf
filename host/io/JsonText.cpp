#include "host/io/JsonText.h"

#include <cmath>

namespace zor::host {

std::string describeJson(const nlohmann::ordered_json& value) {
    constexpr std::size_t kLongest = 40;
    switch (value.type()) {
    case nlohmann::json::value_t::object:
        return "an object";
    case nlohmann::json::value_t::array:
        return "an array";
    case nlohmann::json::value_t::string: {
        const std::string& text = value.get_ref<const std::string&>();
        if (text.size() <= kLongest)
            return value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
        nlohmann::ordered_json start = text.substr(0, kLongest);
        std::string dumped = start.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
        dumped.insert(dumped.size() - 1, "...");
        return dumped;
    }
    case nlohmann::json::value_t::number_float:
        if (!std::isfinite(value.get<double>()))
            return "a number beyond the range of a double";
        return value.dump();
    default:
        return value.dump();
    }
}

void appendToJsonPointer(std::string& pointer, std::string_view key) {
    pointer += '/';
    for (char character : key) {
        if (character == '~')
            pointer += "~0";
        else if (character == '/')
            pointer += "~1";
        else
            pointer += character;
    }
}

std::string jsonPointerTo(const std::string& pointer, const std::string& key) {
    std::string result = pointer;
    appendToJsonPointer(result, key);
    return result;
}

bool isTypedJsonValue(const nlohmann::ordered_json& value) {
    if (!value.is_object() || value.size() != 2)
        return false;
    const auto type = value.find("type");
    return type != value.end() && type->is_string() && value.contains("value");
}

} // namespace zor::host
