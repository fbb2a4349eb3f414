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

TEST(IdleTracker, SampleSequences) {
    struct Sample {
        std::int64_t idleMs;
        std::optional<int> report;
        std::int64_t next;
    };
    struct Case {
        const char* name;
        std::vector<Sample> samples;
    };
    const std::optional<int> none;
    const Case cases[] = {
        {"waits exactly until the threshold", {{0, none, 1000}, {400, none, 600}}},
        {"idle once, then coarse checks",
         {{1000, ACTIVITY_IDLE, 100}, {1100, none, 100}, {5000, none, 100}}},
        {"a smaller idle time means input",
         {{1500, ACTIVITY_IDLE, 100}, {50, ACTIVITY_ACTIVE, 950}, {700, none, 300}}},
        {"input and a new idle stretch between checks",
         {{5000, ACTIVITY_IDLE, 100}, {4000, ACTIVITY_ACTIVE, 1}, {4001, ACTIVITY_IDLE, 100}}},
        {"equal idle time is no input", {{1000, ACTIVITY_IDLE, 100}, {1000, none, 100}}},
        {"negative samples count as zero", {{-20, none, 1000}, {1200, ACTIVITY_IDLE, 100}}},
        {"far past the threshold at the first sample", {{10 * kMinute, ACTIVITY_IDLE, 100}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        IdleTracker tracker(1000, 100);
        for (const auto& s : c.samples) {
            const auto step = tracker.sample(s.idleMs);
            EXPECT_EQ(step.report, s.report) << "idle " << s.idleMs;
            EXPECT_EQ(step.nextSampleMs, s.next) << "idle " << s.idleMs;
            EXPECT_EQ(tracker.idle(), s.report ? *s.report == ACTIVITY_IDLE : tracker.idle());
        }
    }
}

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
    };
    std::vector<std::int64_t> everyMinute;
    for (std::int64_t t = kMinute; t <= 60 * kMinute; t += kMinute) everyMinute.push_back(t);
    const Case cases[] = {
        {"no input", 10 * kMinute, {}, 30 * kMinute, {{10 * kMinute, ACTIVITY_IDLE}}},
        {"back after a while",
         10 * kMinute,
         {12 * kMinute + 500},
         30 * kMinute,
         {{10 * kMinute, ACTIVITY_IDLE},
          {12 * kMinute + 1000, ACTIVITY_ACTIVE},
          {22 * kMinute + 500, ACTIVITY_IDLE}}},
        {"input just before the threshold",
         10 * kMinute,
         {10 * kMinute - 1},
         25 * kMinute,
         {{20 * kMinute - 1, ACTIVITY_IDLE}}},
        {"busy user", 10 * kMinute, everyMinute, 60 * kMinute, {}},
        {"two breaks",
         kMinute,
         {90'000, 90'400, 200'000},
         300'000,
         {{60'000, ACTIVITY_IDLE},
          {90'000, ACTIVITY_ACTIVE},
          {150'400, ACTIVITY_IDLE},
          {200'400, ACTIVITY_ACTIVE},
          {260'000, ACTIVITY_IDLE}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(simulate(c.threshold, c.inputs, c.end).reports, c.reports);
    }
}

TEST(IdleTracker, SamplesRarelyWhileTheUserIsActive) {
    // An hour of input every minute with a 10-minute threshold: one sample per threshold
    // period, not one per second.
    std::vector<std::int64_t> inputs;
    for (std::int64_t t = kMinute; t <= 60 * kMinute; t += kMinute) inputs.push_back(t);
    const auto timeline = simulate(10 * kMinute, inputs, 60 * kMinute);
    EXPECT_TRUE(timeline.reports.empty());
    EXPECT_LE(timeline.samples, 7);
}

}  // namespace
}  // namespace vellix
