#pragma once

namespace zor::chain {

// The doubly linked chains of the containers (List nodes, map entries): `head` is the first
// node and `tail` the last, except that the tail stays null while the chain holds zero or one
// node. Nodes carry `prev` and `next`.

/// The last node: the tail, or the head when there is no tail.
template <typename Node>
Node* last(Node* head, Node* tail) {
    return tail != nullptr ? tail : head;
}

/// Links `node` in first.
template <typename Node>
void linkFront(Node*& head, Node*& tail, Node* node) {
    if (head != nullptr) {
        node->next = head;
        head->prev = node;
        if (tail == nullptr)
            tail = head;
    }
    head = node;
}

/// Links `node` in last.
template <typename Node>
void linkBack(Node*& head, Node*& tail, Node* node) {
    if (head == nullptr) {
        head = node;
        return;
    }
    Node* previous = last(head, tail);
    node->prev = previous;
    previous->next = node;
    tail = node;
}

/// Links `node` in before `position`, a node of the chain.
template <typename Node>
void linkBefore(Node*& head, Node*& tail, Node* position, Node* node) {
    if (position == head) {
        linkFront(head, tail, node);
        return;
    }
    node->prev = position->prev;
    node->next = position;
    position->prev->next = node;
    position->prev = node;
}

/// Takes `node` out of the chain; its own links are left as they were.
template <typename Node>
void unlink(Node*& head, Node*& tail, Node* node) {
    if (node == head)
        head = node->next;
    if (node == tail)
        tail = node->prev;
    if (head == tail)
        tail = nullptr;
    if (node->prev != nullptr)
        node->prev->next = node->next;
    if (node->next != nullptr)
        node->next->prev = node->prev;
}

} // namespace zor::chain
