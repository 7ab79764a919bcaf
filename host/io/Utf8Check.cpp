#include "host/io/Utf8Check.h"

#include <cstdio>

namespace zor::host {

bool isValidUtf8(const char* text, std::size_t length) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    std::size_t i = 0;
    while (i < length) {
        const unsigned char lead = bytes[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t count = 0;
        unsigned long codePoint = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            count = 1;
            codePoint = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            count = 2;
            codePoint = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            count = 3;
            codePoint = lead & 0x07;
        } else {
            return false;
        }
        if (length - i <= count)
            return false;
        for (std::size_t k = 1; k <= count; ++k) {
            if ((bytes[i + k] & 0xC0) != 0x80)
                return false;
            codePoint = (codePoint << 6) | (bytes[i + k] & 0x3F);
        }
        const bool overlong = (count == 2 && codePoint < 0x800) || (count == 3 && codePoint < 0x10000);
        if (overlong || (codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint > 0x10FFFF)
            return false;
        i += count + 1;
    }
    return true;
}

std::string printableText(std::string_view text) {
    std::string printable;
    printable.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const std::size_t length = byte < 0x80 ? 1 : byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : 4;
        if (byte >= 0x20 && byte != 0x7F && length <= text.size() - i &&
            isValidUtf8(text.data() + i, length)) {
            printable.append(text.data() + i, length);
            i += length;
            continue;
        }
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
        printable += escaped;
        ++i;
    }
    return printable;
}

} // namespace zor::host
