#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>

namespace zor::host {

/// A short description of a JSON value for log lines: "an object", "an array", "\"text\"", "1.5".
std::string describeJson(const nlohmann::ordered_json& value);

/// `pointer` followed by the escaped reference token of `key` ("/a~1b" for key "a/b").
std::string jsonPointerTo(const std::string& pointer, const std::string& key);
/// Appends the escaped reference token of `key` to `pointer`, as jsonPointerTo.
void appendToJsonPointer(std::string& pointer, std::string_view key);

/// True for {"type": "<name>", "value": ...}: a value written in typed mode.
bool isTypedJsonValue(const nlohmann::ordered_json& value);

} // namespace zor::host
