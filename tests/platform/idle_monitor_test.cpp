#include "platform/idle_monitor.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <vector>

#include "core/messages.h"
#include "support/wait.h"

namespace vellix {
namespace {

using Clock = std::chrono::steady_clock;

// Idle time from a steady clock and a "last input" moment the test moves.
struct FakeIdle {
    Clock::time_point lastInput = Clock::now();
    bool fail = false;
    int queries = 0;
};

class FakeIdleSource final : public IdleSource {
  public:
    explicit FakeIdleSource(std::shared_ptr<FakeIdle> state) : state_(std::move(state)) {}
    Result<std::int64_t> idleMilliseconds() override {
        ++state_->queries;
        if (state_->fail) return failure("idle source gone");
        return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() -
                                                                     state_->lastInput)
            .count();
    }
    std::string name() const override { return "fake"; }

  private:
    std::shared_ptr<FakeIdle> state_;
};

struct Fixture {
    std::shared_ptr<FakeIdle> idle = std::make_shared<FakeIdle>();
    IdleMonitor monitor{std::make_unique<FakeIdleSource>(idle)};
    std::vector<int> reports;
    Status install(std::int64_t thresholdMs, std::vector<int>* into = nullptr) {
        if (!into) into = &reports;
        return monitor.installMilliseconds(
            thresholdMs, [into](int c) { into->push_back(c); }, 20);
    }
    bool reported(std::size_t count) {
        return test::runUntil([&] { return reports.size() >= count; }, 3000);
    }
};

TEST(IdleMonitor, ReportsIdleThenActiveOnceEach) {
    Fixture f;
    ASSERT_TRUE(f.install(150).ok());
    ASSERT_TRUE(f.reported(1));
    test::runFor(100);  // more idle checks: no second report
    EXPECT_EQ(f.reports, std::vector<int>{ACTIVITY_IDLE});

    f.idle->lastInput = Clock::now();
    ASSERT_TRUE(f.reported(2));
    EXPECT_EQ(f.reports, (std::vector<int>{ACTIVITY_IDLE, ACTIVITY_ACTIVE}));

    // Already idle at install, in minutes: reported soon.
    Fixture late;
    late.idle->lastInput = Clock::now() - std::chrono::minutes(20);
    ASSERT_TRUE(late.monitor.install(10, [&](int c) { late.reports.push_back(c); }).ok());
    ASSERT_TRUE(late.reported(1));
    EXPECT_EQ(late.reports, std::vector<int>{ACTIVITY_IDLE});
}

TEST(IdleMonitor, WaitsQuietlyWhileTheUserIsActive) {
    Fixture f;
    ASSERT_TRUE(f.install(10'000).ok());
    const int atInstall = f.idle->queries;
    test::runFor(200);
    EXPECT_EQ(f.idle->queries, atInstall);  // one timer for the whole threshold, no polling
    EXPECT_TRUE(f.reports.empty());
}

TEST(IdleMonitor, RemoveAndReinstall) {
    Fixture f;
    ASSERT_TRUE(f.install(50).ok());
    f.monitor.remove();
    EXPECT_FALSE(f.monitor.installed());
    test::runFor(150);
    EXPECT_TRUE(f.reports.empty());

    // A second install replaces the first one's callback.
    std::vector<int> first;
    ASSERT_TRUE(f.install(50, &first).ok());
    ASSERT_TRUE(f.install(50).ok());
    ASSERT_TRUE(f.reported(1));
    EXPECT_TRUE(first.empty());
}

TEST(IdleMonitor, InstallSaysWhyItCannotWork) {
    IdleMonitor unavailable(Error{"no idle time source: cannot open X display $DISPLAY"});
    auto status = unavailable.install(10, [](int) {});
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error(), "no idle time source: cannot open X display $DISPLAY");
    EXPECT_FALSE(unavailable.installed());

    Fixture f;
    f.idle->fail = true;
    status = f.monitor.install(10, [](int) {});
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error(), "idle source gone");

    f.idle->fail = false;
    for (int minutes : {0, -5}) EXPECT_FALSE(f.monitor.install(minutes, [](int) {}).ok());
    EXPECT_FALSE(f.install(0).ok());
    EXPECT_FALSE(f.monitor.installed());
}

}  // namespace
}  // namespace vellix
