#pragma once
// The long-poll event receiver as the server frame sees it. Its thread starts when the
// object is made and ends by itself on failures or when told to stop.

#include <functional>
#include <memory>

#include "core/clock.h"

namespace vellix {

class EventReceiver {
  public:
    // A receiver whose thread still runs when it is destroyed is left to end on its own.
    virtual ~EventReceiver() = default;
    virtual bool running() const = 0;
    // Sets the stop request and closes the receiver's session, which ends a waiting long
    // poll at once; returns without waiting.
    virtual void stop() = 0;
    // False when the thread still runs after `timeout` (real time).
    virtual bool waitEnded(Milliseconds timeout) = 0;
};

// Makes a receiver and starts its thread.
using EventReceiverFactory = std::function<std::unique_ptr<EventReceiver>()>;

}  // namespace vellix
