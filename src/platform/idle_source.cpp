#include "platform/idle_source.h"

#include <cstdlib>

#include "platform/dbus_idle_source.h"
#include "platform/x11_idle_source.h"

namespace vellix {
namespace {

bool hasEnvironment(const char* name) {
    const char* value = std::getenv(name);  // NOLINT(concurrency-mt-unsafe)
    return value && *value;
}

}  // namespace

Result<std::unique_ptr<IdleSource>> openDesktopIdleSource() {
    std::string tried;
    // Under Wayland the X server only sees input to X clients: ask the compositor first.
    const bool wayland = hasEnvironment("WAYLAND_DISPLAY");
    if (!wayland && hasEnvironment("DISPLAY")) {
        auto x11 = X11IdleSource::open();
        if (x11) return std::unique_ptr<IdleSource>(std::move(x11).value());
        tried = x11.error();
    }
    auto dbus = DBusIdleSource::open();
    if (dbus) return std::unique_ptr<IdleSource>(std::move(dbus).value());
    tried += (tried.empty() ? "" : "; ") + dbus.error();
    if (wayland && hasEnvironment("DISPLAY")) {
        auto x11 = X11IdleSource::open();
        if (x11) return std::unique_ptr<IdleSource>(std::move(x11).value());
        tried += "; " + x11.error();
    }
    return failure("no idle time source: " + tried);
}

}  // namespace vellix
