#include "server/backoff_schedule.h"

#include <gtest/gtest.h>

#include <set>

namespace vellix {
namespace {

std::vector<long long> waits(BackoffSchedule& schedule, int count) {
    std::vector<long long> out;
    for (int i = 0; i < count; ++i) out.push_back(schedule.next().count());
    return out;
}

TEST(BackoffScheduleTest, DoublesUpToTheCapWithTheJitterTakenOff) {
    struct Case {
        const char* name;
        BackoffSteps steps;
        double random;
        std::vector<long long> expected;
    };
    const Case cases[] = {
        {"no jitter drawn", kReconnectSteps, 0.0, {5000, 10000, 20000, 30000, 30000}},
        {"half the jitter drawn", kReconnectSteps, 0.5, {4375, 8750, 17500, 26250, 26250}},
        {"cap below the first wait",
         {Milliseconds(5000), Milliseconds(2000), 0.5},
         0.0,
         {2000, 2000}},
        {"session loop", kSessionLoopSteps, 0.0, {1000, 2000, 4000, 8000, 16000, 32000, 60000}},
    };
    for (const auto& c : cases) {
        BackoffSchedule schedule(c.steps, [&c] { return c.random; });
        EXPECT_EQ(waits(schedule, static_cast<int>(c.expected.size())), c.expected) << c.name;
    }
}

TEST(BackoffScheduleTest, ResetStartsOverAndALowerCapHoldsAtOnce) {
    BackoffSchedule schedule(kReconnectSteps, [] { return 0.0; });
    (void)waits(schedule, 40);  // far past any doubling limit: no overflow
    EXPECT_EQ(schedule.next(), Milliseconds(30000));
    schedule.reset();
    EXPECT_EQ(schedule.failures(), 0);
    schedule.setCap(Milliseconds(8000));
    EXPECT_EQ(waits(schedule, 3), (std::vector<long long>{5000, 8000, 8000}));
}

TEST(BackoffScheduleTest, RandomJitterStaysWithinItsShareAndSpreadsClients) {
    BackoffSchedule schedule(kReconnectSteps);
    std::set<long long> seen;
    for (int i = 0; i < 500; ++i) {
        schedule.reset();
        const long long wait = schedule.next().count();
        EXPECT_GE(wait, 3750);
        EXPECT_LE(wait, 5000);
        seen.insert(wait);
    }
    EXPECT_GT(seen.size(), 50u);
}

}  // namespace
}  // namespace vellix
