#pragma once
// The synchronization log ("synch.log"): each line starts with the local time as
// "[YYYY-MM-DD hh:mm:ss]" followed by the message. The driver owns the stream; the
// engine only writes lines.

#include <ctime>
#include <functional>
#include <string>
#include <string_view>

namespace vellix {

// The local broken-down time; injectable so that tests can check the stamps.
using LocalTimeSource = std::function<std::tm()>;
std::tm systemLocalTime();

class SyncLog {
  public:
    // Takes one whole line; an empty sink leaves the log silent.
    using Sink = std::function<void(std::string_view)>;

    explicit SyncLog(Sink sink = {}, LocalTimeSource clock = systemLocalTime);

    // stamp + text; the message texts carry their own leading space and line end.
    void Write(std::string_view text);
    // stamp + text + email + "\n".
    void WriteEmail(std::string_view text, std::string_view email);

    static std::string Stamp(const std::tm& time);

  private:
    Sink sink_;
    LocalTimeSource clock_;
};

}  // namespace vellix
