#include "host/io/NumberText.h"

#include <charconv>
#include <cmath>

namespace zor::host {
namespace {

template <typename Number>
std::string shortestText(Number value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string_view trimmed(std::string_view text) {
    constexpr std::string_view kSpace = " \t\r\n";
    const std::size_t first = text.find_first_not_of(kSpace);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

template <typename Number>
NumberParse parseWhole(std::string_view text, Number& value) {
    text = trimmed(text);
    Number parsed{};
    const auto result = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (result.ec == std::errc::result_out_of_range && result.ptr == text.data() + text.size())
        return NumberParse::OutOfRange;
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() || text.empty())
        return NumberParse::Malformed;
    if constexpr (std::is_floating_point_v<Number>) {
        if (!std::isfinite(parsed))
            return NumberParse::NotFinite;
    }
    value = parsed;
    return NumberParse::Ok;
}

} // namespace

std::string numberText(float value) {
    return shortestText(value);
}

std::string numberText(double value) {
    return shortestText(value);
}

std::string numberText(uint32 value) {
    return shortestText(value);
}

NumberParse parseNumber(std::string_view text, float& value) {
    return parseWhole(text, value);
}

NumberParse parseNumber(std::string_view text, double& value) {
    return parseWhole(text, value);
}

NumberParse parseNumber(std::string_view text, uint32& value) {
    return parseWhole(text, value);
}

double jsonDoubleForFloat(float value) {
    // The float's shortest digits read as a double can, in rare cases, round to a different
    // float; the widened float itself always rounds back.
    double viaDigits = 0;
    if (std::isfinite(value) && parseNumber(numberText(value), viaDigits) == NumberParse::Ok &&
        static_cast<float>(viaDigits) == value && std::signbit(viaDigits) == std::signbit(value))
        return viaDigits;
    return static_cast<double>(value);
}

} // namespace zor::host
