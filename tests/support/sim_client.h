// A small libcurl client for tests that talk HTTP to skyloom-sim.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vellix::test {

struct HttpResult {
    int curl_code = 0;  // CURLE_OK when a complete reply came back
    long status = 0;
    std::string body;
    std::string content_type;
    bool ok() const { return curl_code == 0; }
};

struct HttpCall {
    std::string url;
    std::optional<std::string> body;  // POST when set
    std::string content_type = "application/x-www-form-urlencoded";
    std::string user_agent = "Vellix";
    std::string basic_auth;  // "user:pass"
    bool insecure = false;   // accept a self-signed certificate
    long timeout_ms = 20000;
};

HttpResult http_request(const HttpCall& call);
HttpResult http_get(const std::string& url, const std::string& user_agent = "Vellix");
HttpResult http_post(const std::string& url, const std::string& body,
                     const std::string& user_agent = "Vellix");

// The text between the first <name> and the next </name> of `reply`, or nothing.
std::optional<std::string> reply_tag(const std::string& reply, const std::string& name);

// Query text "k=v&..." with each value percent-encoded.
std::string query_string(const std::vector<std::pair<std::string, std::string>>& params);

}  // namespace vellix::test
