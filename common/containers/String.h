#pragma once

#include "common/memory/RefCountedData.h"

#include <cstdarg>

namespace zor {

template <typename T>
class Array;
template <typename T>
class List;

/// The framework's text: UTF-8 bytes, always NUL-terminated, with a 64-byte buffer inside the
/// object for short texts. `m_size` counts the terminator, so an empty string has size 1.
class String : public RefCountedData {
public:
    static constexpr uint64 kInlineCapacity = 64;

    String();
    /// `length` 0 means up to the terminating NUL; a null or empty text gives the empty string.
    String(const char* text, std::size_t length = 0);
    String(const String& other);
    String(String&& other) noexcept;
    ~String();

    /// A string holding printf-style output.
    static String formatted(const char* format, ...) __attribute__((format(printf, 1, 2)));

    ZOR_DELETING_DESTRUCTOR(String)

    /// Slot 4: frees the heap block if any and returns to the empty inline buffer; returns the data.
    virtual char* clear();
    /// Slot 5: sets the size (terminator included); grows the capacity to 2n when n exceeds it.
    /// Bytes past the old size are not initialised.
    virtual void resize(uint64 size);
    /// Slot 6: the default allocation (a memory block).
    virtual void* allocate(uint64 bytes);
    /// Slot 7: the default reallocation.
    virtual void* reallocate(void* pointer, uint64 bytes);
    /// Slot 8: frees a block (null does nothing).
    virtual void deallocate(void* pointer);

    /// Assigning a string with a null buffer clears.
    String& operator=(const String& other);
    String& operator=(String&& other) noexcept;
    /// Replaces the content by `length` bytes of `text` (0: up to the NUL); null or empty clears.
    void assign(const char* text, std::size_t length = 0);

    /// Appends a NUL-terminated UTF-8 text.
    void pushBackUTF8String(const char* text);
    /// Appends `length` bytes.
    void pushBackUTF8SubString(const char* text, std::size_t length);
    /// Appends another string; the string itself may be appended.
    void pushBack(const String& other);
    /// Appends NUL-terminated UTF-16 text, each unit encoded on its own.
    void pushBack(const WideChar* utf16);

    /// Replaces the content with printf-style output; a formatting error changes nothing.
    void format(const char* format, ...) __attribute__((format(printf, 2, 3)));

    /// Converts to UTF-16 in `out` (NUL-terminated, one unit per character); returns out's data.
    const WideChar* toUTF16(Array<WideChar>& out) const;

    /// Splits at commas (one blank after each comma is skipped) and appends the pieces to `out`.
    void split(List<String>& out) const;

    /// The file name part of a path; `directory`, when given, receives the rest with its separator.
    String splitPath(String* directory = nullptr) const;

    bool operator==(const String& other) const;
    bool operator==(const char* text) const;

    const char* c_str() const { return m_data; }
    char* data() { return m_data; }
    /// Bytes of text, without the terminator.
    uint64 length() const { return m_size != 0 ? m_size - 1 : 0; }
    /// Bytes in use, terminator included (the `m_size` member).
    uint64 byteSize() const { return m_size; }
    uint64 capacity() const { return m_capacity; }
    bool isEmpty() const { return m_size <= 1; }
    bool isInline() const { return m_data == m_buffer; }

    /// The static template type names "float" and "double", created once on first use.
    static const String& floatTypeName();
    static const String& doubleTypeName();

private:
    // Both write the terminator after the `count` bytes; the bytes may lie in this string.
    void assignBytes(const char* bytes, uint64 count);
    void appendBytes(const char* bytes, uint64 count);
    void formatArguments(const char* format, std::va_list arguments);
    bool ownsBytes(const char* bytes) const;

    char* m_data;
    uint64 m_size;
    uint64 m_capacity;
    char m_buffer[kInlineCapacity];
};

/// A copy of `left` followed by `right`.
String operator+(const String& left, const String& right);

} // namespace zor
