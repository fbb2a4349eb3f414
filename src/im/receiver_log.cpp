#include "im/receiver_log.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace vellix {

std::string formatReceiverLogLine(std::time_t when, std::string_view text) {
    std::tm local{};
    localtime_r(&when, &local);
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "[%04d-%02d-%02d %02d:%02d:%02d] ", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    std::string line(stamp);
    line += text;
    line += "\r\n";
    return line;
}

ReceiverLog::~ReceiverLog() {
    close();
}

bool ReceiverLog::open(const std::string& folder) {
    if (file_) return true;
    if (folder.empty()) return false;
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    const std::string path = (std::filesystem::path(folder) / kReceiverLogName).string();
    file_ = std::fopen(path.c_str(), "abe");  // e: not inherited by started programs
    return file_ != nullptr;
}

void ReceiverLog::write(std::string_view text) {
    if (!file_) return;
    const std::string line = formatReceiverLogLine(std::time(nullptr), text);
    // Each entry reaches the file at once: the receiver may be left running at exit.
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fflush(file_);
}

void ReceiverLog::close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
}

}  // namespace vellix
