#pragma once

#include <utility>
#include <variant>

// A value or the reason there is none; the small stand-in for std::expected until the toolchain has it.
template <typename E>
struct Unexpected {
    // A constructor rather than an aggregate, so that `Unexpected(x)` deduces on every compiler we use.
    explicit Unexpected(E failure)
        : error(std::move(failure))
    {
    }
    E error;
};

template <typename E>
Unexpected(E) -> Unexpected<E>;

template <typename T, typename E>
class [[nodiscard]] Expected {
public:
    Expected(T value)
        : m_state(std::in_place_index<0>, std::move(value))
    {
    }
    Expected(Unexpected<E> failure)
        : m_state(std::in_place_index<1>, std::move(failure.error))
    {
    }

    [[nodiscard]] bool hasValue() const { return m_state.index() == 0; }
    explicit operator bool() const { return hasValue(); }

    [[nodiscard]] T& operator*() { return std::get<0>(m_state); }
    [[nodiscard]] const T& operator*() const { return std::get<0>(m_state); }
    [[nodiscard]] T* operator->() { return &std::get<0>(m_state); }
    [[nodiscard]] const T* operator->() const { return &std::get<0>(m_state); }
    [[nodiscard]] const E& error() const { return std::get<1>(m_state); }

private:
    std::variant<T, E> m_state;
};
