#pragma once
// Where the idle monitor learns how long the user has been idle.

#include <cstdint>
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
};

// The desktop's source: the X server's screen-saver extension on X11 (unless this is a
// Wayland session), else the D-Bus idle interfaces; an error naming what was tried when
// none answers.
Result<std::unique_ptr<IdleSource>> openDesktopIdleSource();

}  // namespace vellix
