#pragma once

#include "common/containers/Chain.h"
#include "common/containers/QualifiedTypeName.h"
#include "common/log/Log.h"
#include "common/memory/RefCountedData.h"

#include <new>
#include <utility>

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

    /// The first node (null when empty), for walking the nodes without iterators.
    Node* headNode() const { return m_head; }

    /// "zor::List<element>::<operation>": how log lines name this instance's operations.
    template <name::FixedText Operation>
    static constexpr const char* functionName = name::Joined<name::Template<name::Text<"zor::List">, T>,
                                                             name::Text<"::">, name::Text<Operation>>::value;

private:
    /// A node holding a copy of `value`; null when a custom allocator has no memory.
    Node* newNode(const T& value);
    void freeNode(Node* node);
    /// Takes a node out of the chain and frees it.
    void unlink(Node* node);
    /// The value front and back return for an empty list.
    static T& zeroValue();

    Node* m_head;
    Node* m_tail;
    const Allocator* m_allocator;
};

template <typename T>
List<T>::List() : m_head(nullptr), m_tail(nullptr), m_allocator(defaultAllocator()) {}

template <typename T>
List<T>::List(const List& other) : List() {
    List::assign(other);
}

template <typename T>
List<T>::~List() {
    List::clear();
}

template <typename T>
List<T>& List<T>::operator=(const List& other) {
    List::assign(other);
    return *this;
}

template <typename T>
typename List<T>::Node* List<T>::newNode(const T& value) {
    void* memory =
        m_allocator != nullptr ? m_allocator->allocate(sizeof(Node)) : allocateMemoryBlock(sizeof(Node));
    if (memory == nullptr)
        return nullptr;
    return ::new (memory) Node{value, nullptr, nullptr};
}

template <typename T>
void List<T>::freeNode(Node* node) {
    node->~Node();
    if (m_allocator != nullptr)
        m_allocator->free(node, sizeof(Node));
    else
        freeMemoryBlock(node);
}

template <typename T>
void List<T>::unlink(Node* node) {
    chain::unlink(m_head, m_tail, node);
    freeNode(node);
}

template <typename T>
T& List<T>::zeroValue() {
    static T zero{};
    return zero;
}

template <typename T>
void List<T>::setAllocator(const Allocator* allocator) {
    m_allocator = allocator;
}

template <typename T>
typename List<T>::ConstIterator List<T>::begin() const {
    return ConstIterator(this, m_head, nullptr);
}

template <typename T>
typename List<T>::Iterator List<T>::begin() {
    return Iterator(this, m_head, nullptr);
}

template <typename T>
typename List<T>::ConstIterator List<T>::end() const {
    return ConstIterator(this, nullptr, chain::last(m_head, m_tail));
}

template <typename T>
typename List<T>::Iterator List<T>::end() {
    return Iterator(this, nullptr, chain::last(m_head, m_tail));
}

template <typename T>
bool List<T>::isEmpty() const {
    return m_head == nullptr;
}

template <typename T>
uint64 List<T>::size() const {
    uint64 count = 0;
    for (const Node* node = m_head; node != nullptr; node = node->next)
        ++count;
    return count;
}

template <typename T>
const T& List<T>::front() const {
    return m_head != nullptr ? m_head->value : zeroValue();
}

template <typename T>
T& List<T>::front() {
    return m_head != nullptr ? m_head->value : zeroValue();
}

template <typename T>
const T& List<T>::back() const {
    const Node* last = chain::last(m_head, m_tail);
    return last != nullptr ? last->value : zeroValue();
}

template <typename T>
T& List<T>::back() {
    Node* last = chain::last(m_head, m_tail);
    return last != nullptr ? last->value : zeroValue();
}

template <typename T>
void List<T>::pushFront(const T& value) {
    if (Node* node = newNode(value))
        chain::linkFront(m_head, m_tail, node);
}

template <typename T>
void List<T>::popFront() {
    if (m_head == nullptr) {
        zor_log(ContainerLogModule<T>::value, false, LogLevelWarn, functionName<"popFront">,
                "Cannot pop further, the list is empty");
        return;
    }
    unlink(m_head);
}

template <typename T>
void List<T>::pushBack(const T& value) {
    if (Node* node = newNode(value))
        chain::linkBack(m_head, m_tail, node);
}

template <typename T>
void List<T>::popBack() {
    if (m_head == nullptr) {
        zor_log(ContainerLogModule<T>::value, false, LogLevelWarn, functionName<"popBack">,
                "Cannot pop further, the list is empty");
        return;
    }
    unlink(chain::last(m_head, m_tail));
}

template <typename T>
void List<T>::insert(Iterator position, bool after, const T& value) {
    Node* next = position.node();
    if (after && next != nullptr)
        next = next->next;
    if (next == nullptr) {
        List::pushBack(value);
        return;
    }
    if (Node* node = newNode(value))
        chain::linkBefore(m_head, m_tail, next, node);
}

template <typename T>
void List<T>::remove(Iterator position) {
    if (m_head == nullptr)
        return;
    if (position.node() == nullptr) {
        zor_log(ContainerLogModule<T>::value, false, LogLevelWarn, functionName<"remove">,
                "Unable to remove NULL entry from the list");
        return;
    }
    unlink(position.node());
}

template <typename T>
void List<T>::remove(Iterator first, Iterator last) {
    Node* node = first.node();
    if (node == nullptr) {
        List::remove(first);
        return;
    }
    while (node != nullptr) {
        Node* next = node->next;
        const bool isLast = node == last.node();
        unlink(node);
        if (isLast)
            break;
        node = next;
    }
}

template <typename T>
void List<T>::swap(List& other) {
    std::swap(m_head, other.m_head);
    std::swap(m_tail, other.m_tail);
    std::swap(m_allocator, other.m_allocator);
}

template <typename T>
void List<T>::assign(const List& other) {
    if (&other == this)
        return;
    List::clear();
    for (const Node* node = other.m_head; node != nullptr; node = node->next)
        List::pushBack(node->value);
}

template <typename T>
void List<T>::clear() {
    Node* node = m_head;
    while (node != nullptr) {
        Node* next = node->next;
        freeNode(node);
        node = next;
    }
    m_head = nullptr;
    m_tail = nullptr;
}

} // namespace zor
