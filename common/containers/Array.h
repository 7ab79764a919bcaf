#pragma once

#include "common/memory/RefCountedData.h"

namespace zor {

/// Storage modes of an Array.
enum ArrayMode : uint32 {
    ArrayModeExternal = 0,   ///< a buffer the array does not own: never resized or freed
    ArrayModeOwned = 1,      ///< owned; the capacity follows every size change
    ArrayModeGrowOnly = 6,   ///< owned; the capacity only grows, when the size exceeds it
};

/// Growth policies; the top four bits select the rule.
enum ArrayGrowth : uint32 {
    ArrayGrowthDouble = 0x10000000,      ///< capacity = 2 x size
    ArrayGrowthPowerOfTwo = 0x20000000,  ///< smallest power of two strictly above the size
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
    T* m_data;
    uint64 m_size;
    uint64 m_capacity;
    uint32 m_mode;
    uint32 m_growth;
    const Allocator* m_allocator;
};

} // namespace zor
