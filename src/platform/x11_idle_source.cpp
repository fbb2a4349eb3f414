#include "platform/x11_idle_source.h"

#include <QSocketNotifier>
#include <QTimer>

#include <cstring>
#include <mutex>
#include <set>
#include <utility>

// After our own headers: Xlib defines macros (Status, Bool, None) that clash with them.
#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>
#include <X11/extensions/sync.h>

namespace vellix {
namespace {

// Xlib's default error handler ends the process. Errors on our own connections (an alarm
// the server refused) are ignored; others go to whatever handler was there before.
std::mutex gDisplaysMutex;
std::set<Display*> gDisplays;
XErrorHandler gPreviousHandler = nullptr;

int onXError(Display* display, XErrorEvent* event) {
    {
        std::lock_guard lock(gDisplaysMutex);
        if (gDisplays.contains(display)) return 0;
    }
    return gPreviousHandler ? gPreviousHandler(display, event) : 0;
}

void watchErrors(Display* display) {
    std::lock_guard lock(gDisplaysMutex);
    if (gDisplays.empty()) {
        XErrorHandler previous = XSetErrorHandler(onXError);
        if (previous != onXError) gPreviousHandler = previous;
    }
    gDisplays.insert(display);
}

void unwatchErrors(Display* display) {
    std::lock_guard lock(gDisplaysMutex);
    gDisplays.erase(display);
}

}  // namespace

struct X11IdleSource::Connection {
    Display* display = nullptr;
    XScreenSaverInfo* info = nullptr;
    // SYNC: the server's idle counter, and the alarm that waits for input.
    bool sync = false;
    int syncEventBase = 0;
    XSyncCounter idleCounter = 0;
    XSyncAlarm alarm = 0;
    std::function<void()> resumed;
    std::unique_ptr<QSocketNotifier> notifier;

    void destroyAlarm() {
        if (alarm) XSyncDestroyAlarm(display, alarm);
        alarm = 0;
        resumed = nullptr;
    }

    ~Connection() {
        notifier.reset();
        if (display) destroyAlarm();
        if (info) XFree(info);
        if (display) {
            XCloseDisplay(display);
            unwatchErrors(display);
        }
    }
};

namespace {

// The IDLETIME system counter, when the server has the SYNC extension.
bool findIdleCounter(Display* display, int& eventBase, XSyncCounter& counter) {
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (!XSyncQueryExtension(display, &eventBase, &errorBase)) return false;
    if (!XSyncInitialize(display, &major, &minor)) return false;
    int count = 0;
    XSyncSystemCounter* counters = XSyncListSystemCounters(display, &count);
    bool found = false;
    for (int i = 0; i < count && !found; ++i) {
        if (std::strcmp(counters[i].name, "IDLETIME") == 0) {
            counter = counters[i].counter;
            found = true;
        }
    }
    if (counters) XSyncFreeSystemCounterList(counters);
    return found;
}

}  // namespace

X11IdleSource::X11IdleSource(std::unique_ptr<Connection> connection)
    : connection_(std::move(connection)) {
    if (!connection_->sync) return;
    connection_->notifier = std::make_unique<QSocketNotifier>(
        ConnectionNumber(connection_->display), QSocketNotifier::Read);
    QObject::connect(connection_->notifier.get(), &QSocketNotifier::activated,
                     connection_->notifier.get(), [this] { readEvents(); });
}

X11IdleSource::~X11IdleSource() = default;

Result<std::unique_ptr<X11IdleSource>> X11IdleSource::open(const std::string& displayName) {
    auto connection = std::make_unique<Connection>();
    connection->display = XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str());
    if (!connection->display) {
        return failure("cannot open X display " +
                       (displayName.empty() ? std::string("$DISPLAY") : displayName));
    }
    watchErrors(connection->display);
    int eventBase = 0;
    int errorBase = 0;
    if (!XScreenSaverQueryExtension(connection->display, &eventBase, &errorBase)) {
        return failure("the X server has no screen saver extension");
    }
    connection->info = XScreenSaverAllocInfo();
    if (!connection->info) return failure("out of memory for the screen saver info");
    connection->sync =
        findIdleCounter(connection->display, connection->syncEventBase, connection->idleCounter);
    return std::unique_ptr<X11IdleSource>(new X11IdleSource(std::move(connection)));
}

Result<std::int64_t> X11IdleSource::idleMilliseconds() {
    Display* display = connection_->display;
    const bool ok = XScreenSaverQueryInfo(display, DefaultRootWindow(display), connection_->info);
    // A round trip may have queued the alarm's event without leaving the socket readable.
    if (connection_->alarm && XPending(display) > 0) {
        QTimer::singleShot(0, connection_->notifier.get(), [this] { readEvents(); });
    }
    if (!ok) return failure("the X server did not report the idle time");
    return static_cast<std::int64_t>(connection_->info->idle);
}

bool X11IdleSource::watchResume(std::int64_t belowMs, std::function<void()> resumed) {
    Connection& c = *connection_;
    if (!c.sync) return false;
    c.destroyAlarm();
    XSyncAlarmAttributes attributes{};
    attributes.trigger.counter = c.idleCounter;
    attributes.trigger.value_type = XSyncAbsolute;
    attributes.trigger.test_type = XSyncNegativeTransition;
    XSyncIntsToValue(&attributes.trigger.wait_value,
                     static_cast<unsigned int>(belowMs & 0xFFFFFFFF),
                     static_cast<int>(belowMs >> 32));
    XSyncIntToValue(&attributes.delta, 0);
    const unsigned long flags =
        XSyncCACounter | XSyncCAValueType | XSyncCATestType | XSyncCAValue | XSyncCADelta;
    c.alarm = XSyncCreateAlarm(c.display, flags, &attributes);
    if (!c.alarm) return false;
    c.resumed = std::move(resumed);
    // Input between the last sample and the alarm's creation made no transition to see.
    auto idle = idleMilliseconds();
    if (idle && *idle < belowMs) {
        QTimer::singleShot(0, c.notifier.get(), [this] {
            if (auto call = std::exchange(connection_->resumed, nullptr)) {
                connection_->destroyAlarm();
                call();
            }
        });
    }
    return true;
}

void X11IdleSource::cancelWatch() {
    connection_->destroyAlarm();
    XFlush(connection_->display);
}

void X11IdleSource::readEvents() {
    Connection& c = *connection_;
    bool fired = false;
    while (XPending(c.display) > 0) {
        XEvent event;
        XNextEvent(c.display, &event);
        if (event.type != c.syncEventBase + XSyncAlarmNotify) continue;
        const auto* notify = reinterpret_cast<XSyncAlarmNotifyEvent*>(&event);
        fired = fired || (c.alarm && notify->alarm == c.alarm);
    }
    if (!fired) return;
    auto call = std::exchange(c.resumed, nullptr);
    c.destroyAlarm();
    if (call) call();
}

}  // namespace vellix
