#include "update/update_progress.h"

#include <cstdio>

namespace vellix {
namespace {

constexpr std::chrono::milliseconds kShortestElapsed{27};
constexpr std::chrono::milliseconds kRedrawInterval{250};
constexpr double kKilobyte = 1024.0;
// Bytes per millisecond to kilobytes per second: 1000 / 1024.
constexpr double kRateScale = 0.9765625;

}  // namespace

std::string progressText(std::uint64_t received, std::uint64_t total,
                         std::chrono::milliseconds elapsed) {
    // Below 28 ms the elapsed time counts as 27.
    if (elapsed < kShortestElapsed + std::chrono::milliseconds(1)) elapsed = kShortestElapsed;
    const std::uint64_t bytesPerMs = received / static_cast<std::uint64_t>(elapsed.count());
    char text[128];
    std::snprintf(text, sizeof text, "Receiving %.2f KB of %.2f KB (%.2f KB/sec)",
                  static_cast<double>(received) / kKilobyte, static_cast<double>(total) / kKilobyte,
                  static_cast<double>(bytesPerMs) * kRateScale);
    return text;
}

std::optional<std::string> ProgressMeter::update(std::uint64_t received, std::uint64_t total,
                                                 TimePoint now, bool throttled) {
    if (throttled && now - last_ < kRedrawInterval) return std::nullopt;
    last_ = now;
    return progressText(received, total,
                        std::chrono::duration_cast<std::chrono::milliseconds>(now - start_));
}

}  // namespace vellix
