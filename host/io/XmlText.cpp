#include "host/io/XmlText.h"

#include "host/io/DocumentFailure.h"
#include "host/io/Utf8Check.h"

#include <cstring>

namespace zor::host {

std::string xmlPlace(std::string_view text, pugi::xml_node element) {
    // The element's offset is that of its name; its '<' stands one before.
    const std::ptrdiff_t offset = element.offset_debug();
    return textPlace(text, offset > 0 ? offset - 1 : offset);
}

bool isXmlName(const char* name) {
    const auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
    if (name == nullptr || !isLetter(*name))
        return false;
    for (const char* c = name + 1; *c != '\0'; ++c)
        if (!isLetter(*c) && !(*c >= '0' && *c <= '9') && *c != '-' && *c != '.')
            return false;
    return true;
}

bool isXmlText(const char* text, std::size_t length) {
    if (!isValidUtf8(text, length))
        return false;
    for (std::size_t i = 0; i < length; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 && c != '\t' && c != '\n')
            return false;
    }
    return true;
}

std::string quotedXmlText(const char* text) {
    constexpr std::size_t kLongest = 40;
    const std::size_t length = std::strlen(text);
    std::string quoted = "\"";
    // Control characters are spelled out so that the log line stays one line.
    for (std::size_t i = 0; i < std::min(length, kLongest); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20) {
            static const char kDigits[] = "0123456789ABCDEF";
            quoted += "\\x";
            quoted += kDigits[c >> 4];
            quoted += kDigits[c & 15];
        } else {
            quoted += static_cast<char>(c);
        }
    }
    if (length > kLongest)
        quoted += "...";
    quoted += '"';
    return quoted;
}

} // namespace zor::host
