#pragma once
// A step of a frame's work that may wait without blocking the frame's thread. A pause
// inside it (`co_await frame.pauseFor(...)`) suspends the step and a frame timer resumes
// it, so the frame keeps handling messages, a quit among them, while the step waits.
// Steps are lazy: nothing runs until a frame starts or awaits them. Frame thread only.

#include <coroutine>
#include <exception>
#include <optional>
#include <utility>

namespace vellix {

template <class T>
class FrameTask;

namespace frame_task_detail {

// When a step ends, the step that awaited it goes on; a step nobody awaits just stops.
struct ResumeAwaiter {
    bool await_ready() const noexcept { return false; }
    template <class Promise>
    std::coroutine_handle<> await_suspend(std::coroutine_handle<Promise> done) const noexcept {
        const std::coroutine_handle<> next = done.promise().awaiter;
        return next ? next : std::noop_coroutine();
    }
    void await_resume() const noexcept {}
};

struct PromiseBase {
    std::coroutine_handle<> awaiter;
    std::suspend_always initial_suspend() const noexcept { return {}; }
    ResumeAwaiter final_suspend() const noexcept { return {}; }
    // Frame handlers do not throw; an escaping exception is a bug to stop at.
    [[noreturn]] void unhandled_exception() const noexcept { std::terminate(); }
};

template <class T>
struct Promise : PromiseBase {
    std::optional<T> value;
    FrameTask<T> get_return_object() noexcept;
    void return_value(T result) { value.emplace(std::move(result)); }
};

template <>
struct Promise<void> : PromiseBase {
    FrameTask<void> get_return_object() noexcept;
    void return_void() const noexcept {}
};

}  // namespace frame_task_detail

template <class T = void>
class [[nodiscard]] FrameTask {
  public:
    using promise_type = frame_task_detail::Promise<T>;
    using Handle = std::coroutine_handle<promise_type>;

    FrameTask() = default;
    explicit FrameTask(Handle handle) noexcept : handle_(handle) {}
    FrameTask(FrameTask&& other) noexcept : handle_(std::exchange(other.handle_, {})) {}
    FrameTask& operator=(FrameTask&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, {});
        }
        return *this;
    }
    FrameTask(const FrameTask&) = delete;
    FrameTask& operator=(const FrameTask&) = delete;
    // Destroying a waiting step destroys the steps it awaits: a quit drops the rest of a flow.
    ~FrameTask() { reset(); }

    bool valid() const { return static_cast<bool>(handle_); }
    bool done() const { return !handle_ || handle_.done(); }
    // Runs a step nobody awaits until its first pause or its end.
    void start() {
        if (handle_ && !handle_.done()) handle_.resume();
    }
    void reset() {
        if (handle_) std::exchange(handle_, {}).destroy();
    }

    bool await_ready() const noexcept { return false; }
    std::coroutine_handle<> await_suspend(std::coroutine_handle<> awaiter) noexcept {
        handle_.promise().awaiter = awaiter;
        return handle_;
    }
    T await_resume() {
        if constexpr (!std::is_void_v<T>) return std::move(*handle_.promise().value);
    }

  private:
    Handle handle_;
};

namespace frame_task_detail {

template <class T>
FrameTask<T> Promise<T>::get_return_object() noexcept {
    return FrameTask<T>(std::coroutine_handle<Promise<T>>::from_promise(*this));
}

inline FrameTask<void> Promise<void>::get_return_object() noexcept {
    return FrameTask<void>(std::coroutine_handle<Promise<void>>::from_promise(*this));
}

}  // namespace frame_task_detail

}  // namespace vellix
