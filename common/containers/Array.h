#pragma once

#include "common/memory/RefCountedData.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <new>
#include <utility>

namespace zor {

namespace array_detail {

/// True when constructing a T by value-initialisation writes zero to every byte it writes, so
/// that zeroed storage holds value-initialised elements already: probed once, on zeroed storage.
template <typename T>
bool valueInitialisedIsZero() {
    static const bool zero = [] {
        alignas(T) static unsigned char probe[sizeof(T)];
        ::new (static_cast<void*>(probe)) T();
        for (unsigned char byte : probe)
            if (byte != 0)
                return false;
        return true;
    }();
    return zero;
}

} // namespace array_detail

/// Storage modes of an Array.
enum ArrayMode : uint32 {
    ArrayModeExternal = 0, ///< a buffer the array does not own: never resized or freed
    ArrayModeOwned = 1,    ///< owned; the capacity follows every size change
    ArrayModeGrowOnly = 6, ///< owned; the capacity only grows, when the size exceeds it
};

/// Growth policies; the top four bits select the rule.
enum ArrayGrowth : uint32 {
    ArrayGrowthDouble = 0x10000000,     ///< capacity = 2 x size
    ArrayGrowthPowerOfTwo = 0x20000000, ///< smallest power of two strictly above the size
    // Any other value v: the size rounded up to a multiple of v (v > 1), else the size itself.
};

/// The framework's contiguous dynamic array of trivially copyable elements. Every instance has
/// the same 28 virtual operations; only the element size and the element copies differ.
template <typename T>
class Array : public RefCountedData {
    static_assert(std::is_trivially_copyable_v<T>, "Array elements are copied as bytes");

public:
    /// Empty, mode 1, power-of-two growth, default allocator.
    Array();
    Array(const Array& other);
    ~Array();
    Array& operator=(const Array& other);

    ZOR_DELETING_DESTRUCTOR(Array)
    using RefCountedData::release;

    /// Slot 4.
    virtual void setAllocator(const Allocator* allocator);
    /// Slot 5: exchanges data, size, capacity, mode, growth and allocator.
    virtual void swap(Array& other);
    /// Slot 6: reset, then a copy of the source's elements.
    virtual void assign(const Array& other);
    /// Slot 7: frees owned storage; empty, mode 1, power-of-two growth, default allocator.
    virtual void reset();
    /// Slot 8: sets the size; the last `tailCount` elements stay at the end when growing, so
    /// that a gap opens before them (`gapCount` 0: the whole growth). False when refused.
    virtual bool resize(uint64 newSize, uint64 tailCount = 0, uint64 gapCount = 0);
    /// Slot 9: opens a gap of `count` elements at the position and copies `source` into it.
    virtual bool insert(const T* source, uint64 position, uint64 count, bool fromEnd);
    /// Slot 10: overwrites from the position, growing when needed; returns the count written.
    virtual uint64 write(const T* source, uint64 position, uint64 count, bool fromEnd);
    /// Slot 11: removes `count` elements at the position.
    virtual bool remove(uint64 position, uint64 count, bool fromEnd);
    /// Slot 12: grows by `count`, copying `source` into the new elements when it is not null.
    virtual bool append(const T* source, uint64 count);
    /// Slot 13.
    virtual bool pushBack(const T& value);
    /// Slot 14: removes min(count, size) elements from the end, copying them to `destination`.
    virtual uint64 popBack(T* destination, uint64 count);
    /// Slot 15: the last element, removed. Undefined on an empty array: test isEmpty first.
    virtual T popBack();
    /// Slot 16: mode 6; the size becomes min(size, capacity).
    virtual void setFixed(uint64 size);
    /// Slot 17: frees owned storage and uses `buffer` as external storage of `count` elements.
    virtual void attach(T* buffer, uint64 count);
    /// Slot 18: reset, then takes ownership of `buffer` (a block from the array's allocator).
    virtual void adopt(T* buffer, uint64 count);
    /// Slot 19: hands the storage and its size to the caller, then resets without freeing.
    virtual void release(T** data, std::size_t* size);
    /// Slot 20: allowed only when the current and the new mode are each 1 or 6.
    virtual bool setMode(uint32 mode, uint32 growth);
    /// Slot 21.
    virtual uint32 getMode() const;
    /// Slot 22.
    virtual uint32 getGrowth() const;
    /// Slot 23.
    virtual T* data() const;
    /// Slot 24.
    virtual uint64 size() const;
    /// Slot 25.
    virtual bool isEmpty() const;
    /// Slot 26.
    virtual uint64 capacity() const;
    /// Slot 27.
    virtual bool isExternal() const;

