#pragma once
// Decides the idle and active reports from samples of "how long has the user been idle",
// and when to sample next: once, at the moment the threshold could be reached, while the
// user is active; at a coarse rate while idle, to see input resume.

#include <cstdint>
#include <optional>

namespace vellix {

class IdleTracker {
  public:
    static constexpr std::int64_t kIdleCheckMs = 1000;

    struct Step {
        std::optional<int> report;  // ACTIVITY_IDLE or ACTIVITY_ACTIVE, on a transition only
        std::int64_t nextSampleMs;  // >= 1
    };

    explicit IdleTracker(std::int64_t thresholdMs, std::int64_t idleCheckMs = kIdleCheckMs);

    Step sample(std::int64_t idleMs);
    bool idle() const { return idle_; }

  private:
    std::int64_t threshold_;
    std::int64_t idleCheck_;
    std::int64_t last_ = 0;
    bool idle_ = false;
};

}  // namespace vellix
