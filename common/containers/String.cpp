#include "common/containers/String.h"

#include "common/containers/Array.h"
#include "common/containers/List.h"

#include "common/log/FormatPrintf.h"
#include "common/log/Log.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <typeinfo>

namespace zor {
namespace {

// Growth doubles the requested size; a request whose double does not fit is an allocation failure.
uint64 doubledCapacity(uint64 size) {
    if (size > UINT64_MAX / 2)
        std::abort();
    return 2 * size;
}

// Bytes of the UTF-8 encoding of one UTF-16 unit, each unit encoded on its own.
uint64 utf8Length(uint32 unit) {
    return unit < 0x80u ? 1 : unit < 0x800u ? 2 : 3;
}

// Bytes of the UTF-8 sequence at `bytes`, by its lead byte. A byte that cannot start a sequence,
// a sequence cut short by the end of the text and a sequence with a byte that is not a
// continuation byte all count as one byte of their own.
uint64 sequenceLength(const unsigned char* bytes, uint64 remaining) {
    const unsigned lead = bytes[0];
    const uint64 length = lead < 0x80u              ? 1
                          : (lead & 0xE0u) == 0xC0u ? 2
                          : (lead & 0xF0u) == 0xE0u ? 3
                          : (lead & 0xF8u) == 0xF0u ? 4
                                                    : 1;
    if (length > remaining)
        return 1;
    for (uint64 i = 1; i < length; ++i)
        if ((bytes[i] & 0xC0u) != 0x80u)
            return 1;
    return length;
}

// One 16-bit unit for a sequence: the code point, or its low 16 bits for four-byte sequences.
uint16 decodeSequence(const unsigned char* bytes, uint64 length) {
    static constexpr unsigned leadMask[] = {0, 0xFFu, 0x1Fu, 0x0Fu, 0x07u};
    uint32 codePoint = bytes[0] & leadMask[length];
    for (uint64 i = 1; i < length; ++i)
        codePoint = (codePoint << 6) | (bytes[i] & 0x3Fu);
    return static_cast<uint16>(codePoint);
}

} // namespace

String::String() : m_data(m_buffer), m_size(1), m_capacity(kInlineCapacity) {
    m_buffer[0] = '\0';
}

String::String(const char* text, std::size_t length) : String() {
    if (text != nullptr && length == 0)
        length = std::strlen(text);
    assign(text, length);
}

String::String(const String& other) : String() {
    *this = other;
}

String::String(String&& other) noexcept : String() {
    *this = static_cast<String&&>(other);
}

String::~String() {
    if (m_capacity > kInlineCapacity)
        deallocate(m_data);
}

String String::formatted(const char* format, ...) {
    String result;
    va_list arguments;
    va_start(arguments, format);
    result.formatArguments(format, arguments);
    va_end(arguments);
    return result;
}

char* String::clear() {
    if (m_capacity > kInlineCapacity)
        deallocate(m_data);
    m_data = m_buffer;
    m_size = 1;
    m_capacity = kInlineCapacity;
    m_buffer[0] = '\0';
    return m_data;
}

void String::resize(uint64 size) {
    if (size > m_capacity) {
        const uint64 capacity = doubledCapacity(size);
        if (m_capacity > kInlineCapacity) {
            m_data = static_cast<char*>(reallocate(m_data, capacity));
        } else {
            auto* block = static_cast<char*>(allocate(capacity));
            std::memcpy(block, m_data, m_size);
            m_data = block;
        }
        m_capacity = capacity;
    }
    m_size = size;
}

void* String::allocate(uint64 bytes) {
    return defaultAllocator()->allocate(bytes);
}

void* String::reallocate(void* pointer, uint64 bytes) {
    return defaultAllocator()->reallocate(pointer, bytes);
}

void String::deallocate(void* pointer) {
    defaultAllocator()->free(pointer, 0);
}

String& String::operator=(const String& other) {
    if (&other == this)
        return *this;
    if (other.m_data == nullptr || other.m_size == 0) {
        clear();
        return *this;
    }
    assignBytes(other.m_data, other.m_size - 1);
    return *this;
}

String& String::operator=(String&& other) noexcept {
    if (&other == this)
        return *this;
    // A heap block can change hands only between strings that allocate it the same way.
    if (other.m_capacity > kInlineCapacity && typeid(*this) == typeid(other)) {
        if (m_capacity > kInlineCapacity)
            deallocate(m_data);
        m_data = other.m_data;
        m_size = other.m_size;
        m_capacity = other.m_capacity;
        other.m_data = other.m_buffer;
        other.m_size = 1;
        other.m_capacity = kInlineCapacity;
        other.m_buffer[0] = '\0';
        return *this;
    }
    *this = static_cast<const String&>(other);
    other.clear();
    return *this;
}

void String::assign(const char* text, std::size_t length) {
    if (text == nullptr || length == 0) {
        clear();
        return;
    }
    assignBytes(text, length);
}

void String::assignBytes(const char* bytes, uint64 count) {
    const uint64 size = count + 1;
    if (size <= kInlineCapacity) {
        // The source may be this string's heap block, so it is copied before the block goes.
        std::memmove(m_buffer, bytes, count);
        if (m_capacity > kInlineCapacity)
            deallocate(m_data);
        m_data = m_buffer;
        m_capacity = kInlineCapacity;
    } else if (size > m_capacity) {
        const uint64 capacity = doubledCapacity(size);
        auto* block = static_cast<char*>(allocate(capacity));
        std::memcpy(block, bytes, count);
        if (m_capacity > kInlineCapacity)
            deallocate(m_data);
        m_data = block;
        m_capacity = capacity;
    } else {
        std::memmove(m_data, bytes, count);
    }
    m_data[count] = '\0';
    m_size = size;
}

bool String::ownsBytes(const char* bytes) const {
    const auto address = reinterpret_cast<std::uintptr_t>(bytes);
    const auto start = reinterpret_cast<std::uintptr_t>(m_data);
    return address >= start && address < start + m_capacity;
}

void String::appendBytes(const char* bytes, uint64 count) {
    if (ownsBytes(bytes)) {
        // Growing may move or free the storage the source lies in.
        String source;
        source.assignBytes(bytes, count);
        appendBytes(source.m_data, count);
        return;
    }
    const uint64 end = m_size - 1;
    resize(m_size + count);
    std::memcpy(m_data + end, bytes, count);
    m_data[end + count] = '\0';
}

void String::pushBackUTF8String(const char* text) {
    if (text == nullptr || text[0] == '\0')
        return;
    zor_assert_in(ZOR_LOG_MODULE, "zor::String::pushBackUTF8String", m_size != 0);
    appendBytes(text, std::strlen(text));
}

void String::pushBackUTF8SubString(const char* text, std::size_t length) {
    if (text == nullptr || length == 0)
        return;
    zor_assert_in(ZOR_LOG_MODULE, "zor::String::pushBackUTF8String", m_size != 0);
    appendBytes(text, length);
}

void String::pushBack(const String& other) {
    if (other.m_data == nullptr || other.m_size <= 1)
        return;
    zor_assert_in(ZOR_LOG_MODULE, "zor::String::pushBackUTF8SubString", m_size != 0);
    appendBytes(other.m_data, other.m_size - 1);
}

void String::pushBack(const WideChar* utf16) {
    if (utf16 == nullptr || utf16[0] == 0)
        return;
    uint64 encoded = 0;
    for (const WideChar* unit = utf16; *unit != 0; ++unit)
        encoded += utf8Length(static_cast<uint16>(*unit));

    const uint64 end = length();
    resize(end + encoded + 1);
    auto* out = reinterpret_cast<unsigned char*>(m_data + end);
    for (const WideChar* unit = utf16; *unit != 0; ++unit) {
        const uint32 value = static_cast<uint16>(*unit);
        if (value < 0x80u) {
            *out++ = static_cast<unsigned char>(value);
        } else if (value < 0x800u) {
            *out++ = static_cast<unsigned char>(0xC0u | (value >> 6));
            *out++ = static_cast<unsigned char>(0x80u | (value & 0x3Fu));
        } else {
            *out++ = static_cast<unsigned char>(0xE0u | (value >> 12));
            *out++ = static_cast<unsigned char>(0x80u | ((value >> 6) & 0x3Fu));
            *out++ = static_cast<unsigned char>(0x80u | (value & 0x3Fu));
        }
    }
    *out = '\0';
}

void String::format(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    formatArguments(format, arguments);
    va_end(arguments);
}

void String::formatArguments(const char* format, std::va_list arguments) {
    va_list measuring;
    va_copy(measuring, arguments);
    const int measured = formatPrintf(nullptr, 0, format, measuring);
    va_end(measuring);
    if (measured < 0)
        return;
    // Formatting into a block of our own lets the arguments refer to this string's text.
    const uint64 length = static_cast<uint64>(measured);
    auto* text = static_cast<char*>(allocate(length + 1));
    std::memset(text, 0, length + 1);
    if (formatPrintf(text, length + 1, format, arguments) >= 0)
        assignBytes(text, length);
    deallocate(text);
}

const WideChar* String::toUTF16(Array<WideChar>& out) const {
    const auto* bytes = reinterpret_cast<const unsigned char*>(m_data);
    const uint64 size = length();
    uint64 count = 0;
    for (uint64 i = 0; i < size; i += sequenceLength(bytes + i, size - i))
        ++count;
    if (!out.resize(count + 1))
        return nullptr;
    WideChar* unit = out.data();
    for (uint64 i = 0; i < size;) {
        const uint64 length = sequenceLength(bytes + i, size - i);
        *unit++ = static_cast<WideChar>(decodeSequence(bytes + i, length));
        i += length;
    }
    *unit = 0;
    return out.data();
}

void String::split(List<String>& out) const {
    const uint64 size = length();
    const char* comma = static_cast<const char*>(std::memchr(m_data, ',', size));
    if (comma == nullptr) {
        out.pushBack(*this);
        return;
    }
    const char* end = m_data + size;
    const char* piece = m_data;
    for (;;) {
        const char* stop = comma != nullptr ? comma : end;
        if (stop != piece)
            out.pushBack(String(piece, static_cast<std::size_t>(stop - piece)));
        if (comma == nullptr)
            return;
        piece = comma + 1;
        if (piece != end && *piece == ' ')
            ++piece;
        comma = static_cast<const char*>(std::memchr(piece, ',', static_cast<std::size_t>(end - piece)));
    }
}

String String::splitPath(String* directory) const {
    const uint64 size = length();
    uint64 separator = size;
    for (const char wanted : {'\\', '/'}) {
        for (uint64 i = size; i > 0; --i) {
            if (m_data[i - 1] == wanted) {
                separator = i - 1;
                break;
            }
        }
        if (separator != size)
            break;
    }
    if (separator == size)
        return *this;

    String name;
    if (separator + 1 < size)
        name.assignBytes(m_data + separator + 1, size - separator - 1);
    if (directory != nullptr)
        directory->assignBytes(m_data, separator + 1);
    return name;
}

bool String::operator==(const String& other) const {
    return length() == other.length() && std::memcmp(m_data, other.m_data, length()) == 0;
}

bool String::operator==(const char* text) const {
    const uint64 size = text != nullptr ? std::strlen(text) : 0;
    return length() == size && std::memcmp(m_data, text != nullptr ? text : "", size) == 0;
}

const String& String::floatTypeName() {
    static const String name("float");
    return name;
}

const String& String::doubleTypeName() {
    static const String name("double");
    return name;
}

String operator+(const String& left, const String& right) {
    String result(left);
    result.pushBack(right);
    return result;
}

} // namespace zor
