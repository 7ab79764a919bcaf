#pragma once

#include "common/containers/Chain.h"
#include "common/containers/List.h"
#include "common/containers/String.h"

#include <new>
#include <utility>

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

        /// How log lines spell this entry type.
        static constexpr const char* qualifiedTypeName =
            name::Joined<name::Template<name::Text<"struct zor::HashMapBase">, K, V, HashFunction, Equal>,
                         name::Text<"::HashMapEntry">>::value;
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
        auto* operator->() const {
            return static_cast<std::conditional_t<IsConst, const HashMapEntry*, HashMapEntry*>>(m_current);
        }
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
    /// The entry holding `key` (whose hash is `hash`), or null.
    HashMapEntry* findEntry(const K& key, uint32 hash) const;
    /// The three insertions: a new entry linked first, last, or before `before` (when not null).
    bool insertEntry(const K& key, const V& value, V** existing, bool atFront, HashMapEntry* before);
    /// Unlinks an entry from the chain and its bucket and frees it; the last one frees the buckets.
    void eraseEntry(HashMapEntry* entry);
    /// A bucket array of `count` empty lists (null when a custom allocator has no memory).
    Bucket* createBuckets(uint64 count) const;
    void destroyBuckets(Bucket* buckets, uint64 count) const;
    /// Doubles the bucket array and re-buckets every entry in chain order.
    void grow();
    Bucket& bucketOf(uint32 hash) const { return m_buckets[hash & (m_bucketCount - 1)]; }
    void* allocateBlock(std::size_t size) const;
    void freeBlock(void* pointer, std::size_t size) const;
    /// The value front and back return for an empty map.
    static V& zeroValue();

    HashMapEntry* m_firstEntry;
    HashMapEntry* m_lastEntry;
    uint64 m_size;
    Bucket* m_buckets;
    uint64 m_bucketCount;
    const Allocator* m_allocator;
};

// Bucket counts are always 8 times a power of two, so a mask gives the remainder.
template <typename K, typename V, typename H, typename E>
HashMapBase<K, V, H, E>::HashMapBase()
    : m_firstEntry(nullptr), m_lastEntry(nullptr), m_size(0), m_buckets(nullptr), m_bucketCount(0),
      m_allocator(defaultAllocator()) {}

template <typename K, typename V, typename H, typename E>
HashMapBase<K, V, H, E>::HashMapBase(const HashMapBase& other) : HashMapBase() {
    HashMapBase::assign(other);
}

template <typename K, typename V, typename H, typename E>
HashMapBase<K, V, H, E>::~HashMapBase() {
    HashMapBase::clear();
}

template <typename K, typename V, typename H, typename E>
HashMapBase<K, V, H, E>& HashMapBase<K, V, H, E>::operator=(const HashMapBase& other) {
    HashMapBase::assign(other);
    return *this;
}

template <typename K, typename V, typename H, typename E>
void* HashMapBase<K, V, H, E>::allocateBlock(std::size_t size) const {
    return m_allocator != nullptr ? m_allocator->allocate(size) : allocateMemoryBlock(size);
}

template <typename K, typename V, typename H, typename E>
void HashMapBase<K, V, H, E>::freeBlock(void* pointer, std::size_t size) const {
    if (m_allocator != nullptr)
        m_allocator->free(pointer, size);
    else
        freeMemoryBlock(pointer);
}

template <typename K, typename V, typename H, typename E>
V& HashMapBase<K, V, H, E>::zeroValue() {
    static V zero{};
    return zero;
}

template <typename K, typename V, typename H, typename E>
typename HashMapBase<K, V, H, E>::Bucket* HashMapBase<K, V, H, E>::createBuckets(uint64 count) const {
    auto* buckets = static_cast<Bucket*>(allocateBlock(count * sizeof(Bucket)));
    if (buckets == nullptr)
        return nullptr;
    for (uint64 i = 0; i < count; ++i) {
        Bucket* bucket = ::new (buckets + i) Bucket();
        bucket->Bucket::setAllocator(m_allocator);
    }
    return buckets;
}

template <typename K, typename V, typename H, typename E>
void HashMapBase<K, V, H, E>::destroyBuckets(Bucket* buckets, uint64 count) const {
    if (buckets == nullptr)
        return;
    for (uint64 i = 0; i < count; ++i)
        buckets[i].Bucket::~Bucket();
    freeBlock(buckets, count * sizeof(Bucket));
}

template <typename K, typename V, typename H, typename E>
void HashMapBase<K, V, H, E>::grow() {
    const uint64 count = m_bucketCount * 2;
    Bucket* buckets = createBuckets(count);
    if (buckets == nullptr)
        return;
    destroyBuckets(m_buckets, m_bucketCount);
    m_buckets = buckets;
    m_bucketCount = count;
    for (HashMapEntry* entry = m_firstEntry; entry != nullptr; entry = entry->next)
        bucketOf(entry->m_hash).Bucket::pushBack(entry);
}

