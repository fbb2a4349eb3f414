#include "server/backoff_schedule.h"

#include <gtest/gtest.h>

#include <set>

namespace vellix {
namespace {

TEST(BackoffScheduleTest, DoublesUpToTheCapTakesTheJitterOffAndStartsOverOnReset) {
    struct Case {
        BackoffSteps steps;
        double random;
        std::vector<long long> expected;
    };
    const Case cases[] = {
        {kReconnectSteps, 0.0, {5000, 10000, 20000, 30000, 30000}},
        {kReconnectSteps, 0.5, {4375, 8750, 17500, 26250, 26250}},
        {{Milliseconds(5000), Milliseconds(2000), 0.5}, 0.0, {2000, 2000}},
        {kSessionLoopSteps, 0.0, {1000, 2000, 4000, 8000, 16000, 32000, 60000, 60000}},
    };
    for (const auto& c : cases) {
        BackoffSchedule schedule(c.steps, [&c] { return c.random; });
        for (int round = 0; round < 2; ++round) {  // the same again after a reset
            std::vector<long long> waits;
            for (std::size_t i = 0; i < c.expected.size(); ++i)
                waits.push_back(schedule.next().count());
            EXPECT_EQ(waits, c.expected) << c.random;
            for (int i = 0; i < 60; ++i) (void)schedule.next();  // no overflow past the cap
            EXPECT_EQ(schedule.next().count(), c.expected.back());
            schedule.reset();
        }
    }
}

TEST(BackoffScheduleTest, RandomJitterStaysWithinItsShareAndSpreadsClients) {
    BackoffSchedule schedule(kReconnectSteps);
    std::set<long long> seen;
    for (int i = 0; i < 500; ++i) {
        schedule.reset();
        seen.insert(schedule.next().count());
    }
    EXPECT_GE(*seen.begin(), 3750);
    EXPECT_LE(*seen.rbegin(), 5000);
    EXPECT_GT(seen.size(), 50u);
}

}  // namespace
}  // namespace vellix