    T& operator[](uint64 index) { return m_data[index]; }
    const T& operator[](uint64 index) const { return m_data[index]; }
    T* begin() { return m_data; }
    T* end() { return m_data + m_size; }
    const T* begin() const { return m_data; }
    const T* end() const { return m_data + m_size; }

private:
    /// The capacity the growth policy gives for `size`; false when it does not fit in 64 bits.
    static bool capacityFor(uint32 growth, uint64 size, uint64* capacity);
    /// The members that a change of size replaces.
    struct Storage {
        T* data;
        uint64 size;
        uint64 capacity;
    };

    /// The array's members as they are, and back.
    Storage storage() const { return Storage{m_data, m_size, m_capacity}; }
    void setStorage(const Storage& storage) {
        m_data = storage.data;
        m_size = storage.size;
        m_capacity = storage.capacity;
    }

    /// Mode 0, and mode 1 with the doubling policy, never change the size.
    static bool refusesResize(uint32 mode, uint32 growth);
    /// True when growing to `size` keeps the storage as it is.
    bool keepsStorageAt(uint64 size) const;
    /// Sets the size to `newSize`, reallocating when the policy asks for it: the first `keep`
    /// elements stay in place and `tailCount` elements move from `tailFrom` to `tailTo`.
    /// Leaves the array unchanged when the storage cannot be had.
    bool relocate(uint64 newSize, uint64 keep, uint64 tailFrom, uint64 tailTo, uint64 tailCount);
    /// relocate on a copy of the members, with the array's settings.
    static bool relocateStorage(Storage& storage, uint32 mode, uint32 growth, const Allocator* allocator,
                                uint64 newSize, uint64 keep, uint64 tailFrom, uint64 tailTo,
                                uint64 tailCount);
    /// relocateStorage's growth of storage from the built-in allocation: the block grows in place
    /// where the heap allows, so that the kept elements need no copy.
    static void growBuiltInStorage(Storage& storage, uint64 newCapacity, uint64 keep, uint64 tailFrom,
                                   uint64 tailTo, uint64 tailCount);
    /// Storage for `count` elements (value-initialised for class types); null when a custom
    /// allocator has none.
    static T* allocateElements(const Allocator* allocator, uint64 count);
    static void freeElements(const Allocator* allocator, T* elements, uint64 count);
    /// When `source` lies in this array's storage, which a reallocation would free, a copy of
    /// it in `*copy` (freed by the caller); else `source` itself.
    const T* detachedSource(const T* source, uint64 count, T** copy) const;
    static void copyElements(T* destination, const T* source, uint64 count);
    /// pushBack's general path, as append(&value, 1). It works on a copy of the members so that
    /// the array itself never leaves pushBack: over a loop of pushes the compiler keeps them in
    /// registers. `value` is a copy, since the original may lie in the storage that growing frees.
    __attribute__((noinline)) static bool appendGrowing(Storage& storage, uint32 mode, uint32 growth,
                                                        const Allocator* allocator, T value);

