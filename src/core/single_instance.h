#pragma once
// The single-instance rule: one running Vellix per user. A later start hands "/stop" and
// "/mailto:" over to the running one and ends.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/clock.h"
#include "core/frame.h"
#include "core/result.h"

namespace vellix {

class SingleInstance {
  public:
    virtual ~SingleInstance() = default;

    // True when this process is now the one instance; false when another holds it.
    virtual bool acquire(Milliseconds timeout) = 0;

    // A later instance's hand-overs. Both report whether a running instance was reached.
    virtual bool postToRunning(MessageId id, WParam w, LParam l) = 0;
    // The running instance's answer, or nothing when none was reached.
    virtual std::optional<bool> copyDataToRunning(std::uint32_t kind, std::string_view data) = 0;

    // The running instance: accepts hand-overs and gives each to the handler, on the thread
    // that calls listen (which must run an event loop). The handler's result answers a
    // WM_COPYDATA.
    using HandOverHandler = std::function<LResult(Message&)>;
    virtual Status listen(HandOverHandler handler) = 0;
    virtual void stopListening() = 0;
};

// The text of a WM_COPYDATA hand-over, as the receiver sees it.
struct CopyData {
    std::uint32_t kind = 0;
    std::string data;
};

}  // namespace vellix
