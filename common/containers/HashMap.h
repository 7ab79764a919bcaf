#pragma once

#include "common/containers/List.h"
#include "common/containers/String.h"

namespace zor {

/// Hash of a key. String: h = h * 101 + byte over the text (32-bit, bytes unsigned);
/// uint8: the value itself. Other key types specialise it where they are defined.
template <typename K>
struct Hash;

template <>
struct Hash<String> {
    uint32 operator()(const String& key) const;
};

template <>
struct Hash<uint8> {
    uint32 operator()(uint8 key) const { return key; }
};

/// Key equality (String: same length and bytes).
template <typename K>
struct EqualTo {
    bool operator()(const K& left, const K& right) const { return left == right; }
};

/// The framework's hash map: entries chained in insertion order and indexed by an array of
/// bucket lists. Starts with 8 buckets and doubles when size + 1 exceeds buckets * 7 / 10.
/// An existing key is never replaced by an insertion.
template <typename K, typename V, typename HashFunction, typename Equal>
class HashMapBase : public RefCountedData {
public:
    struct HashMapEntry {
        K m_first;
        V m_second;
        uint32 m_hash;
        HashMapEntry* prev;
        HashMapEntry* next;
    };

    /// (map, current entry, previous entry), as the List iterator.
    template <bool IsConst>
    class IteratorBase {
    public:
        using MapType = std::conditional_t<IsConst, const HashMapBase, HashMapBase>;
        using EntryReference = std::conditional_t<IsConst, const HashMapEntry&, HashMapEntry&>;

        IteratorBase() = default;
        IteratorBase(MapType* map, HashMapEntry* current, HashMapEntry* previous)
            : m_map(map), m_current(current), m_previous(previous) {}
        template <bool OtherConst, typename = std::enable_if_t<IsConst && !OtherConst>>
        IteratorBase(const IteratorBase<OtherConst>& other)
            : m_map(other.map()), m_current(other.entry()), m_previous(other.previous()) {}

        EntryReference operator*() const { return *m_current; }
        auto* operator->() const { return static_cast<std::conditional_t<IsConst, const HashMapEntry*, HashMapEntry*>>(m_current); }
        IteratorBase& operator++() {
            m_previous = m_current;
            m_current = m_current->next;
            return *this;
        }
        bool operator==(const IteratorBase& other) const {
            return m_map == other.m_map && m_current == other.m_current && m_previous == other.m_previous;
        }
        MapType* map() const { return m_map; }
        HashMapEntry* entry() const { return m_current; }
        HashMapEntry* previous() const { return m_previous; }

    private:
        MapType* m_map = nullptr;
        HashMapEntry* m_current = nullptr;
        HashMapEntry* m_previous = nullptr;
    };
    using Iterator = IteratorBase<false>;
    using ConstIterator = IteratorBase<true>;
    using Bucket = List<HashMapEntry*>;

    HashMapBase();
    HashMapBase(const HashMapBase& other);
    ~HashMapBase();
    HashMapBase& operator=(const HashMapBase& other);

    ZOR_DELETING_DESTRUCTOR(HashMapBase)

    /// Slot 4: the allocator record for entries and buckets.
    virtual void setAllocator(const Allocator* allocator);
    /// Slots 5, 6: the first entry.
    virtual ConstIterator begin() const;
    virtual Iterator begin();
    /// Slots 7, 8.
    virtual ConstIterator end() const;
    virtual Iterator end();
    /// Slot 9.
    virtual bool isEmpty() const;
    /// Slot 10.
    virtual uint64 size() const;
    /// Slots 11, 12: the first entry's value, or a static zero value when empty.
    virtual const V& front() const;
    virtual V& front();
    /// Slots 13, 14: the last entry's value, or the static zero value when empty.
    virtual const V& back() const;
    virtual V& back();
    /// Slot 15: false when the key exists (`*existing` then points at its value).
    virtual bool insertFront(const K& key, const V& value, V** existing = nullptr);
    /// Slot 16.
    virtual void popFront();
    /// Slot 17: false when the key exists (`*existing` then points at its value).
    virtual bool insertBack(const K& key, const V& value, V** existing = nullptr);
    /// Slot 18: before the position (after it with `after`; at end: insertBack).
    virtual bool insert(const K& key, Iterator position, bool after, const V& value, V** existing = nullptr);
    /// Slot 19.
    virtual void popBack();
    /// Slot 20: removes the entry's key.
    virtual void remove(Iterator position);
    /// Slot 21.
    virtual bool remove(const K& key);
    /// Slot 22: from first to last, both included.
    virtual void remove(Iterator first, Iterator last);
    /// Slot 23.
    virtual void swap(HashMapBase& other);
    /// Slot 24: clear, then insertBack of each source entry in iteration order.
    virtual void assign(const HashMapBase& other);
    /// Slot 25.
    virtual void clear();
    /// Slots 26, 27: end when absent.
    virtual Iterator find(const K& key);
    virtual ConstIterator find(const K& key) const;
    /// Slot 28.
    virtual bool contains(const K& key) const;

    uint64 bucketCount() const { return m_bucketCount; }

private:
    HashMapEntry* m_firstEntry;
    HashMapEntry* m_lastEntry;
    uint64 m_size;
    Bucket* m_buckets;
    uint64 m_bucketCount;
    const Allocator* m_allocator;
};

/// The map type used everywhere: HashMapBase with the key's Hash and EqualTo.
template <typename K, typename V>
class HashMap : public HashMapBase<K, V, Hash<K>, EqualTo<K>> {
public:
    using HashMapBase<K, V, Hash<K>, EqualTo<K>>::HashMapBase;
    ZOR_DELETING_DESTRUCTOR(HashMap)
};

} // namespace zor
