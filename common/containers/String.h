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
    /// Takes over a heap block; `other` is left empty. Each string keeps its own counter.
    String(String&& other) noexcept;
    /// Frees the heap block through String's own `deallocate`: a class that overrides the
    /// allocation slots calls `clear` in its destructor.
    ~String();

    /// A string holding printf-style output.
    static String formatted(const char* format, ...) ZOR_PRINTF_FORMAT(1, 2);

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
    /// Takes over a heap block (see the move constructor).
    String& operator=(String&& other) noexcept;
    /// Replaces the content by `length` bytes of `text`; a null text or a length of 0 clears.
    /// (Only the constructor reads up to the NUL when the length is 0.)
    void assign(const char* text, std::size_t length);

    /// Appends a NUL-terminated UTF-8 text.
    void pushBackUTF8String(const char* text);
    /// Appends `length` bytes.
    void pushBackUTF8SubString(const char* text, std::size_t length);
    /// Appends another string; the string itself may be appended.
    void pushBack(const String& other);
    /// Appends NUL-terminated UTF-16 text, each unit encoded on its own.
    void pushBack(const WideChar* utf16);

    /// Replaces the content with printf-style output; a formatting error changes nothing.
    void format(const char* format, ...) ZOR_PRINTF_FORMAT(2, 3);

    /// Converts to UTF-16 in `out` (NUL-terminated, one unit per character); returns out's data.
    const WideChar* toUTF16(Array<WideChar>& out) const;

    /// Splits at commas (one blank after each comma is skipped) and appends the pieces to `out`.
    void split(List<String>& out) const;

    /// The file name part of a path; `directory`, when given, receives the rest with its separator.
    String splitPath(String* directory = nullptr) const;

    /// Equal when the lengths are equal and the bytes match.
    bool operator==(const String& other) const;
    /// Compares with a NUL-terminated text (null compares as empty).
    bool operator==(const char* text) const;

    /// The NUL-terminated text.
    const char* c_str() const { return m_data; }
    /// The bytes, for writing after a `resize`.
    char* data() { return m_data; }
    /// Bytes of text, without the terminator.
    uint64 length() const { return m_size != 0 ? m_size - 1 : 0; }
    /// Bytes in use, terminator included (the `m_size` member).
    uint64 byteSize() const { return m_size; }
    /// Bytes available at the data (the `m_capacity` member).
    uint64 capacity() const { return m_capacity; }
    /// True when there is no text.
    bool isEmpty() const { return m_size <= 1; }
    /// True while the text lives in the buffer inside the object.
    bool isInline() const { return m_data == m_buffer; }

    /// The static template type names "float" and "double", created once on first use.
    static const String& floatTypeName();
    static const String& doubleTypeName();

private:
    // The two byte copies write the terminator after `count` bytes; the source may lie in this
    // string's own storage.
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
