#pragma once

#include "common/containers/QualifiedTypeName.h"
#include "common/memory/RefCountedData.h"

namespace zor {

/// The framework's doubly linked list. It keeps no element count: `size` walks the nodes.
/// `m_tail` is null while the list holds zero or one element (the single node is `m_head`).
template <typename T>
class List : public RefCountedData {
public:
    struct Node {
        T value;
        Node* prev;
        Node* next;
    };

    /// (container, current node, previous node); `end` carries the last node as previous.
    template <bool IsConst>
    class IteratorBase {
    public:
        using ListType = std::conditional_t<IsConst, const List, List>;
        using Reference = std::conditional_t<IsConst, const T&, T&>;

        IteratorBase() = default;
        IteratorBase(ListType* list, Node* current, Node* previous)
            : m_list(list), m_current(current), m_previous(previous) {}
        /// A mutable iterator converts to a constant one.
        template <bool OtherConst, typename = std::enable_if_t<IsConst && !OtherConst>>
        IteratorBase(const IteratorBase<OtherConst>& other)
            : m_list(other.list()), m_current(other.node()), m_previous(other.previous()) {}

        Reference operator*() const { return m_current->value; }
        auto* operator->() const { return &m_current->value; }
        IteratorBase& operator++() {
            m_previous = m_current;
            m_current = m_current->next;
            return *this;
        }
        bool operator==(const IteratorBase& other) const {
            return m_list == other.m_list && m_current == other.m_current && m_previous == other.m_previous;
        }
        ListType* list() const { return m_list; }
        Node* node() const { return m_current; }
        Node* previous() const { return m_previous; }

    private:
        ListType* m_list = nullptr;
        Node* m_current = nullptr;
        Node* m_previous = nullptr;
    };
    using Iterator = IteratorBase<false>;
    using ConstIterator = IteratorBase<true>;

    List();
    List(const List& other);
    ~List();
    List& operator=(const List& other);

    ZOR_DELETING_DESTRUCTOR(List)

    /// Slot 4: the allocator record for nodes; null means memory blocks.
    virtual void setAllocator(const Allocator* allocator);
    /// Slots 5, 6.
    virtual ConstIterator begin() const;
    virtual Iterator begin();
    /// Slots 7, 8.
    virtual ConstIterator end() const;
    virtual Iterator end();
    /// Slot 9.
    virtual bool isEmpty() const;
    /// Slot 10: counts the nodes.
    virtual uint64 size() const;
    /// Slots 11, 12: the head's value, or a static zero value when empty.
    virtual const T& front() const;
    virtual T& front();
    /// Slots 13, 14: the last value, or the static zero value when empty.
    virtual const T& back() const;
    virtual T& back();
    /// Slot 15.
    virtual void pushFront(const T& value);
    /// Slot 16: on an empty list logs "Cannot pop further, the list is empty".
    virtual void popFront();
    /// Slot 17.
    virtual void pushBack(const T& value);
    /// Slot 18: on an empty list logs "Cannot pop further, the list is empty".
    virtual void popBack();
    /// Slot 19: inserts before the position (after it with `after`; at end: pushBack).
    virtual void insert(Iterator position, bool after, const T& value);
    /// Slot 20: a null current node logs "Unable to remove NULL entry from the list".
    virtual void remove(Iterator position);
    /// Slot 21: removes from first to last, both included.
    virtual void remove(Iterator first, Iterator last);
    /// Slot 22.
    virtual void swap(List& other);
    /// Slot 23: clear, then pushBack of each source element in order.
    virtual void assign(const List& other);
    /// Slot 24: destroys every node.
    virtual void clear();

private:
    Node* newNode(const T& value);
    void freeNode(Node* node);

    Node* m_head;
    Node* m_tail;
    const Allocator* m_allocator;
};

} // namespace zor
