// Turns one parsed request into one reply: the status interface, the webmail pages, the
// installer and the control interface, behind optional Basic authentication.
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "faults.h"
#include "http_request.h"
#include "http_response.h"
#include "sim_state.h"
#include "spool.h"
#include "text_util.h"

namespace vellix::sim {

struct ServiceConfig {
    std::string path = "/skyloom/app.dll";
    std::string control_token;  // empty: the control interface needs no token
    std::string basic_auth;     // "user:pass"; empty: no authentication
    std::chrono::milliseconds long_poll_timeout{30000};
    size_t max_body = 1024 * 1024;
    size_t max_upload = size_t{2048} * 1024 * 1024;
    // Uploads wait on disk here until downloaded; empty: a private folder under $TMPDIR.
    std::string spool_dir;
    uint64_t spool_limit = uint64_t{4096} << 20;
};

inline constexpr std::string_view kControlPrefix = "/_sim/";

struct RequestContext {
    // True once the peer has closed its end; a long poll then gives up without taking an event.
    std::function<bool()> client_gone;
};

class Service {
  public:
    Service(SimState& state, FaultTable& faults, ServiceConfig config);

    SimState& state() { return state_; }
    FaultTable& faults() { return faults_; }
    const ServiceConfig& config() const { return config_; }

    // The request word used for the log and the fault table: a status word such as
    // "GetMessageCounts", or "page", "installer", "control", "unknown".
    std::string request_word(const HttpRequest& request) const;
    // Largest body allowed for a request with this head.
    size_t body_limit(const HttpRequest& head) const;
    // Whether the request must pass Basic authentication (status path only).
    bool authorized(const HttpRequest& request) const;

    // Takes the request's body where it keeps it (uploads), so the request is not const.
    HttpResponse handle(HttpRequest& request, const RequestContext& context);

    // The peer vanished while sending this request's body.
    void body_abandoned(const HttpRequest& head);

    // Where an upload's body goes: a spool file, or a refusal (status, reason) when the
    // spool is full. Other requests keep their bodies in memory.
    std::shared_ptr<SpoolFile> spool_for(const HttpRequest& head, unsigned long long length,
                                         int& status, std::string& reason);
    // Why the spool folder could not be opened; empty when it is there.
    const std::string& spool_error() const { return spool_error_; }
    const std::shared_ptr<Spool>& spool() const { return spool_; }

  private:
    HttpResponse handle_status(HttpRequest& request, const Fields& query,
                               const RequestContext& context);
    HttpResponse handle_control(const HttpRequest& request);

    SimState& state_;
    FaultTable& faults_;
    ServiceConfig config_;
    std::string expected_auth_;
    std::shared_ptr<Spool> spool_;
    std::string spool_error_;
};

// The status words, in the order they are searched for in a query.
const std::vector<std::string_view>& status_words();

}  // namespace vellix::sim
