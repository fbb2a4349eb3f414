#pragma once
// The receiver's log, "WaitForIM.log": one "[date time] text\r\n" line per entry, local
// time, appended. A log that cannot be opened is skipped silently.

#include <cstdio>
#include <ctime>
#include <string>
#include <string_view>

namespace vellix {

inline constexpr std::string_view kReceiverLogName = "WaitForIM.log";

// "[%04d-%02d-%02d %02d:%02d:%02d] %s\r\n" for `when` in local time.
std::string formatReceiverLogLine(std::time_t when, std::string_view text);

class ReceiverLog {
  public:
    ReceiverLog() = default;
    ~ReceiverLog();
    ReceiverLog(const ReceiverLog&) = delete;
    ReceiverLog& operator=(const ReceiverLog&) = delete;

    // Opens `folder`/WaitForIM.log for appending, creating the folder; false when it cannot.
    bool open(const std::string& folder);
    bool isOpen() const { return file_ != nullptr; }
    void write(std::string_view text);
    void close();

  private:
    std::FILE* file_ = nullptr;
};

}  // namespace vellix
