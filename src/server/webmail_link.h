#pragma once
// A webmail page request, handed to the server frame with UM_OPEN_LINK.

#include <array>
#include <cstdint>
#include <string>

namespace vellix {

struct WebmailLink {
    // Page request: a query fragment with up to three "%s".
    std::string format;
    std::array<std::string, 3> arguments;
    // 0 leaves the tray alone; otherwise the display state to set after opening.
    std::int32_t trayStateAfter = 0;
};

}  // namespace vellix
