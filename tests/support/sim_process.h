// Runs the real skyloom-sim binary on a free loopback port for a test, and talks to its
// control interface.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "support/sim_client.h"

namespace vellix::test {

// One entry of the sim's request log, in arrival order.
struct LoggedRequest {
    uint64_t seq = 0;
    std::string method;
    std::string path;
    std::string query;
    std::string body;  // first 64 KiB
    size_t body_size = 0;
    std::string user_agent;
};

class SimProcess {
  public:
    // Extra command-line options, e.g. {"--https"} or {"--basic-auth", "u:p"}. The port, the
    // control token and a short long-poll time-out are chosen here unless given.
    explicit SimProcess(std::vector<std::string> extra_args = {});
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // False when the binary did not start or never printed its port; see error().
    bool running() const { return port_ != 0; }
    const std::string& error() const { return error_; }
    uint16_t port() const { return port_; }
    // The server URL the client is configured with, e.g. http://127.0.0.1:N/skyloom/app.dll
    const std::string& url() const { return url_; }

    // GET /_sim/<command>?token=...&params; `body` makes it a POST with that raw body.
    HttpResult control(const std::string& command,
                       const std::vector<std::pair<std::string, std::string>>& params = {},
                       const std::string* body = nullptr) const;

    // The request log (control requests are not in it); empty when it cannot be read.
    std::vector<LoggedRequest> request_log() const;

    // Waits until the account holds `count` long polls; false after `timeout_ms`.
    bool wait_for_long_polls(const std::string& account, int count, int timeout_ms = 10000) const;

    // Logs in through the status interface and returns the session, or "" on refusal.
    std::string login(const std::string& user, const std::string& password) const;

    // Stops the process (SIGTERM, then SIGKILL after 5 s); returns its exit status.
    int stop();

    static std::string binary_path();

  private:
    pid_t pid_ = -1;
    uint16_t port_ = 0;
    std::string url_;
    std::string token_;
    std::string error_;
    bool https_ = false;
};

}  // namespace vellix::test
