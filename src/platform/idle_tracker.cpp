#include "platform/idle_tracker.h"

#include <algorithm>

#include "core/messages.h"

namespace vellix {

IdleTracker::IdleTracker(std::int64_t thresholdMs, std::int64_t idleCheckMs)
    : threshold_(std::max<std::int64_t>(thresholdMs, 1)),
      idleCheck_(std::max<std::int64_t>(idleCheckMs, 1)) {
}

IdleTracker::Step IdleTracker::sample(std::int64_t idleMs) {
    idleMs = std::max<std::int64_t>(idleMs, 0);
    Step step{std::nullopt, 1};
    if (!idle_ && idleMs >= threshold_) {
        idle_ = true;
        step.report = ACTIVITY_IDLE;
    } else if (idle_ && (idleMs < last_ || idleMs < threshold_)) {
        // The idle time only grows without input: a smaller one means the user was back.
        idle_ = false;
        step.report = ACTIVITY_ACTIVE;
    }
    last_ = idleMs;
    step.nextSampleMs = idle_ ? idleCheck_ : std::max<std::int64_t>(threshold_ - idleMs, 1);
    return step;
}

}  // namespace vellix