template <typename K, typename V, typename H, typename E>
typename HashMapBase<K, V, H, E>::HashMapEntry* HashMapBase<K, V, H, E>::findEntry(const K& key,
                                                                                   uint32 hash) const {
    if (m_bucketCount == 0)
        return nullptr;
    const E equal{};
    for (auto* node = bucketOf(hash).headNode(); node != nullptr; node = node->next) {
        HashMapEntry* entry = node->value;
        if (entry->m_hash == hash && equal(entry->m_first, key))
            return entry;
    }
    return nullptr;
}

template <typename K, typename V, typename H, typename E>
bool HashMapBase<K, V, H, E>::insertEntry(const K& key, const V& value, V** existing, bool atFront,
                                          HashMapEntry* before) {
    const uint32 hash = H{}(key);
    if (m_size == 0) {
        if (m_buckets == nullptr) {
            m_buckets = createBuckets(8);
            if (m_buckets == nullptr)
                return false;
            m_bucketCount = 8;
        }
    } else if (HashMapEntry* found = findEntry(key, hash)) {
        if (existing != nullptr)
            *existing = &found->m_second;
        return false;
    }
    if (m_size + 1 > m_bucketCount * 7 / 10)
        grow();

    void* memory = allocateBlock(sizeof(HashMapEntry));
    if (memory == nullptr) {
        if (m_size == 0) {
            destroyBuckets(m_buckets, m_bucketCount);
            m_buckets = nullptr;
            m_bucketCount = 0;
        }
        return false;
    }
    auto* entry = ::new (memory) HashMapEntry{key, value, hash, nullptr, nullptr};

    if (atFront)
        chain::linkFront(m_firstEntry, m_lastEntry, entry);
    else if (before != nullptr)
        chain::linkBefore(m_firstEntry, m_lastEntry, before, entry);
    else
        chain::linkBack(m_firstEntry, m_lastEntry, entry);
    bucketOf(hash).Bucket::pushBack(entry);
    ++m_size;
    return true;
}

template <typename K, typename V, typename H, typename E>
void HashMapBase<K, V, H, E>::eraseEntry(HashMapEntry* entry) {
    Bucket& bucket = bucketOf(entry->m_hash);
    for (auto* node = bucket.headNode(); node != nullptr; node = node->next) {
        if (node->value == entry) {
            bucket.Bucket::remove(typename Bucket::Iterator(&bucket, node, node->prev));
            break;
        }
    }

    chain::unlink(m_firstEntry, m_lastEntry, entry);
    --m_size;
    entry->~HashMapEntry();
    freeBlock(entry, sizeof(HashMapEntry));

    if (m_size == 0) {
        destroyBuckets(m_buckets, m_bucketCount);
        m_buckets = nullptr;
        m_bucketCount = 0;
    }
}

template <typename K, typename V, typename H, typename E>
void HashMapBase<K, V, H, E>::setAllocator(const Allocator* allocator) {
    m_allocator = allocator;
}

template <typename K, typename V, typename H, typename E>
typename HashMapBase<K, V, H, E>::ConstIterator HashMapBase<K, V, H, E>::begin() const {
    return ConstIterator(this, m_firstEntry, nullptr);
}

template <typename K, typename V, typename H, typename E>
typename HashMapBase<K, V, H, E>::Iterator HashMapBase<K, V, H, E>::begin() {
    return Iterator(this, m_firstEntry, nullptr);
}

template <typename K, typename V, typename H, typename E>
typename HashMapBase<K, V, H, E>::ConstIterator HashMapBase<K, V, H, E>::end() const {
    return ConstIterator(this, nullptr, chain::last(m_firstEntry, m_lastEntry));
}

template <typename K, typename V, typename H, typename E>
typename HashMapBase<K, V, H, E>::Iterator HashMapBase<K, V, H, E>::end() {
    return Iterator(this, nullptr, chain::last(m_firstEntry, m_lastEntry));
}

template <typename K, typename V, typename H, typename E>
bool HashMapBase<K, V, H, E>::isEmpty() const {
    return m_size == 0;
}

template <typename K, typename V, typename H, typename E>
uint64 HashMapBase<K, V, H, E>::size() const {
    return m_size;
}

template <typename K, typename V, typename H, typename E>
const V& HashMapBase<K, V, H, E>::front() const {
    return m_firstEntry != nullptr ? m_firstEntry->m_second : zeroValue();
}

template <typename K, typename V, typename H, typename E>
V& HashMapBase<K, V, H, E>::front() {
    return m_firstEntry != nullptr ? m_firstEntry->m_second : zeroValue();
}

template <typename K, typename V, typename H, typename E>
const V& HashMapBase<K, V, H, E>::back() const {
    const HashMapEntry* last = chain::last(m_firstEntry, m_lastEntry);
    return last != nullptr ? last->m_second : zeroValue();
}

