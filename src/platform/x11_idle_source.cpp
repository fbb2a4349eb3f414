#include "platform/x11_idle_source.h"

// After our own headers: Xlib defines macros (Status, Bool, None) that clash with them.
#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

namespace vellix {

struct X11IdleSource::Connection {
    Display* display = nullptr;
    XScreenSaverInfo* info = nullptr;

    ~Connection() {
        if (info) XFree(info);
        if (display) XCloseDisplay(display);
    }
};

X11IdleSource::X11IdleSource(std::unique_ptr<Connection> connection)
    : connection_(std::move(connection)) {
}

X11IdleSource::~X11IdleSource() = default;

Result<std::unique_ptr<X11IdleSource>> X11IdleSource::open(const std::string& displayName) {
    auto connection = std::make_unique<Connection>();
    connection->display = XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str());
    if (!connection->display) {
        return failure("cannot open X display " +
                       (displayName.empty() ? std::string("$DISPLAY") : displayName));
    }
    int eventBase = 0;
    int errorBase = 0;
    if (!XScreenSaverQueryExtension(connection->display, &eventBase, &errorBase)) {
        return failure("the X server has no screen saver extension");
    }
    connection->info = XScreenSaverAllocInfo();
    if (!connection->info) return failure("out of memory for the screen saver info");
    return std::unique_ptr<X11IdleSource>(new X11IdleSource(std::move(connection)));
}

Result<std::int64_t> X11IdleSource::idleMilliseconds() {
    Display* display = connection_->display;
    if (!XScreenSaverQueryInfo(display, DefaultRootWindow(display), connection_->info)) {
        return failure("the X server did not report the idle time");
    }
    return static_cast<std::int64_t>(connection_->info->idle);
}

}  // namespace vellix
