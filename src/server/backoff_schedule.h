#pragma once
// The waits between automatic retries: short at first, doubling after each failure up to a
// cap, each wait shortened by a random part so that the clients of one server that went
// down do not all come back at the same moment. Plain logic for one owner thread.

#include <functional>
#include <random>

#include "core/clock.h"

namespace vellix {

struct BackoffSteps {
    Milliseconds first;
    Milliseconds cap;
    // The share of a wait that may be taken off at random, 0 to 1.
    double jitter = 0.25;
};

// After a lost connection: a few seconds, then doubling; the cap is lowered to the poll
// interval when that is shorter, so a retry never waits longer than a poll would.
inline constexpr BackoffSteps kReconnectSteps{Milliseconds(5000), Milliseconds(30000), 0.25};
// Logins after "invalid session" answers, and restarts of a long poll that keeps failing.
inline constexpr BackoffSteps kSessionLoopSteps{Milliseconds(1000), Milliseconds(60000), 0.25};

class BackoffSchedule {
  public:
    // `random` gives numbers in [0, 1); without one a seeded engine does.
    explicit BackoffSchedule(BackoffSteps steps, std::function<double()> random = {});

    // The wait before the next try; each call counts one more failure.
    Milliseconds next();
    // After a success the next failure starts from the first wait again.
    void reset() { failures_ = 0; }
    void setCap(Milliseconds cap) { steps_.cap = cap; }
    int failures() const { return failures_; }

  private:
    BackoffSteps steps_;
    std::function<double()> random_;
    std::minstd_rand engine_;
    int failures_ = 0;
};

}  // namespace vellix
