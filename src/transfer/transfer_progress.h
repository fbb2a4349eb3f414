#pragma once
// The texts a transfer window shows and when it refreshes them; plain functions, so the
// windows stay thin.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vellix {

enum class TransferSide { Send, Receive };

// How a worker ended, with the reason when it did not complete.
enum class TransferOutcome { Complete, Cancelled, Failed };
struct TransferResult {
    TransferOutcome outcome = TransferOutcome::Failed;
    std::uint64_t bytes = 0;
    std::string reason;
};

// KB/s as the windows always showed it: bytes integer-divided by the elapsed milliseconds,
// times 1000/1024. A very short elapsed time counts as 27 ms (the sending side's limit is
// 55 ms, the receiving side's 27 ms) so the first figures are not absurd.
double transferRate(std::uint64_t bytes, std::int64_t elapsedMs, TransferSide side);

// "<prefix> 12.00 KB of 40.00 KB (3.00 KB/sec)".
std::string progressText(std::string_view prefix, std::uint64_t bytes, std::uint64_t size,
                         double rate);
// Before the first block: "<prefix> 0.00 KB of 40.00 KB (0.00KB/sec)".
std::string startText(std::string_view prefix, std::uint64_t size);

// At most one refresh per 200 ms while the transfer runs; the last notice always shows.
inline constexpr std::int64_t kRefreshIntervalMs = 200;
bool shouldRefresh(std::int64_t nowMs, std::int64_t lastRefreshMs, bool last);

// What the 60-second answer timer of an offer ends with: the message box text, and whether
// it is the stop-icon "did not respond" box. The window always closes afterwards.
struct TimerOutcome {
    std::string message;
    bool noResponse = false;
};
TimerOutcome answerTimerOutcome(bool group, const std::vector<std::string>& declined,
                                const std::vector<std::string>& completed,
                                const std::function<std::string(int)>& text);

}  // namespace vellix
