#pragma once
// Where the idle monitor learns how long the user has been idle.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/result.h"

namespace vellix {

class IdleSource {
  public:
    virtual ~IdleSource() = default;
    // Milliseconds since the user's last keyboard or pointer input.
    virtual Result<std::int64_t> idleMilliseconds() = 0;
    virtual std::string name() const = 0;

    // Sources that can wake the monitor themselves: call `resumed` once, later, on this
    // thread, when the idle time falls below `belowMs` (input after idleness). False when
    // the source cannot; the monitor then samples at a coarse rate.
    virtual bool watchResume(std::int64_t belowMs, std::function<void()> resumed) {
        (void)belowMs;
        (void)resumed;
        return false;
    }
    virtual void cancelWatch() {}
};

// The desktop's source: the X server's screen-saver extension on X11 (unless this is a
// Wayland session), else the D-Bus idle interfaces; an error naming what was tried when
// none answers.
Result<std::unique_ptr<IdleSource>> openDesktopIdleSource();

}  // namespace vellix
