#pragma once
// A value or the reason there is none: what an operation that can fail returns.

#include <string>
#include <utility>
#include <variant>

namespace vellix {

struct Error {
    std::string message;
};

template <class T>
class [[nodiscard]] Result {
  public:
    Result(T value) : state_(std::move(value)) {}      // NOLINT: implicit by design
    Result(Error error) : state_(std::move(error)) {}  // NOLINT: implicit by design

    bool ok() const { return std::holds_alternative<T>(state_); }
    explicit operator bool() const { return ok(); }
    const T& value() const& { return std::get<T>(state_); }
    T& value() & { return std::get<T>(state_); }
    T&& value() && { return std::get<T>(std::move(state_)); }
    const T& operator*() const& { return value(); }
    const T* operator->() const { return &value(); }
    const std::string& error() const { return std::get<Error>(state_).message; }
    T valueOr(T fallback) const { return ok() ? value() : std::move(fallback); }

  private:
    std::variant<T, Error> state_;
};

// For operations that return nothing but can fail.
struct Done {};
using Status = Result<Done>;
inline Status success() {
    return Done{};
}
inline Error failure(std::string message) {
    return Error{std::move(message)};
}

}  // namespace vellix
