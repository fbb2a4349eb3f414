#pragma once
// The server frame's hold on the event receiver: starts one when messaging is on and the
// user is not Offline, never two at once, and stops it on the frame's terms.

#include <functional>
#include <memory>

#include "core/clock.h"
#include "server/event_receiver.h"

namespace vellix {

// How long the owner waits for a stopped receiver before it lets it go.
inline constexpr Milliseconds kReceiverStopWait{60000};
// The pause after a start, so the first long poll is on its way before the next request.
inline constexpr Milliseconds kReceiverStartPause{500};

class ReceiverSlot {
  public:
    // `mayRun` says whether messaging is on and the user's status is not Offline.
    ReceiverSlot(EventReceiverFactory factory, std::function<bool()> mayRun, const Clock& clock);
    ~ReceiverSlot();

    // Does nothing while a receiver runs or when it may not run; an ended one is dropped.
    // True when it made a receiver: the owner then pauses kReceiverStartPause.
    [[nodiscard]] bool start();
    // Stops the receiver and waits for it (at most kReceiverStopWait), then drops it.
    void stopAndWait();
    // Stops it without waiting (program exit).
    void stopNow();
    bool running() const;
    // When the current receiver was made.
    std::chrono::steady_clock::time_point startedAt() const { return startedAt_; }

  private:
    EventReceiverFactory factory_;
    std::function<bool()> mayRun_;
    const Clock& clock_;
    std::unique_ptr<EventReceiver> receiver_;
    std::chrono::steady_clock::time_point startedAt_{};
};

}  // namespace vellix
