#pragma once

#include <cassert>
#include <type_traits>
#include <utility>
#include <variant>

// A value or the error that prevented it: the shape of C++23's std::expected,
// which the clang 14 used for fuzzing cannot compile from libstdc++ 12.
// Expected<void, E> holds nothing on success.
template <typename E>
class Unexpected {
 public:
  explicit Unexpected(E error) : m_error(std::move(error)) {}
  E& error() & { return m_error; }
  E&& error() && { return std::move(m_error); }

 private:
  E m_error;
};

template <typename E>
Unexpected(E) -> Unexpected<E>;

template <typename T, typename E>
class [[nodiscard]] Expected {
 public:
  Expected(T value) : m_state(std::in_place_index<0>, std::move(value)) {}  // NOLINT: implicit
  template <typename G>
  Expected(Unexpected<G> error)  // NOLINT: implicit, as std::expected
      : m_state(std::in_place_index<1>, std::move(error).error()) {}
  // From a result of a lower layer, whose error this one's wraps.
  template <typename G>
  requires(!std::is_same_v<E, G> && std::is_constructible_v<E, const G&>)
      Expected(const Expected<T, G>& other)  // NOLINT: implicit, as std::expected
      : m_state(other ? State(std::in_place_index<0>, *other)
                      : State(std::in_place_index<1>, E(other.error()))) {}
  template <typename G>
  requires(!std::is_same_v<E, G> && std::is_constructible_v<E, const G&>)
      Expected(Expected<T, G>&& other)  // NOLINT: implicit, as std::expected
      : m_state(other ? State(std::in_place_index<0>, std::move(*other))
                      : State(std::in_place_index<1>, E(other.error()))) {}

  bool has_value() const { return m_state.index() == 0; }
  explicit operator bool() const { return has_value(); }

  T& value() & { return checkedValue(); }
  const T& value() const& { return const_cast<Expected*>(this)->checkedValue(); }
  T&& value() && { return std::move(checkedValue()); }
  T& operator*() & { return checkedValue(); }
  const T& operator*() const& { return value(); }
  T* operator->() { return &checkedValue(); }
  const T* operator->() const { return &value(); }

  const E& error() const& {
    assert(!has_value());
    return std::get<1>(m_state);
  }
  E&& error() && {
    assert(!has_value());
    return std::move(std::get<1>(m_state));
  }

 private:
  T& checkedValue() {
    assert(has_value());
    return std::get<0>(m_state);
  }

  using State = std::variant<T, E>;
  State m_state;
};

template <typename E>
class [[nodiscard]] Expected<void, E> {
 public:
  Expected() = default;
  template <typename G>
  Expected(Unexpected<G> error)  // NOLINT: implicit, as std::expected
      : m_error(std::move(error).error()), m_failed(true) {}
  // From a result of a lower layer, whose error this one's wraps.
  template <typename G>
  requires(!std::is_same_v<E, G> && std::is_constructible_v<E, const G&>)
      Expected(const Expected<void, G>& other)  // NOLINT: implicit, as std::expected
      : m_failed(!other) {
    if (!other) m_error = E(other.error());
  }

  bool has_value() const { return !m_failed; }
  explicit operator bool() const { return has_value(); }

  const E& error() const& {
    assert(m_failed);
    return m_error;
  }

 private:
  E m_error{};
  bool m_failed = false;
};
