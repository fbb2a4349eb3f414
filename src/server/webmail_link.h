#pragma once
// A webmail page request, handed to the server frame with UM_OPEN_LINK.

#include <array>
#include <cstdint>
#include <string>

#include "core/tray_state.h"

namespace vellix {

struct WebmailLink {
    // Page request: a query fragment with up to three "%s".
    std::string format;
    std::array<std::string, 3> arguments;
    // The display state to set after opening; Keep leaves the tray alone.
    TrayState trayStateAfter = TrayState::Keep;
};

}  // namespace vellix