template <typename K, typename V, typename H, typename E>
V& HashMapBase<K, V, H, E>::back() {
    HashMapEntry* last = chain::last(m_firstEntry, m_lastEntry);
    return last != nullptr ? last->m_second : zeroValue();
}

template <typename K, typename V, typename H, typename E>
bool HashMapBase<K, V, H, E>::insertFront(const K& key, const V& value, V** existing) {
    return insertEntry(key, value, existing, true, nullptr);
}

template <typename K, typename V, typename H, typename E>
void HashMapBase<K, V, H, E>::popFront() {
    if (m_firstEntry != nullptr)
        eraseEntry(m_firstEntry);
}

template <typename K, typename V, typename H, typename E>
bool HashMapBase<K, V, H, E>::insertBack(const K& key, const V& value, V** existing) {
    return insertEntry(key, value, existing, false, nullptr);
}

template <typename K, typename V, typename H, typename E>
bool HashMapBase<K, V, H, E>::insert(const K& key, Iterator position, bool after, const V& value,
                                     V** existing) {
    HashMapEntry* before = position.entry();
    if (after && before != nullptr)
        before = before->next;
    return insertEntry(key, value, existing, false, before);
}

template <typename K, typename V, typename H, typename E>
void HashMapBase<K, V, H, E>::popBack() {
    if (m_firstEntry != nullptr)
        eraseEntry(chain::last(m_firstEntry, m_lastEntry));
}

template <typename K, typename V, typename H, typename E>
void HashMapBase<K, V, H, E>::remove(Iterator position) {
    if (position.entry() != nullptr)
        eraseEntry(position.entry());
}

template <typename K, typename V, typename H, typename E>
bool HashMapBase<K, V, H, E>::remove(const K& key) {
    if (m_size == 0)
        return false;
    HashMapEntry* entry = findEntry(key, H{}(key));
    if (entry == nullptr)
        return false;
    eraseEntry(entry);
    return true;
}

template <typename K, typename V, typename H, typename E>
void HashMapBase<K, V, H, E>::remove(Iterator first, Iterator last) {
    HashMapEntry* entry = first.entry();
    while (entry != nullptr) {
        HashMapEntry* next = entry->next;
        const bool isLast = entry == last.entry();
        eraseEntry(entry);
        if (isLast)
            break;
        entry = next;
    }
}

template <typename K, typename V, typename H, typename E>
void HashMapBase<K, V, H, E>::swap(HashMapBase& other) {
    std::swap(m_firstEntry, other.m_firstEntry);
    std::swap(m_lastEntry, other.m_lastEntry);
    std::swap(m_size, other.m_size);
    std::swap(m_buckets, other.m_buckets);
    std::swap(m_bucketCount, other.m_bucketCount);
    std::swap(m_allocator, other.m_allocator);
}

template <typename K, typename V, typename H, typename E>
void HashMapBase<K, V, H, E>::assign(const HashMapBase& other) {
    if (&other == this)
        return;
    HashMapBase::clear();
    for (const HashMapEntry* entry = other.m_firstEntry; entry != nullptr; entry = entry->next)
        HashMapBase::insertBack(entry->m_first, entry->m_second);
}

template <typename K, typename V, typename H, typename E>
void HashMapBase<K, V, H, E>::clear() {
    HashMapEntry* entry = m_firstEntry;
    while (entry != nullptr) {
        HashMapEntry* next = entry->next;
        entry->~HashMapEntry();
        freeBlock(entry, sizeof(HashMapEntry));
        entry = next;
    }
    destroyBuckets(m_buckets, m_bucketCount);
    m_firstEntry = nullptr;
    m_lastEntry = nullptr;
    m_size = 0;
    m_buckets = nullptr;
    m_bucketCount = 0;
}

template <typename K, typename V, typename H, typename E>
typename HashMapBase<K, V, H, E>::Iterator HashMapBase<K, V, H, E>::find(const K& key) {
    HashMapEntry* entry = findEntry(key, H{}(key));
    return entry != nullptr ? Iterator(this, entry, entry->prev) : HashMapBase::end();
}

template <typename K, typename V, typename H, typename E>
typename HashMapBase<K, V, H, E>::ConstIterator HashMapBase<K, V, H, E>::find(const K& key) const {
    HashMapEntry* entry = findEntry(key, H{}(key));
    return entry != nullptr ? ConstIterator(this, entry, entry->prev) : HashMapBase::end();
}

template <typename K, typename V, typename H, typename E>
bool HashMapBase<K, V, H, E>::contains(const K& key) const {
    return findEntry(key, H{}(key)) != nullptr;
}

/// The map type used everywhere: HashMapBase with the key's Hash and EqualTo.
template <typename K, typename V>
class HashMap : public HashMapBase<K, V, Hash<K>, EqualTo<K>> {
public:
    using HashMapBase<K, V, Hash<K>, EqualTo<K>>::HashMapBase;
    ZOR_DELETING_DESTRUCTOR(HashMap)
};

} // namespace zor
