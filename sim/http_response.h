// A reply as the handlers build it, before faults and the connection touch it.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "spool.h"

namespace vellix::sim {

struct HttpResponse {
    int status = 200;
    std::string content_type = "text/xml";
    std::string body;
    // Large payloads (stored uploads, the installer) are shared instead of copied.
    std::shared_ptr<const std::string> shared_body;
    // A stored upload, sent from disk.
    std::shared_ptr<const SpoolFile> file_body;
    std::vector<std::pair<std::string, std::string>> headers;
    bool close = false;
    // Called when the reply could not be written, so a long-poll event can be put back.
    std::function<void()> on_write_failed;
    // Called after the whole reply went out (a finished download reports "complete").
    std::function<void()> on_written;

    // The body's length, wherever it is.
    size_t payload_size() const { return file_body ? file_body->size() : payload().size(); }
    std::string_view payload() const {
        return shared_body ? std::string_view(*shared_body) : std::string_view(body);
    }
};

HttpResponse text_reply(int status, std::string body, std::string content_type = "text/xml");

std::string_view reason_phrase(int status);

// Status line and headers, ending with the blank line.
std::string serialize_head(const HttpResponse& response, size_t content_length, bool keep_alive);

}  // namespace vellix::sim
