#pragma once

#include <utility>

namespace zor::test {

/// Owns the one reference of a newly created reference-counted object (a recording double, a
/// path command) for the length of a scope, and releases it at the end.
template <typename Object>
struct Held {
    template <typename... Arguments>
    explicit Held(Arguments&&... arguments) : object(new Object(std::forward<Arguments>(arguments)...)) {}
    ~Held() { object->release(); }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;

    Object* operator->() const { return object; }
    operator Object*() const { return object; }

    Object* object;
};

} // namespace zor::test
