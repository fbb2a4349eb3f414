#pragma once
// A value shared between threads, reached only through copies and updates under its lock.

#include <mutex>
#include <utility>

namespace vellix {

template <class T>
class Guarded {
  public:
    Guarded() = default;
    explicit Guarded(T value) : value_(std::move(value)) {}

    T get() const {
        std::lock_guard lock(mutex_);
        return value_;
    }
    void set(T value) {
        std::lock_guard lock(mutex_);
        value_ = std::move(value);
    }
    // Runs fn(T&) under the lock and returns what it returns.
    template <class Fn>
    auto update(Fn&& fn) {
        std::lock_guard lock(mutex_);
        return std::forward<Fn>(fn)(value_);
    }
    template <class Fn>
    auto read(Fn&& fn) const {
        std::lock_guard lock(mutex_);
        return std::forward<Fn>(fn)(std::as_const(value_));
    }

  private:
    mutable std::mutex mutex_;
    T value_{};
};

}  // namespace vellix
