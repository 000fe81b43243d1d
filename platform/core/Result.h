#pragma once
// A value or the reason there is none.
//
// The platform layer reports failures as values, not exceptions: a caller
// that maps every failure to a BOOL or a small code (as the system's
// operations do) reads the reason only when it wants to say more.
// std::expected arrives with C++23; this is the part of it we need.

#include <optional>
#include <type_traits>
#include <utility>
#include <variant>

namespace platform {

template <typename T, typename E>
class [[nodiscard]] Result {
    static_assert(!std::is_same_v<T, E>, "a value and an error of one type cannot be told apart");

public:
    Result(T value) : m_state(std::in_place_index<0>, std::move(value)) {}
    Result(E error) : m_state(std::in_place_index<1>, std::move(error)) {}

    bool HasValue() const { return m_state.index() == 0; }
    explicit operator bool() const { return HasValue(); }

    // Precondition for each: HasValue() (resp. !HasValue()); std::get
    // throws std::bad_variant_access otherwise.
    T& Value() & { return std::get<0>(m_state); }
    const T& Value() const& { return std::get<0>(m_state); }
    T&& Value() && { return std::get<0>(std::move(m_state)); }
    const E& Error() const { return std::get<1>(m_state); }

    T& operator*() & { return Value(); }
    const T& operator*() const& { return Value(); }
    T* operator->() { return &Value(); }
    const T* operator->() const { return &Value(); }

private:
    std::variant<T, E> m_state;
};

// Success without a value.
template <typename E>
class [[nodiscard]] Result<void, E> {
public:
    Result() = default;
    Result(E error) : m_error(std::move(error)) {}

    bool HasValue() const { return !m_error.has_value(); }
    explicit operator bool() const { return HasValue(); }
    const E& Error() const { return *m_error; }

private:
    std::optional<E> m_error;
};

} // namespace platform