    T* m_data;
    uint64 m_size;
    uint64 m_capacity;
    uint32 m_mode;
    uint32 m_growth;
    const Allocator* m_allocator;
};

// The constructor, the destructor and pushBack are declared inline so that a loop of pushes
// sees the whole array and keeps its members in registers.
template <typename T>
inline Array<T>::Array()
    : m_data(nullptr), m_size(0), m_capacity(0), m_mode(ArrayModeOwned), m_growth(ArrayGrowthPowerOfTwo),
      m_allocator(defaultAllocator()) {}

template <typename T>
Array<T>::Array(const Array& other) : Array() {
    Array::assign(other);
}

template <typename T>
inline Array<T>::~Array() {
    if (m_mode != ArrayModeExternal)
        freeElements(m_allocator, m_data, m_capacity);
}

template <typename T>
Array<T>& Array<T>::operator=(const Array& other) {
    Array::assign(other);
    return *this;
}

template <typename T>
bool Array<T>::capacityFor(uint32 growth, uint64 size, uint64* capacity) {
    switch (growth >> 28) {
    case 0x1:
        if (size > UINT64_MAX / 2)
            return false;
        *capacity = size * 2;
        return true;
    case 0x2:
        if (size >= (uint64{1} << 63))
            return false;
        *capacity = size == 0 ? 1 : std::bit_floor(size) << 1;
        return true;
    default:
        if (growth <= 1) {
            *capacity = size;
            return true;
        }
        if (size > UINT64_MAX - (growth - 1))
            return false;
        *capacity = (size + growth - 1) / growth * growth;
        return true;
    }
}

template <typename T>
bool Array<T>::refusesResize(uint32 mode, uint32 growth) {
    return mode == ArrayModeExternal || (mode == ArrayModeOwned && (growth >> 28) == 0x1);
}

template <typename T>
inline bool Array<T>::keepsStorageAt(uint64 size) const {
    if (m_mode == ArrayModeGrowOnly)
        return size <= m_capacity;
    if (m_mode != ArrayModeOwned || (m_growth >> 28) != 0x2)
        return false;
    // The power-of-two policy keeps a capacity c for the sizes n with c / 2 <= n < c, c a power
    // of two: then, and only then, the bits of 2n from c's bit up are c's bit alone. A capacity
    // that is no power of two has bits below its lowest one and never passes.
    const uint64 capacity = m_capacity;
    return ((size << 1) & (0 - capacity)) == capacity && capacity != 0;
}

template <typename T>
void Array<T>::copyElements(T* destination, const T* source, uint64 count) {
    if (count != 0)
        std::memmove(static_cast<void*>(destination), source, count * sizeof(T));
}

template <typename T>
T* Array<T>::allocateElements(const Allocator* allocator, uint64 count) {
    // An impossible byte count is passed on as SIZE_MAX, which no allocator can satisfy.
    const std::size_t bytes =
        count > SIZE_MAX / sizeof(T) ? SIZE_MAX : static_cast<std::size_t>(count * sizeof(T));
    const bool builtIn = allocator == nullptr || allocator == defaultAllocator();
    if constexpr (std::is_class_v<T>) {
        // The system's zeroed pages are not written: a large block is touched first by its use.
        if (builtIn && array_detail::valueInitialisedIsZero<T>())
            return static_cast<T*>(allocateZeroedMemoryBlock(bytes));
    }
    void* memory = builtIn ? allocateMemoryBlock(bytes) : allocator->allocate(bytes);
    if (memory == nullptr)
        return nullptr;
    auto* elements = static_cast<T*>(memory);
    if constexpr (std::is_class_v<T>) {
        for (uint64 i = 0; i < count; ++i)
            ::new (static_cast<void*>(elements + i)) T();
    }
    return elements;
}

template <typename T>
void Array<T>::freeElements(const Allocator* allocator, T* elements, uint64 count) {
    if (elements == nullptr)
        return;
    if (allocator != nullptr)
        allocator->free(elements, static_cast<std::size_t>(count * sizeof(T)));
    else
        freeMemoryBlock(elements);
}

template <typename T>
const T* Array<T>::detachedSource(const T* source, uint64 count, T** copy) const {
    *copy = nullptr;
    const auto first = reinterpret_cast<std::uintptr_t>(source);
    const auto storage = reinterpret_cast<std::uintptr_t>(m_data);
    if (source == nullptr || count == 0 || m_data == nullptr || first >= storage + m_capacity * sizeof(T) ||
        first + count * sizeof(T) <= storage)
        return source;
    *copy = static_cast<T*>(allocateMemoryBlock(static_cast<std::size_t>(count * sizeof(T))));
    copyElements(*copy, source, count);
    return *copy;
}

template <typename T>
bool Array<T>::relocate(uint64 newSize, uint64 keep, uint64 tailFrom, uint64 tailTo, uint64 tailCount) {
    Storage storage = this->storage();
    if (!relocateStorage(storage, m_mode, m_growth, m_allocator, newSize, keep, tailFrom, tailTo, tailCount))
        return false;
    setStorage(storage);
    return true;
}

template <typename T>
bool Array<T>::relocateStorage(Storage& storage, uint32 mode, uint32 growth, const Allocator* allocator,
                               uint64 newSize, uint64 keep, uint64 tailFrom, uint64 tailTo,
                               uint64 tailCount) {
    uint64 newCapacity = storage.capacity;
    if ((mode != ArrayModeGrowOnly || newSize > storage.capacity) &&
        !capacityFor(growth, newSize, &newCapacity))
        return false;
    if (newCapacity == storage.capacity) {
        if (tailFrom != tailTo)
            copyElements(storage.data + tailTo, storage.data + tailFrom, tailCount);
        storage.size = newSize;
        return true;
    }
    if (newCapacity > storage.capacity && storage.data != nullptr &&
        (allocator == nullptr || allocator == defaultAllocator())) {
        growBuiltInStorage(storage, newCapacity, keep, tailFrom, tailTo, tailCount);
        storage.size = newSize;
        return true;
    }
    T* elements = nullptr;
    if (newCapacity != 0) {
        elements = allocateElements(allocator, newCapacity);
        if (elements == nullptr)
            return false;
        copyElements(elements, storage.data, keep < newCapacity ? keep : newCapacity);
        copyElements(elements + tailTo, storage.data + tailFrom, tailCount);
    }
    freeElements(allocator, storage.data, storage.capacity);
    storage.data = elements;
    storage.capacity = newCapacity;
    storage.size = newSize;
    return true;
}

template <typename T>
void Array<T>::growBuiltInStorage(Storage& storage, uint64 newCapacity, uint64 keep, uint64 tailFrom,
                                  uint64 tailTo, uint64 tailCount) {
    const std::size_t bytes =
        newCapacity > SIZE_MAX / sizeof(T) ? SIZE_MAX : static_cast<std::size_t>(newCapacity * sizeof(T));
    T* elements = static_cast<T*>(growMemoryBlock(storage.data, bytes));
    copyElements(elements + tailTo, elements + tailFrom, tailCount);
    if constexpr (std::is_class_v<T>) {
        // As in a new block: every element that is neither kept nor moved is a fresh one.
        for (uint64 i = keep; i < tailTo; ++i)
            ::new (static_cast<void*>(elements + i)) T();
        for (uint64 i = tailTo + tailCount > keep ? tailTo + tailCount : keep; i < newCapacity; ++i)
            ::new (static_cast<void*>(elements + i)) T();
    }
    storage.data = elements;
    storage.capacity = newCapacity;
}

template <typename T>
void Array<T>::setAllocator(const Allocator* allocator) {
    m_allocator = allocator;
}

template <typename T>
void Array<T>::swap(Array& other) {
    std::swap(m_data, other.m_data);
    std::swap(m_size, other.m_size);
    std::swap(m_capacity, other.m_capacity);
    std::swap(m_mode, other.m_mode);
    std::swap(m_growth, other.m_growth);
    std::swap(m_allocator, other.m_allocator);
}

template <typename T>
void Array<T>::assign(const Array& other) {
    if (&other == this)
        return;
    Array::reset();
    if (Array::resize(other.m_size))
        copyElements(m_data, other.m_data, other.m_size);
}

template <typename T>
void Array<T>::reset() {
    if (m_mode != ArrayModeExternal)
        freeElements(m_allocator, m_data, m_capacity);
    m_data = nullptr;
    m_size = 0;
    m_capacity = 0;
    m_mode = ArrayModeOwned;
    m_growth = ArrayGrowthPowerOfTwo;
    m_allocator = defaultAllocator();
}

template <typename T>
bool Array<T>::resize(uint64 newSize, uint64 tailCount, uint64 gapCount) {
    if (refusesResize(m_mode, m_growth))
        return false;
    if (newSize == m_size)
        return true;
    if (newSize < m_size || tailCount == 0)
        return relocate(newSize, m_size, 0, 0, 0);
    uint64 gap = newSize - m_size;
    if (gapCount != 0 && gapCount < gap)
        gap = gapCount;
    const uint64 tail = tailCount < m_size ? tailCount : m_size;
    const uint64 keep = m_size - tail;
    return relocate(newSize, keep, keep, keep + gap, tail);
}

template <typename T>
bool Array<T>::insert(const T* source, uint64 position, uint64 count, bool fromEnd) {
    if (m_mode == ArrayModeExternal || count == 0 || position > m_size || count > UINT64_MAX - m_size)
        return false;
    const uint64 offset = fromEnd ? m_size - position : position;
    T* copy;
    source = detachedSource(source, count, &copy);
    const bool inserted = Array::resize(m_size + count, m_size - offset, count);
    if (inserted && source != nullptr)
        copyElements(m_data + offset, source, count);
    freeMemoryBlock(copy);
    return inserted;
}

template <typename T>
uint64 Array<T>::write(const T* source, uint64 position, uint64 count, bool fromEnd) {
    if (position > m_size || count == 0)
        return 0;
    const uint64 offset = fromEnd ? m_size - position : position;
    T* copy = nullptr;
    if (count > m_size - offset) {
        if (m_mode == ArrayModeExternal) {
            count = m_size - offset;
        } else {
            if (count > UINT64_MAX - offset)
                return 0;
            source = detachedSource(source, count, &copy);
            if (!Array::resize(offset + count)) {
                freeMemoryBlock(copy);
                return 0;
            }
        }
    }
    if (source != nullptr)
        copyElements(m_data + offset, source, count);
    freeMemoryBlock(copy);
    return count;
}

template <typename T>
bool Array<T>::remove(uint64 position, uint64 count, bool fromEnd) {
    if (refusesResize(m_mode, m_growth) || count == 0 || position > m_size)
        return false;
    const uint64 offset = fromEnd ? m_size - position : position;
    if (count > m_size - offset)
        return false;
    return relocate(m_size - count, offset, offset + count, offset, m_size - offset - count);
}

template <typename T>
bool Array<T>::append(const T* source, uint64 count) {
    if (count > UINT64_MAX - m_size)
        return false;
    const uint64 offset = m_size;
    T* copy;
    source = detachedSource(source, count, &copy);
    const bool appended = Array::resize(m_size + count);
    if (appended && source != nullptr)
        copyElements(m_data + offset, source, count);
    freeMemoryBlock(copy);
    return appended;
}

template <typename T>
inline bool Array<T>::pushBack(const T& value) {
    // Most pushes stay within the capacity that the policy keeps: nothing moves.
    const uint64 size = m_size;
    if (keepsStorageAt(size + 1)) [[likely]] {
        m_data[size] = value;
        m_size = size + 1;
        return true;
    }
    Storage storage = this->storage();
    if (!appendGrowing(storage, m_mode, m_growth, m_allocator, value))
        return false;
    setStorage(storage);
    return true;
}

template <typename T>
bool Array<T>::appendGrowing(Storage& storage, uint32 mode, uint32 growth, const Allocator* allocator,
                             T value) {
    if (refusesResize(mode, growth) || storage.size == UINT64_MAX ||
        !relocateStorage(storage, mode, growth, allocator, storage.size + 1, storage.size, 0, 0, 0))
        return false;
    storage.data[storage.size - 1] = value;
    return true;
}

template <typename T>
uint64 Array<T>::popBack(T* destination, uint64 count) {
    const uint64 removed = count < m_size ? count : m_size;
    if (removed == 0 || refusesResize(m_mode, m_growth))
        return 0;
    if (destination != nullptr)
        copyElements(destination, m_data + (m_size - removed), removed);
    return Array::resize(m_size - removed) ? removed : 0;
}

template <typename T>
T Array<T>::popBack() {
    T value{};
    Array::popBack(&value, 1);
    return value;
}

template <typename T>
void Array<T>::setFixed(uint64 size) {
    m_mode = ArrayModeGrowOnly;
    m_size = size < m_capacity ? size : m_capacity;
}

template <typename T>
void Array<T>::attach(T* buffer, uint64 count) {
    if (m_mode != ArrayModeExternal)
        freeElements(m_allocator, m_data, m_capacity);
    m_data = buffer;
    m_size = count;
    m_capacity = count;
    m_mode = ArrayModeExternal;
}

template <typename T>
void Array<T>::adopt(T* buffer, uint64 count) {
    Array::reset();
    m_data = buffer;
    m_size = count;
    m_capacity = count;
}

template <typename T>
void Array<T>::release(T** data, std::size_t* size) {
    if (data != nullptr)
        *data = m_data;
    if (size != nullptr)
        *size = static_cast<std::size_t>(m_size);
    // The caller owns the storage now: reset must not free it.
    m_mode = ArrayModeExternal;
    Array::reset();
}

template <typename T>
bool Array<T>::setMode(uint32 mode, uint32 growth) {
    const auto owned = [](uint32 value) { return value == ArrayModeOwned || value == ArrayModeGrowOnly; };
    if (!owned(m_mode) || !owned(mode))
        return false;
    m_mode = mode;
    m_growth = growth;
    return true;
}

template <typename T>
uint32 Array<T>::getMode() const {
    return m_mode;
}

template <typename T>
uint32 Array<T>::getGrowth() const {
    return m_growth;
}

template <typename T>
T* Array<T>::data() const {
    return m_data;
}

template <typename T>
uint64 Array<T>::size() const {
    return m_size;
}

template <typename T>
bool Array<T>::isEmpty() const {
    return m_size == 0;
}

template <typename T>
uint64 Array<T>::capacity() const {
    return m_capacity;
}

template <typename T>
bool Array<T>::isExternal() const {
    return m_mode == ArrayModeExternal;
}

} // namespace zor
