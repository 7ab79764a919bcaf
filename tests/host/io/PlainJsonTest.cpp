// The quick reader of plain JSON against the parser: the same events, or the text left to it.

#include "host/io/PlainJson.h"
#include "host/io/DocumentFailure.h"
#include "host/io/DocumentShape.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>

namespace zor::host {
namespace {

using Json = nlohmann::ordered_json;

// Writes every event as a line; stops at the event numbered `stopAt`.
struct EventLog {
    static constexpr bool kReadsNumbers = true;
    std::string lines;
    int events = 0;
    int stopAt = -1;

    bool put(const std::string& line) {
        lines += line + "\n";
        return events++ != stopAt;
    }
    bool null() { return put("null"); }
    bool boolean(bool value) { return put(value ? "true" : "false"); }
    bool number_integer(Json::number_integer_t value) { return put("integer " + std::to_string(value)); }
    bool number_unsigned(Json::number_unsigned_t value) { return put("unsigned " + std::to_string(value)); }
    bool number_float(Json::number_float_t value, const std::string& text) {
        char bits[64];
        std::snprintf(bits, sizeof bits, "%a", value);
        return put("float " + std::string(bits) + " " + text);
    }
    bool string(std::string& value) { return put("string " + value); }
    bool binary(Json::binary_t&) { return put("binary"); }
    bool key(std::string& value) { return put("key " + value); }
    bool start_object(std::size_t size) { return put("{ " + std::to_string(size)); }
    bool end_object() { return put("}"); }
    bool start_array(std::size_t size) { return put("[ " + std::to_string(size)); }
    bool end_array() { return put("]"); }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) {
        lines += "error\n";
        return false;
    }
};

// A handler that only asks whether the text is JSON.
struct Survey : EventLog {
    static constexpr bool kReadsNumbers = false;
};

TEST(PlainJson, GivesTheParsersEventsOrLeavesTheTextToIt) {
    // Plain texts: read alike, with the parser's numbers (whole ones that do not fit become
    // doubles, as the parser makes them).
    const char* const plain[] = {
        "{\"objects\": [{\"type\": \"Scene3D{double}\", \"variables\": {\"gravity\": 9.81}, \"children\": "
        "[]}]}",
        " [1, -0, -7, 0.5, -2.8000000000000003e-3, 1E5, 4.9e-324, 18446744073709551615, "
        "18446744073709551616, "
        "-9223372036854775808, -9223372036854775809, 1e308] ",
        "\n\t{\r\"a\" : { } , \"b\":[ ],\"c\":[[true,false],null,\"x y\"],\"\":\"\"}\n",
        "\"text\"",
        "-12",
        "null",
    };
    for (const char* text : plain) {
        EventLog parsed;
        ASSERT_TRUE(Json::sax_parse(std::string_view(text), &parsed)) << text;
        EventLog read;
        EXPECT_EQ(readPlainJson(text, read), PlainJsonResult::Read) << text;
        EXPECT_EQ(read.lines, parsed.lines) << text;
        // A handler that refuses an event has no more.
        for (int stopAt = 0; stopAt < parsed.events; ++stopAt) {
            EventLog stopped;
            stopped.stopAt = stopAt;
            EXPECT_EQ(readPlainJson(text, stopped), PlainJsonResult::Stopped) << text;
            EXPECT_EQ(stopped.events, stopAt + 1) << text;
        }
    }
    // Faults, escapes, other bytes than printable ASCII and numbers out of range are the parser's.
    const char* const others[] = {
        "",
        " ",
        "{",
        "[1,]",
        "{\"a\":1,}",
        "{\"a\" 1}",
        "{1:2}",
        "[1 2]",
        "{} {}",
        "[1]]",
        "nul",
        "truth",
        "01",
        "-",
        "1.",
        ".5",
        "+1",
        "1e",
        "1e+",
        "-a",
        "1.5x",
        "[\"a\\\"b\"]",
        "[\"\\u00e9\"]",
        "[\"\xc3\xa9\"]",
        "[\"a\tb\"]",
        "\xef\xbb\xbf[]",
        "[\"open]",
        "1e400",
        "-1e400",
        "[1e99999]",
        "{\"a\":1}\x01",
    };
    // A handler that reads no numbers is given the same verdicts.
    const std::string huge = "[1" + std::string(400, '0') + ".5]";
    for (const char* text : others) {
        EventLog read;
        EXPECT_EQ(readPlainJson(text, read), PlainJsonResult::NotPlain) << text;
        Survey surveyed;
        EXPECT_EQ(readPlainJson(text, surveyed), PlainJsonResult::NotPlain) << text;
    }
    for (const std::string& text : {huge, huge.substr(0, 299) + "]"}) {
        EventLog parsed;
        const bool isJson = Json::sax_parse(text, &parsed);
        Survey surveyed;
        EXPECT_EQ(readPlainJson(text, surveyed), isJson ? PlainJsonResult::Read : PlainJsonResult::NotPlain);
    }
}

TEST(PlainJson, ReadsATextWithinTheLimitsExactlyWhenTheShapeCheckPassesIt) {
    const PlainJsonLimits limits{kMostNesting, 3, kMostNameBytes, kMostTextBytes};
    const auto nested = [](int levels) { return std::string(levels, '[') + std::string(levels, ']'); };
    const auto named = [](std::size_t bytes) { return "{\"" + std::string(bytes, 'n') + "\": 1}"; };
    const auto text = [](std::size_t bytes) { return "[\"" + std::string(bytes, 't') + "\"]"; };
    const std::string texts[] = {
        nested(kMostNesting),
        nested(kMostNesting + 1),
        named(kMostNameBytes),
        named(kMostNameBytes + 1),
        text(kMostTextBytes),
        text(kMostTextBytes + 1),
        "[1, 2]",
        "[1, [2]]",
        "{\"a\": []}",
    };
    const String name("limits");
    for (const std::string& json : texts) {
        EventLog read;
        const bool passes = checkDocumentShape(DocumentFormat::Json, name, json, limits.values);
        takeDocumentFailure(name);
        EXPECT_EQ(readPlainJson(json, read, limits),
                  passes ? PlainJsonResult::Read : PlainJsonResult::NotPlain)
            << json.substr(0, 40);
    }
}

} // namespace
} // namespace zor::host
