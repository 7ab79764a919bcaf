#include "common/log/FormatPrintf.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>

namespace zor {
namespace {

/// The text being written: what fits goes to the buffer, the length counts everything.
class FormatOutput {
public:
    FormatOutput(char* buffer, std::size_t capacity) : m_buffer(buffer), m_capacity(capacity) {}

    void append(const char* text, std::size_t length) {
        if (m_length + 1 < m_capacity) {
            const std::size_t room = m_capacity - 1 - m_length;
            std::memcpy(m_buffer + m_length, text, length < room ? length : room);
        }
        m_length += length;
    }

    /// One conversion, its `directive` text (from "%" to the letter) with its `stars` width and precision
    /// values before `value`; false when the C library refuses it.
    template <typename Value>
    bool convert(const char* directive, int stars, const int* starValues, Value value) {
        const bool fits = m_length < m_capacity;
        char* to = fits ? m_buffer + m_length : nullptr;
        const std::size_t room = fits ? m_capacity - m_length : 0;
        int written;
        if (stars == 0)
            written = std::snprintf(to, room, directive, value);
        else if (stars == 1)
            written = std::snprintf(to, room, directive, starValues[0], value);
        else
            written = std::snprintf(to, room, directive, starValues[0], starValues[1], value);
        if (written < 0)
            return false;
        m_length += std::size_t(written);
        return true;
    }

    int finish() {
        if (m_capacity != 0)
            m_buffer[m_length < m_capacity ? m_length : m_capacity - 1] = '\0';
        return m_length > std::size_t(INT32_MAX) ? -1 : int(m_length);
    }

private:
    char* m_buffer;
    std::size_t m_capacity;
    std::size_t m_length = 0;
};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

int formatPrintf(char* buffer, std::size_t capacity, const char* format, std::va_list arguments) {
    FormatOutput out(buffer, capacity);
    const char* p = format;
    while (*p != '\0') {
        if (*p != '%') {
            const char* text = p;
            while (*p != '\0' && *p != '%')
                ++p;
            out.append(text, std::size_t(p - text));
            continue;
        }
        const char* start = p++;
        if (*p == '%') {
            out.append("%", 1);
            ++p;
            continue;
        }
        bool leftAligned = false;
        for (; *p != '\0' && std::strchr("-+ #0", *p) != nullptr; ++p)
            leftAligned = leftAligned || *p == '-';
        int stars = 0;
        int starValues[2] = {0, 0};
        const char* width = p;
        if (*p == '*') {
            starValues[stars++] = va_arg(arguments, int);
            ++p;
        }
        while (isDigit(*p))
            ++p;
        const std::size_t widthLength = std::size_t(p - width);
        if (*p == '.') {
            ++p;
            if (*p == '*') {
                starValues[stars++] = va_arg(arguments, int);
                ++p;
            }
            while (isDigit(*p))
                ++p;
        }
        // Length: 0 none, 'H' hh, 'h', 'l', 'q' ll, 'j', 'z', 't', 'L'.
        char size = 0;
        if ((p[0] == 'h' && p[1] == 'h') || (p[0] == 'l' && p[1] == 'l')) {
            size = p[0] == 'h' ? 'H' : 'q';
            p += 2;
        } else if (*p != '\0' && std::strchr("hljztL", *p) != nullptr) {
            size = *p++;
        }
        const char conversion = *p;
        if (conversion == '\0')
            return -1;
        ++p;
        char directive[40];
        if (std::size_t(p - start) >= sizeof directive)
            return -1;
        std::memcpy(directive, start, std::size_t(p - start));
        directive[p - start] = '\0';
        bool converted;
        switch (conversion) {
        case 'd':
        case 'i':
            converted =
                size == 'l'   ? out.convert(directive, stars, starValues, va_arg(arguments, long))
                : size == 'q' ? out.convert(directive, stars, starValues, va_arg(arguments, long long))
                : size == 'j' ? out.convert(directive, stars, starValues, va_arg(arguments, std::intmax_t))
                : size == 'z' || size == 't'
                    ? out.convert(directive, stars, starValues, va_arg(arguments, std::ptrdiff_t))
                    : out.convert(directive, stars, starValues, va_arg(arguments, int));
            break;
        case 'u':
        case 'o':
        case 'x':
        case 'X':
            converted =
                size == 'l' ? out.convert(directive, stars, starValues, va_arg(arguments, unsigned long))
                : size == 'q'
                    ? out.convert(directive, stars, starValues, va_arg(arguments, unsigned long long))
                : size == 'j' ? out.convert(directive, stars, starValues, va_arg(arguments, std::uintmax_t))
                : size == 'z' || size == 't'
                    ? out.convert(directive, stars, starValues, va_arg(arguments, std::size_t))
                    : out.convert(directive, stars, starValues, va_arg(arguments, unsigned int));
            break;
        case 'e':
        case 'E':
        case 'f':
        case 'F':
        case 'g':
        case 'G':
        case 'a':
        case 'A':
            converted = size == 'L'
                            ? out.convert(directive, stars, starValues, va_arg(arguments, long double))
                            : out.convert(directive, stars, starValues, va_arg(arguments, double));
            break;
        case 'c':
            converted = size == 0 && out.convert(directive, stars, starValues, va_arg(arguments, int));
            break;
        case 's':
            converted = size == 'l'
                            ? out.convert(directive, stars, starValues, va_arg(arguments, const wchar_t*))
                            : out.convert(directive, stars, starValues, va_arg(arguments, const char*));
            break;
        case 'p': {
            // The digits, then as a text with the conversion's width and alignment alone.
            char digits[17];
            std::snprintf(
                digits, sizeof digits, "%016llX",
                static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(va_arg(arguments, void*))));
            char text[sizeof directive];
            std::snprintf(text, sizeof text, "%%%s%.*ss", leftAligned ? "-" : "", int(widthLength), width);
            converted = out.convert(text, stars != 0 && *width == '*' ? 1 : 0, starValues,
                                    static_cast<const char*>(digits));
            break;
        }
        default:
            return -1;
        }
        if (!converted)
            return -1;
    }
    return out.finish();
}

} // namespace zor
