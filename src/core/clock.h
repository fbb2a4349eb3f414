#pragma once
// Every fixed delay and timer period goes through a Clock, so tests can run the same
// sequences faster. The product runs at scale 1.

#include <chrono>

namespace vellix {

using Milliseconds = std::chrono::milliseconds;

class Clock {
  public:
    explicit Clock(double scale = 1.0);
    virtual ~Clock() = default;

    double scale() const { return scale_; }
    // The real duration of a nominal delay: never below 1 ms for a positive delay.
    Milliseconds scaled(Milliseconds nominal) const;
    // Sleeps for the scaled duration of a nominal delay.
    virtual void sleep(Milliseconds nominal) const;
    virtual std::chrono::steady_clock::time_point now() const;

    // Reads VELLIX_TIME_SCALE (a positive number) for end-to-end runs; 1 otherwise.
    static double scaleFromEnvironment();

  private:
    double scale_;
};

}  // namespace vellix
