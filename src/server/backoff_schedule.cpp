#include "server/backoff_schedule.h"

#include <algorithm>
#include <cmath>

namespace vellix {

BackoffSchedule::BackoffSchedule(BackoffSteps steps, std::function<double()> random)
    : steps_(steps), random_(std::move(random)), engine_(std::random_device{}()) {
}

Milliseconds BackoffSchedule::next() {
    // 2^20 times any first wait is past every cap; stop doubling there.
    const int doublings = std::min(failures_, 20);
    ++failures_;
    const long long cap = std::max<long long>(steps_.cap.count(), 0);
    const long long base = std::min(steps_.first.count() * (1LL << doublings), cap);
    double unit = 0;
    if (random_) {
        unit = random_();
    } else {
        unit = std::uniform_real_distribution<double>(0.0, 1.0)(engine_);
    }
    const double jitter = std::clamp(steps_.jitter, 0.0, 1.0) * std::clamp(unit, 0.0, 1.0);
    return Milliseconds(std::llround(static_cast<double>(base) * (1.0 - jitter)));
}

}  // namespace vellix
