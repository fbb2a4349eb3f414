#include "platform/idle_monitor.h"

#include <algorithm>
#include <limits>

namespace vellix {
namespace {

// A source that fails now and then (a restarting compositor) is asked again this late.
constexpr std::int64_t kRetryMs = 10'000;
// While the source watches for input itself, a sample this often only guards against a
// lost wake-up.
constexpr std::int64_t kWatchGuardMs = 60'000;

int timerInterval(std::int64_t ms) {
    return static_cast<int>(std::min<std::int64_t>(ms, std::numeric_limits<int>::max()));
}

}  // namespace

std::unique_ptr<IdleMonitor> IdleMonitor::forDesktop() {
    auto source = openDesktopIdleSource();
    if (!source) return std::make_unique<IdleMonitor>(Error{source.error()});
    return std::make_unique<IdleMonitor>(std::move(source).value());
}

IdleMonitor::IdleMonitor(std::unique_ptr<IdleSource> source)
    : source_(std::move(source)), unavailable_{"no idle time source"} {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &IdleMonitor::sampleNow);
}

IdleMonitor::IdleMonitor(Error unavailable) : IdleMonitor(std::unique_ptr<IdleSource>()) {
    unavailable_ = std::move(unavailable);
}

IdleMonitor::~IdleMonitor() = default;

Status IdleMonitor::install(int minutes, std::function<void(int)> report) {
    if (minutes < 1) return failure("the idle time must be at least one minute");
    return installMilliseconds(std::int64_t{minutes} * 60'000, std::move(report));
}

Status IdleMonitor::installMilliseconds(std::int64_t thresholdMs, std::function<void(int)> report,
                                        std::int64_t idleCheckMs) {
    remove();
    if (!source_) return failure(unavailable_.message);
    if (thresholdMs < 1) return failure("the idle time must be positive");
    auto first = source_->idleMilliseconds();
    if (!first) return failure(first.error());
    report_ = std::move(report);
    thresholdMs_ = thresholdMs;
    tracker_.emplace(thresholdMs, idleCheckMs);
    // First sample when the threshold could be reached; at once if the user is already
    // idle that long (a login while the user is away).
    timer_.start(timerInterval(std::max<std::int64_t>(thresholdMs - *first, 0)));
    return success();
}

void IdleMonitor::remove() {
    if (source_) source_->cancelWatch();
    timer_.stop();
    tracker_.reset();
    report_ = nullptr;
}

void IdleMonitor::sampleNow() {
    if (!tracker_) return;
    ++samples_;
    auto idle = source_->idleMilliseconds();
    if (!idle) {
        timer_.start(timerInterval(kRetryMs));
        return;
    }
    const auto step = tracker_->sample(*idle);
    if (tracker_->idle() && source_->watchResume(thresholdMs_, [this] { sampleNow(); })) {
        timer_.start(timerInterval(kWatchGuardMs));
    } else {
        timer_.start(timerInterval(step.nextSampleMs));
    }
    // Last: the report may remove or reinstall the monitor.
    if (step.report && report_) report_(*step.report);
}

}  // namespace vellix
