#pragma once

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace zor::host {

/// How readPlainJson ended.
enum class PlainJsonResult {
    /// The text is plain JSON, and every event went to the handler.
    Read,
    /// A handler's event returned false; the events after it were not given.
    Stopped,
    /// The text is not plain JSON (see readPlainJson); the handler may have had some events.
    NotPlain,
};

/// Bounds on a plain text, counted as checkDocumentShape counts them; a text beyond any is
/// NotPlain.
struct PlainJsonLimits {
    /// Levels of objects and arrays.
    std::size_t nesting = std::numeric_limits<std::size_t>::max();
    /// Values, objects and arrays included.
    std::uint64_t values = std::numeric_limits<std::uint64_t>::max();
    /// Bytes of a member's name, and of a text.
    std::size_t nameBytes = std::numeric_limits<std::size_t>::max();
    std::size_t textBytes = std::numeric_limits<std::size_t>::max();
};

namespace plain_json {

inline bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

inline bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace plain_json

/// Gives the events of the JSON parser's event handlers (null, boolean, number_integer,
/// number_unsigned, number_float, string, key, start_object, end_object, start_array,
/// end_array) for `text`, with the values the parser gives, when the text is plain JSON: one
/// value, its texts and names of printable ASCII without escapes, its numbers within range.
/// Such a text is read several times faster than by the parser, which has to be ready for
/// escapes, any UTF-8 and every fault; anything else (a fault too) is NotPlain, and is for the
/// parser, whose events and errors are the reference. A handler whose kReadsNumbers is false
/// (it only asks whether the text is JSON) may be given 0 for a double that surely is finite.
template <typename Handler>
PlainJsonResult readPlainJson(std::string_view text, Handler& handler, const PlainJsonLimits& limits = {}) {
    using plain_json::isDigit;
    using plain_json::isSpace;
    constexpr auto kUnknownSize = static_cast<std::size_t>(-1);
    // The parser reads numbers in the current locale; only its usual decimal point is plain.
    if (std::localeconv()->decimal_point[0] != '.' || std::localeconv()->decimal_point[1] != '\0')
        return PlainJsonResult::NotPlain;
    const char* at = text.data();
    const char* const end = at + text.size();
    std::string scratch;
    // The open objects (true) and arrays (false).
    std::vector<bool> open;
    std::uint64_t values = 0;

    const auto skipSpace = [&] {
        while (at != end && isSpace(*at))
            ++at;
    };
    // A text from its opening quote into `scratch`; false when it is not plain or longer.
    const auto readText = [&](std::size_t mostBytes) {
        const char* const start = ++at;
        while (at != end && *at != '"') {
            const auto byte = static_cast<unsigned char>(*at);
            if (byte < 0x20 || byte >= 0x80 || byte == '\\')
                return false;
            ++at;
        }
        if (at == end || static_cast<std::size_t>(at - start) > mostBytes)
            return false;
        scratch.assign(start, at);
        ++at;
        return true;
    };
    // A name and its colon, the next value's.
    const auto readKey = [&] {
        skipSpace();
        if (at == end || *at != '"' || !readText(limits.nameBytes))
            return PlainJsonResult::NotPlain;
        skipSpace();
        if (at == end || *at != ':')
            return PlainJsonResult::NotPlain;
        ++at;
        return handler.key(scratch) ? PlainJsonResult::Read : PlainJsonResult::Stopped;
    };
    const auto readDigits = [&] {
        const char* const start = at;
        while (at != end && isDigit(*at))
            ++at;
        return at != start;
    };
    // A number as the parser takes it: a whole number that fits, else a double that is finite.
    const auto readNumber = [&] {
        const char* const start = at;
        const bool negative = *at == '-';
        if (negative)
            ++at;
        if (at == end || !isDigit(*at))
            return PlainJsonResult::NotPlain;
        if (*at == '0')
            ++at;
        else
            readDigits();
        bool whole = true;
        bool scaled = false;
        if (at != end && *at == '.') {
            ++at;
            whole = false;
            if (!readDigits())
                return PlainJsonResult::NotPlain;
        }
        if (at != end && (*at == 'e' || *at == 'E')) {
            ++at;
            whole = false;
            scaled = true;
            if (at != end && (*at == '+' || *at == '-'))
                ++at;
            if (!readDigits())
                return PlainJsonResult::NotPlain;
        }
        bool accepted = true;
        if (whole && negative) {
            std::int64_t value = 0;
            const auto [stop, error] = std::from_chars(start, at, value);
            if (error == std::errc() && stop == at)
                accepted = handler.number_integer(value);
            else
                whole = false;
        } else if (whole) {
            std::uint64_t value = 0;
            const auto [stop, error] = std::from_chars(start, at, value);
            if (error == std::errc() && stop == at)
                accepted = handler.number_unsigned(value);
            else
                whole = false;
        }
        if (!whole) {
            scratch.assign(start, at);
            // Without an exponent, fewer than 300 characters are a finite double.
            if constexpr (Handler::kReadsNumbers == false) {
                if (!scaled && at - start < 300)
                    return handler.number_float(0.0, scratch) ? PlainJsonResult::Read
                                                              : PlainJsonResult::Stopped;
            }
            const double value = std::strtod(scratch.c_str(), nullptr);
            if (!std::isfinite(value))
                return PlainJsonResult::NotPlain;
            accepted = handler.number_float(value, scratch);
        }
        return accepted ? PlainJsonResult::Read : PlainJsonResult::Stopped;
    };
    const auto readLiteral = [&](std::string_view literal) {
        if (static_cast<std::size_t>(end - at) < literal.size() ||
            std::string_view(at, literal.size()) != literal)
            return false;
        at += literal.size();
        return true;
    };

    for (;;) {
        // A value starts.
        skipSpace();
        if (at == end || ++values > limits.values)
            return PlainJsonResult::NotPlain;
        if ((*at == '{' || *at == '[') && open.size() + 1 > limits.nesting)
            return PlainJsonResult::NotPlain;
        PlainJsonResult result = PlainJsonResult::Read;
        bool closed = true;
        switch (*at) {
        case '{':
            ++at;
            if (!handler.start_object(kUnknownSize))
                return PlainJsonResult::Stopped;
            skipSpace();
            if (at != end && *at == '}') {
                ++at;
                if (!handler.end_object())
                    return PlainJsonResult::Stopped;
                break;
            }
            open.push_back(true);
            result = readKey();
            closed = false;
            break;
        case '[':
            ++at;
            if (!handler.start_array(kUnknownSize))
                return PlainJsonResult::Stopped;
            skipSpace();
            if (at != end && *at == ']') {
                ++at;
                if (!handler.end_array())
                    return PlainJsonResult::Stopped;
                break;
            }
            open.push_back(false);
            closed = false;
            break;
        case '"':
            if (!readText(limits.textBytes))
                return PlainJsonResult::NotPlain;
            result = handler.string(scratch) ? PlainJsonResult::Read : PlainJsonResult::Stopped;
            break;
        case 't':
            result = !readLiteral("true")    ? PlainJsonResult::NotPlain
                     : handler.boolean(true) ? PlainJsonResult::Read
                                             : PlainJsonResult::Stopped;
            break;
        case 'f':
            result = !readLiteral("false")    ? PlainJsonResult::NotPlain
                     : handler.boolean(false) ? PlainJsonResult::Read
                                              : PlainJsonResult::Stopped;
            break;
        case 'n':
            result = !readLiteral("null") ? PlainJsonResult::NotPlain
                     : handler.null()     ? PlainJsonResult::Read
                                          : PlainJsonResult::Stopped;
            break;
        default:
            if (*at != '-' && !isDigit(*at))
                return PlainJsonResult::NotPlain;
            result = readNumber();
            break;
        }
        if (result != PlainJsonResult::Read)
            return result;
        if (!closed)
            continue;
        // The value is whole: what follows it in the containers it closes.
        for (;;) {
            skipSpace();
            if (open.empty())
                return at == end ? PlainJsonResult::Read : PlainJsonResult::NotPlain;
            if (at == end)
                return PlainJsonResult::NotPlain;
            const bool inObject = open.back();
            if (*at == ',') {
                ++at;
                if (inObject && (result = readKey()) != PlainJsonResult::Read)
                    return result;
                break;
            }
            if (*at != (inObject ? '}' : ']'))
                return PlainJsonResult::NotPlain;
            ++at;
            open.pop_back();
            if (!(inObject ? handler.end_object() : handler.end_array()))
                return PlainJsonResult::Stopped;
        }
    }
}

} // namespace zor::host
