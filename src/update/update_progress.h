#pragma once
// The progress dialog's text and the throttle that keeps it from redrawing on every block.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace vellix {

// "Receiving %.2f KB of %.2f KB (%.2f KB/sec)". The rate is whole bytes per millisecond
// scaled to KB/sec, and the elapsed time counts as at least 27 ms.
std::string progressText(std::uint64_t received, std::uint64_t total,
                         std::chrono::milliseconds elapsed);

// Decides when the text is due: at most every 250 ms while throttled.
class ProgressMeter {
  public:
    using TimePoint = std::chrono::steady_clock::time_point;
    explicit ProgressMeter(TimePoint start) : start_(start), last_(start) {}

    // The text to show now, or nothing when a throttled update comes too soon.
    std::optional<std::string> update(std::uint64_t received, std::uint64_t total, TimePoint now,
                                      bool throttled);

  private:
    TimePoint start_;
    TimePoint last_;
};

}  // namespace vellix
