#pragma once
// A frame: an object living on one thread that handles numbered messages and fixed-id
// timers. Other threads talk to it only by post (queued) and send (waits for the result).

#include <QObject>

#include <coroutine>
#include <cstdint>
#include <deque>
#include <future>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "core/clock.h"
#include "core/frame_task.h"
#include "core/messages.h"

class QTimer;

namespace vellix {

using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;

// An owned object carried by a message; it belongs to the receiver afterwards.
struct Payload {
    virtual ~Payload() = default;
};

template <class T>
struct PayloadOf final : Payload {
    explicit PayloadOf(T v) : value(std::move(v)) {}
    T value;
};

template <class T>
std::unique_ptr<Payload> makePayload(T value) {
    return std::make_unique<PayloadOf<T>>(std::move(value));
}

struct Message {
    MessageId id = 0;
    WParam w = 0;
    LParam l = 0;
    std::unique_ptr<Payload> payload;

    // The payload as T, moved out; nothing when there is none or it is of another type.
    template <class T>
    std::optional<T> take() {
        auto* typed = dynamic_cast<PayloadOf<T>*>(payload.get());
        if (!typed) return std::nullopt;
        std::optional<T> out(std::move(typed->value));
        payload.reset();
        return out;
    }
};

class Frame : public QObject {
    Q_OBJECT
  public:
    Frame(std::string title, const Clock& clock);
    ~Frame() override;

    const std::string& title() const { return title_; }

    // Queues a message; safe from any thread while the frame exists (the registry keeps
    // senders from reaching a frame that is going away).
    void post(MessageId id, WParam w = 0, LParam l = 0, std::unique_ptr<Payload> payload = nullptr);
    // Runs the handler on the frame's thread and returns its result: a direct call on the
    // frame's own thread, otherwise it waits. 0 when the frame ends before handling it.
    LResult send(MessageId id, WParam w = 0, LParam l = 0,
                 std::unique_ptr<Payload> payload = nullptr);

    // The cross-thread half of send: queues the message and returns the future result.
    std::future<LResult> enqueueSend(MessageId id, WParam w, LParam l,
                                     std::unique_ptr<Payload> payload);
    // Waits for a sent message's result; 0 when the frame ended before answering.
    static LResult waitFor(std::future<LResult>& result);

    // Starts or restarts the timer with a fixed identifier; the period is nominal and
    // scaled by the clock. Callable from any thread.
    void setTimer(int id, Milliseconds period);
    void killTimer(int id);
    // On the frame's own thread.
    bool hasTimer(int id) const;

  protected:
    // The message handler. The default answers UM_QUIT_THREAD by ending the frame's loop.
    virtual LResult handleMessage(Message& message);
    virtual void onTimer(int id);
    // Ends the event loop of the frame's thread.
    void quitThread();
    // Runs on the posting thread as UM_QUIT_THREAD is queued, so that a frame blocked in a
    // long call (a request) can cut it short and handle the quit at once. Thread-safe.
    virtual void quitPosted() {}
    const Clock& clock() const { return clock_; }

    // Runs a step of work that may pause. While a step waits, the frame's messages and
    // timers are held and handled in their order once it ends; only UM_QUIT_THREAD is
    // handled at once, and it drops the rest of the step. A step started while another
    // runs follows it.
    void runStep(FrameTask<> step);
    bool stepRunning() const { return step_.valid(); }

    // `co_await pauseFor(...)` inside a step: the frame's loop goes on, a timer resumes it.
    class PauseAwaiter {
      public:
        PauseAwaiter(Frame& frame, Milliseconds nominal) : frame_(frame), nominal_(nominal) {}
        bool await_ready() const noexcept { return false; }
        void await_suspend(std::coroutine_handle<> waiting) {
            frame_.resumeAfter(nominal_, waiting);
        }
        void await_resume() const noexcept {}

      private:
        Frame& frame_;
        Milliseconds nominal_;
    };
    PauseAwaiter pauseFor(Milliseconds nominal) { return {*this, nominal}; }

    bool event(QEvent* event) override;

  private:
    void startTimerHere(int id, Milliseconds period);
    void stopTimerHere(int id);
    void timerFired(int id);
    void resumeAfter(Milliseconds nominal, std::coroutine_handle<> waiting);
    void advanceSteps();

    // A message or timer that came while a step waited.
    struct Held {
        Message message;
        std::optional<std::promise<LResult>> result;  // a sent message's answer
        std::optional<int> timerId;
    };

    std::string title_;
    const Clock& clock_;
    std::map<int, QTimer*> timers_;
    // Set once the loop is told to end: messages still queued are dropped, not handled.
    bool quitting_ = false;

    FrameTask<> step_;
    std::deque<FrameTask<>> nextSteps_;
    std::deque<Held> held_;
    std::coroutine_handle<> paused_;
    QTimer* pauseTimer_ = nullptr;
    bool advancing_ = false;
};

}  // namespace vellix
