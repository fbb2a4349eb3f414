#pragma once
// The activity hooks on Linux: reports idle once the user has left keyboard and pointer
// alone for the set time, and active when input resumes. Lives on the thread that creates
// it and reports there. While the user is active it sleeps on one timer until the threshold
// could be reached; while idle it waits for the source's input wake-up where the source has
// one (X11 SYNC alarms), else samples at a coarse rate.

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "core/activity_hooks.h"
#include "platform/idle_source.h"
#include "platform/idle_tracker.h"

namespace vellix {

class IdleMonitor final : public QObject, public ActivityHooks {
    Q_OBJECT
  public:
    // The desktop's idle source, or, when there is none, a monitor whose install() says why.
    static std::unique_ptr<IdleMonitor> forDesktop();

    explicit IdleMonitor(std::unique_ptr<IdleSource> source);
    explicit IdleMonitor(Error unavailable);
    ~IdleMonitor() override;

    Status install(int minutes, std::function<void(int)> report) override;
    void remove() override;

    // install() at millisecond scale, for tests and benchmarks.
    Status installMilliseconds(std::int64_t thresholdMs, std::function<void(int)> report,
                               std::int64_t idleCheckMs = IdleTracker::kIdleCheckMs);
    bool installed() const { return tracker_.has_value(); }
    // Samples taken since construction: what the monitor costs.
    std::int64_t samples() const { return samples_; }

  private:
    void sampleNow();

    std::unique_ptr<IdleSource> source_;
    Error unavailable_;
    std::function<void(int)> report_;
    std::optional<IdleTracker> tracker_;
    std::int64_t thresholdMs_ = 0;
    QTimer timer_;
    std::int64_t samples_ = 0;
};

}  // namespace vellix
