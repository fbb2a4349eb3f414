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
    constexpr std::int64_t M = kMinute;
    constexpr int I = ACTIVITY_IDLE, A = ACTIVITY_ACTIVE;
    std::vector<std::int64_t> everyMinute;
    for (std::int64_t t = M; t <= 60 * M; t += M) everyMinute.push_back(t);
    struct Case {
        const char* name;
        std::int64_t threshold;
        std::vector<std::int64_t> inputs;
        std::int64_t end;
        std::vector<std::pair<std::int64_t, int>> reports;  // (time, code)
        int maxSamples;  // while active: one per threshold period, not one per second
    } cases[] = {
        {"no input", 10 * M, {}, 30 * M, {{10 * M, I}}, 2000},
        {"back after a while",
         10 * M,
         {12 * M + 500},
         30 * M,
         {{10 * M, I}, {12 * M + 1000, A}, {22 * M + 500, I}},
         2000},
        {"input just before the threshold", 10 * M, {10 * M - 1}, 25 * M, {{20 * M - 1, I}}, 1000},
        {"busy user", 10 * M, everyMinute, 60 * M, {}, 7},
        {"two breaks",
         M,
         {90'000, 90'400, 200'000},
         300'000,
         {{60'000, I}, {90'000, A}, {150'400, I}, {200'400, A}, {260'000, I}},
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
