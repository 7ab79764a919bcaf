#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>

namespace zor::test {

/// The slot of a virtual member function in its class's table of virtual operations, read from
/// the pointer-to-member representation (Itanium C++ ABI, used by GCC and MinGW: the first word
/// of a pointer to a virtual function is 1 + the byte offset of its slot). Returns SIZE_MAX for
/// a non-virtual function. Overloads are chosen with a cast or `slotOf<Signature>`.
template <typename MemberFunction>
std::size_t vtableSlot(MemberFunction function) {
    static_assert(sizeof(MemberFunction) == 2 * sizeof(std::uintptr_t), "Itanium pointer to member");
    std::uintptr_t words[2];
    std::memcpy(words, &function, sizeof words);
    if ((words[0] & 1u) == 0)
        return SIZE_MAX;
    return (words[0] - 1u) / sizeof(void*);
}

/// An operation's name and the slot read for it.
struct NamedSlot {
    const char* name;
    std::size_t slot;
};

/// A slot read for an operation and the slot it must have.
struct ExpectedSlot {
    NamedSlot read;
    std::size_t expected;
};

/// Expects each operation at its own slot.
inline void expectSlots(std::initializer_list<ExpectedSlot> slots) {
    for (const ExpectedSlot& slot : slots)
        EXPECT_EQ(slot.read.slot, slot.expected) << slot.read.name;
}

/// Expects the operations of a table, listed in slot order, at consecutive slots from `first`.
template <std::size_t N>
void expectSlotsInOrder(const NamedSlot (&slots)[N], std::size_t first = 0) {
    for (std::size_t i = 0; i < N; ++i)
        EXPECT_EQ(slots[i].slot, first + i) << slots[i].name;
}

} // namespace zor::test

/// Slot of an overloaded operation: ZOR_SLOT_OF(Class, ReturnType, (Arguments) const, name).
#define ZOR_SLOT_OF(Class, Return, Signature, name)                                                          \
    ::zor::test::vtableSlot(static_cast<Return(Class::*) Signature>(&Class::name))

/// A NamedSlot entry for `expectSlotsInOrder`; the _OF form picks an overload.
#define ZOR_NAMED_SLOT(Class, name) ::zor::test::NamedSlot(#name, ::zor::test::vtableSlot(&Class::name))
/// An ExpectedSlot entry for `expectSlots`: operation `name` of `Class` at `slot`.
#define ZOR_SLOT_AT(Class, name, slot)                                                                       \
    ::zor::test::ExpectedSlot {                                                                              \
        ZOR_NAMED_SLOT(Class, name), slot                                                                    \
    }
#define ZOR_NAMED_SLOT_OF(Class, Return, Signature, name)                                                    \
    ::zor::test::NamedSlot(#name #Signature, ZOR_SLOT_OF(Class, Return, Signature, name))
