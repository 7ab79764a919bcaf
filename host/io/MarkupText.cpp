#include "host/io/MarkupText.h"

#include "host/io/Utf8Check.h"

namespace zor::host {

namespace {

constexpr const char* kReplacement = "\xEF\xBF\xBD";

// The length of the valid UTF-8 sequence at `i`, or 0.
std::size_t sequenceAt(std::string_view text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    return length <= text.size() - i && isValidUtf8(text.data() + i, length) ? length : 0;
}

} // namespace

std::string wellFormedText(std::string_view text) {
    std::string printable;
    printable.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = sequenceAt(text, i);
        const auto lead = static_cast<unsigned char>(text[i]);
        const auto second = length == 2 ? static_cast<unsigned char>(text[i + 1]) : 0;
        // C0 controls and DEL are one byte; C1 controls are C2 80 to C2 9F.
        const bool control =
            (length == 1 && (lead < 0x20 || lead == 0x7F)) || (lead == 0xC2 && second < 0xA0);
        if (length == 0 || control)
            printable += kReplacement;
        else
            printable.append(text.substr(i, length));
        i += length == 0 ? 1 : length;
    }
    return printable;
}

std::string xmlText(std::string_view text) {
    std::string escaped;
    for (char c : wellFormedText(text)) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        case '\'':
            escaped += "&#39;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

std::string jsonText(std::string_view text) {
    const std::string printable = wellFormedText(text);
    std::string quoted = "\"";
    for (std::size_t i = 0; i < printable.size(); ++i) {
        const char c = printable[i];
        if (c == '"' || c == '\\')
            quoted += std::string("\\") + c;
        else if (c == '<')
            quoted += "\\u003c";
        else if (c == '>')
            quoted += "\\u003e";
        else if (c == '&')
            quoted += "\\u0026";
        else if (printable.compare(i, 3, "\xE2\x80\xA8") == 0 ||
                 printable.compare(i, 3, "\xE2\x80\xA9") == 0) {
            quoted += printable[i + 2] == '\xA8' ? "\\u2028" : "\\u2029";
            i += 2;
        } else
            quoted += c;
    }
    return quoted + "\"";
}

std::string csvText(std::string_view text) {
    const std::string printable = wellFormedText(text);
    if (printable.find_first_of(",\"") == std::string::npos)
        return printable;
    std::string quoted = "\"";
    for (char c : printable)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

} // namespace zor::host
