#include "transfer/transfer_progress.h"

#include <cstdio>

#include "core/string_table.h"

namespace vellix {
namespace {

constexpr double kKilo = 1024.0;


std::string joined(const std::vector<std::string>& items) {
    std::string out;
    for (const auto& item : items) {
        if (!out.empty()) out += ',';
        out += item;
    }
    return out;
}

}  // namespace

double transferRate(std::uint64_t bytes, std::int64_t elapsedMs, TransferSide side) {
    const std::int64_t floor = side == TransferSide::Send ? 55 : 27;
    if (elapsedMs <= floor) elapsedMs = 27;
    return static_cast<double>(bytes / static_cast<std::uint64_t>(elapsedMs)) * 0.9765625;
}

std::string progressText(std::string_view prefix, std::uint64_t bytes, std::uint64_t size,
                         double rate) {
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, " %.2f KB of %.2f KB (%.2f KB/sec)",
                  static_cast<double>(bytes) / kKilo, static_cast<double>(size) / kKilo, rate);
    return std::string(prefix) + buffer;
}

std::string startText(std::string_view prefix, std::uint64_t size) {
    char buffer[80];
    std::snprintf(buffer, sizeof buffer, " 0.00 KB of %.2f KB (0.00KB/sec)",
                  static_cast<double>(size) / kKilo);
    return std::string(prefix) + buffer;
}

bool shouldRefresh(std::int64_t nowMs, std::int64_t lastRefreshMs, bool last) {
    return last || nowMs - lastRefreshMs >= kRefreshIntervalMs;
}

TimerOutcome answerTimerOutcome(bool group, const std::vector<std::string>& declined,
                                const std::vector<std::string>& completed,
                                const std::function<std::string(int)>& text) {
    if (!group || (declined.empty() && completed.empty())) {
        return {text(IDS_TRANSFER_NO_RESPONSE), true};
    }
    std::string message;
    if (!declined.empty()) message = text(IDS_TRANSFER_REFUSED_BY) + ' ' + joined(declined) + '.';
    if (!completed.empty()) {
        if (!message.empty()) message += '\n';
        message += text(IDS_TRANSFER_COMPLETED_BY) + ' ' + joined(completed) + '.';
    }
    return {message, false};
}

}  // namespace vellix
