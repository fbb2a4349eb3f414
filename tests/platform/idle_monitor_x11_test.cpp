// The idle monitor against a real X server: a private Xvfb, synthetic input through the
// XTest extension.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/messages.h"
#include "platform/idle_monitor.h"
#include "platform/x11_idle_source.h"
#include "support/wait.h"
#include "support/xvfb_server.h"

// Last: Xlib's macros clash with names above.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace vellix {
namespace {

// Moves the pointer on `display` as a user would.
bool fakeInput(const std::string& display) {
    Display* connection = XOpenDisplay(display.c_str());
    if (!connection) return false;
    static int x = 0;
    x = (x + 7) % 100;
    XTestFakeMotionEvent(connection, -1, x, 10, CurrentTime);
    XSync(connection, False);
    XCloseDisplay(connection);
    return true;
}

TEST(IdleMonitorX11, IdleAndInputOnARealServer) {
    test::XvfbServer xvfb;
    if (xvfb.display().empty()) GTEST_SKIP() << xvfb.why();

    auto source = X11IdleSource::open(xvfb.display());
    ASSERT_TRUE(source.ok()) << source.error();
    ASSERT_TRUE(fakeInput(xvfb.display()));
    auto idle = source.value()->idleMilliseconds();
    ASSERT_TRUE(idle.ok()) << idle.error();
    EXPECT_LT(*idle, 5000);

    IdleMonitor monitor(std::move(source).value());
    std::vector<int> reports;
    ASSERT_TRUE(monitor
                    .installMilliseconds(
                        300, [&](int c) { reports.push_back(c); }, 50)
                    .ok());
    ASSERT_TRUE(test::runUntil([&] { return !reports.empty(); }, 10'000));
    EXPECT_EQ(reports, std::vector<int>{ACTIVITY_IDLE});

    // Idle: the server's SYNC alarm will wake the monitor, it does not sample meanwhile.
    const auto samplesWhileIdle = monitor.samples();
    test::runFor(400);
    EXPECT_EQ(monitor.samples(), samplesWhileIdle);

    ASSERT_TRUE(fakeInput(xvfb.display()));
    ASSERT_TRUE(test::runUntil([&] { return reports.size() >= 2; }, 10'000));
    EXPECT_EQ(reports[1], ACTIVITY_ACTIVE);

    // And idle again once the input stops.
    ASSERT_TRUE(test::runUntil([&] { return reports.size() >= 3; }, 10'000));
    EXPECT_EQ(reports, (std::vector<int>{ACTIVITY_IDLE, ACTIVITY_ACTIVE, ACTIVITY_IDLE}));
}

TEST(IdleMonitorX11, NoServerIsAnError) {
    auto source = X11IdleSource::open(":65000");
    ASSERT_FALSE(source.ok());
    EXPECT_NE(source.error().find(":65000"), std::string::npos);
}

}  // namespace
}  // namespace vellix
