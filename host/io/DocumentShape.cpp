#include "host/io/DocumentShape.h"

#include "host/io/DocumentFailure.h"
#include "host/io/DocumentLimits.h"

#include <algorithm>
#include <cstdio>

namespace zor::host {
namespace {

constexpr const char* kFunction = "zor::host::checkDocumentShape";

// The counts of one pass; each check refuses at the byte where the limit is passed.
class ShapeCount {
public:
    ShapeCount(const String& fileName, std::string_view text, std::uint64_t mostValues)
        : m_fileName(fileName), m_text(text), m_mostValues(mostValues) {}

    bool open(std::size_t at) {
        if (++m_depth <= kMostNesting)
            return true;
        return refuse(at, "%d levels of nesting at most, found more", kMostNesting);
    }
    void close() {
        if (m_depth > 0)
            --m_depth;
    }
    bool value(std::size_t at) {
        if (++m_values <= m_mostValues)
            return true;
        return refuse(at, "%llu values at most, found more", static_cast<unsigned long long>(m_mostValues));
    }
    bool name(std::size_t at, std::size_t length) { return within(at, length, kMostNameBytes, "a name"); }
    bool text(std::size_t at, std::size_t length) { return within(at, length, kMostTextBytes, "a text"); }

private:
    bool within(std::size_t at, std::size_t length, std::uint64_t most, const char* what) {
        if (length <= most)
            return true;
        return refuse(at, "%s of %llu bytes at most, found %llu bytes", what,
                      static_cast<unsigned long long>(most), static_cast<unsigned long long>(length));
    }

    template <typename... Arguments>
    bool refuse(std::size_t at, const char* format, Arguments... arguments) {
        char expected[128];
        std::snprintf(expected, sizeof expected, format, arguments...);
        logDocumentFailure(kFunction, m_fileName, textPlace(m_text, static_cast<std::ptrdiff_t>(at)),
                           "expected %s", expected);
        return false;
    }

    const String& m_fileName;
    std::string_view m_text;
    std::uint64_t m_mostValues;
    int m_depth = 0;
    std::uint64_t m_values = 0;
};

bool isJsonSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Not strchr: it finds the terminating zero too, and a zero byte would then end no literal.
bool isJsonDelimiter(char c) {
    return isJsonSpace(c) || std::string_view(",:{}[]\"").find(c) != std::string_view::npos;
}

bool checkJson(std::string_view text, ShapeCount& count) {
    const std::size_t size = text.size();
    for (std::size_t at = 0; at < size;) {
        const char c = text[at];
        if (c == '"') {
            std::size_t end = at + 1;
            while (end < size && text[end] != '"')
                end += text[end] == '\\' ? 2 : 1;
            const std::size_t length = std::min(end, size) - at - 1;
            std::size_t next = end + 1;
            while (next < size && isJsonSpace(text[next]))
                ++next;
            // A string followed by a colon is a member's name.
            const bool isName = next < size && text[next] == ':';
            if (!(isName ? count.name(at, length) : count.value(at) && count.text(at, length)))
                return false;
            at = end + 1;
        } else if (c == '{' || c == '[') {
            if (!count.value(at) || !count.open(at))
                return false;
            ++at;
        } else if (c == '}' || c == ']') {
            count.close();
            ++at;
        } else if (c == ',' || c == ':' || isJsonSpace(c)) {
            ++at;
        } else {
            // A number or a literal: one value up to the next delimiter.
            if (!count.value(at))
                return false;
            while (at < size && !isJsonDelimiter(text[at]))
                ++at;
        }
    }
    return true;
}

bool isXmlNameEnd(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '/' || c == '>' || c == '=';
}

// Skips past `terminator` from `at`; the end of the text when it is missing.
std::size_t skipPast(std::string_view text, std::size_t at, std::string_view terminator) {
    const std::size_t found = text.find(terminator, at);
    return found == std::string_view::npos ? text.size() : found + terminator.size();
}

// A start tag from its '<' at `at`: its name, its attributes, and whether it closes itself.
bool checkXmlStartTag(std::string_view text, std::size_t& at, ShapeCount& count) {
    const std::size_t size = text.size();
    const std::size_t start = at;
    std::size_t end = ++at;
    while (end < size && !isXmlNameEnd(text[end]))
        ++end;
    if (!count.value(start) || !count.name(start, end - at))
        return false;
    at = end;
    while (at < size && text[at] != '>') {
        const char c = text[at];
        if (c == '/' || c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '=') {
            ++at;
        } else if (c == '"' || c == '\'') {
            const std::size_t close = text.find(c, at + 1);
            end = close == std::string_view::npos ? size : close;
            if (!count.text(at, end - at - 1))
                return false;
            // An unclosed quote ends the tag at the end of the text.
            at = std::min(end + 1, size);
        } else {
            end = at;
            while (end < size && !isXmlNameEnd(text[end]))
                ++end;
            if (!count.name(at, end - at) || !count.value(at))
                return false;
            at = end;
        }
    }
    const bool selfClosing = at > start && text[at - 1] == '/';
    ++at;
    return selfClosing || count.open(start);
}

bool checkXml(std::string_view text, ShapeCount& count) {
    const std::size_t size = text.size();
    for (std::size_t at = 0; at < size;) {
        if (text[at] != '<') {
            const std::size_t next = std::min(text.find('<', at), size);
            if (!count.text(at, next - at))
                return false;
            at = next;
            continue;
        }
        const std::string_view rest = text.substr(at);
        if (rest.starts_with("<?")) {
            at = skipPast(text, at, "?>");
        } else if (rest.starts_with("<!--")) {
            at = skipPast(text, at, "-->");
        } else if (rest.starts_with("<![CDATA[")) {
            const std::size_t end = skipPast(text, at, "]]>");
            if (!count.text(at, end - at))
                return false;
            at = end;
        } else if (rest.starts_with("<!")) {
            // A document type declaration, with its internal subset in brackets.
            int brackets = 0;
            for (++at; at < size && (text[at] != '>' || brackets > 0); ++at)
                brackets += text[at] == '[' ? 1 : text[at] == ']' ? -1 : 0;
            ++at;
        } else if (rest.starts_with("</")) {
            count.close();
            at = skipPast(text, at, ">");
        } else if (!checkXmlStartTag(text, at, count)) {
            return false;
        }
    }
    return true;
}

} // namespace

bool checkDocumentShape(DocumentFormat format, const String& fileName, std::string_view text,
                        std::uint64_t mostValues) {
    ShapeCount count(fileName, text, mostValues);
    return format == DocumentFormat::Json ? checkJson(text, count) : checkXml(text, count);
}

} // namespace zor::host
