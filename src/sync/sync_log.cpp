#include "sync/sync_log.h"

#include <cstdio>
#include <utility>

namespace vellix {

std::tm systemLocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

SyncLog::SyncLog(Sink sink, LocalTimeSource clock)
    : sink_(std::move(sink)), clock_(std::move(clock)) {
}

std::string SyncLog::Stamp(const std::tm& time) {
    char text[64];
    std::snprintf(text, sizeof text, "[%04d-%02d-%02d %02d:%02d:%02d]", time.tm_year + 1900,
                  time.tm_mon + 1, time.tm_mday, time.tm_hour, time.tm_min, time.tm_sec);
    return text;
}

void SyncLog::Write(std::string_view text) {
    if (!sink_) return;
    std::string line = Stamp(clock_ ? clock_() : systemLocalTime());
    line += text;
    sink_(line);
}

void SyncLog::WriteEmail(std::string_view text, std::string_view email) {
    if (!sink_) return;
    std::string message(text);
    message += email;
    message += '\n';
    Write(message);
}

}  // namespace vellix
