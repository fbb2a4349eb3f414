#include "platform/idle_tracker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/messages.h"

namespace vellix {
namespace {

constexpr std::int64_t kMinute = 60'000;

// Drives a tracker the way the monitor does, on a fake clock: sample when it asks, with
// the idle time that the input times give.
struct Timeline {
    std::vector<std::pair<std::int64_t, int>> reports;  // (time, code)
    int samples = 0;
};

Timeline simulate(std::int64_t thresholdMs, std::vector<std::int64_t> inputs, std::int64_t endMs) {
    IdleTracker tracker(thresholdMs);
    Timeline timeline;
    std::int64_t now = 0;
    while (now <= endMs) {
        std::int64_t lastInput = 0;
        for (auto t : inputs) {
            if (t <= now) lastInput = std::max(lastInput, t);
        }
        const auto step = tracker.sample(now - lastInput);
        ++timeline.samples;
        if (step.report) timeline.reports.emplace_back(now, *step.report);
        now += step.nextSampleMs;
    }
    return timeline;
}

TEST(IdleTracker, TimelinesOnAFakeClock) {
    using Reports = std::vector<std::pair<std::int64_t, int>>;
    struct Case {
        const char* name;
        std::int64_t threshold;
        std::vector<std::int64_t> inputs;
        std::int64_t end;
        Reports reports;
        int maxSamples;  // while active: one per threshold period, not one per second
    };
    std::vector<std::int64_t> everyMinute;
    for (std::int64_t t = kMinute; t <= 60 * kMinute; t += kMinute) everyMinute.push_back(t);
    const Case cases[] = {
        {"no input", 10 * kMinute, {}, 30 * kMinute, {{10 * kMinute, ACTIVITY_IDLE}}, 2000},
        {"back after a while",
         10 * kMinute,
         {12 * kMinute + 500},
         30 * kMinute,
         {{10 * kMinute, ACTIVITY_IDLE},
          {12 * kMinute + 1000, ACTIVITY_ACTIVE},
          {22 * kMinute + 500, ACTIVITY_IDLE}},
         2000},
        {"input just before the threshold",
         10 * kMinute,
         {10 * kMinute - 1},
         25 * kMinute,
         {{20 * kMinute - 1, ACTIVITY_IDLE}},
         1000},
        {"busy user", 10 * kMinute, everyMinute, 60 * kMinute, {}, 7},
        {"two breaks",
         kMinute,
         {90'000, 90'400, 200'000},
         300'000,
         {{60'000, ACTIVITY_IDLE},
          {90'000, ACTIVITY_ACTIVE},
          {150'400, ACTIVITY_IDLE},
          {200'400, ACTIVITY_ACTIVE},
          {260'000, ACTIVITY_IDLE}},
         200},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto timeline = simulate(c.threshold, c.inputs, c.end);
        EXPECT_EQ(timeline.reports, c.reports);
        EXPECT_LE(timeline.samples, c.maxSamples);
    }
}

}  // namespace
}  // namespace vellix
