// HTTP/1.1 request parsing: request line, headers, Content-Length and chunked bodies.
// Fed in pieces as they arrive from the socket; never trusts the peer.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vellix::sim {

class SpoolFile;

struct HttpRequest {
    std::string method;
    std::string target;  // as sent: path plus optional "?query"
    std::string path;
    std::string query;
    std::string version;  // "HTTP/1.0" or "HTTP/1.1"
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    // Set instead of `body` when the server spools this request's body to disk.
    std::shared_ptr<SpoolFile> spool;

    // First header with this name (case-insensitive), or nullptr.
    const std::string* header(std::string_view name) const;
    bool keep_alive() const;
    bool expects_continue() const;
};

struct ParserLimits {
    size_t max_head = 16 * 1024;
    size_t max_body = 1024 * 1024;
};

class RequestParser {
  public:
    enum class State { Incomplete, Complete, Error };

    // `body_limit`, when given, is asked once the head is read and may raise or lower the
    // body limit for this request (uploads get more room than status requests).
    explicit RequestParser(ParserLimits limits,
                           std::function<size_t(const HttpRequest&)> body_limit = {});

    // Asked once the head of a body with a Content-Length is read: a spool file takes the
    // body instead of memory. Nothing with `status` set refuses the request (status, reason);
    // nothing with status 0 keeps the body in memory.
    using SpoolFn = std::function<std::shared_ptr<SpoolFile>(const HttpRequest&, unsigned long long,
                                                             int& status, std::string& reason)>;
    void set_spool(SpoolFn fn) { spool_fn_ = std::move(fn); }

    // Consumes bytes until the request is complete or broken; returns how many were used.
    // Bytes after a complete request belong to the next one.
    size_t feed(std::string_view data);

    State state() const { return state_; }
    bool head_complete() const { return phase_ != Phase::Head; }
    const HttpRequest& request() const { return request_; }
    // HTTP status that describes the error (400, 413, 431, 501) and a short reason.
    int error_status() const { return error_status_; }
    const std::string& error_text() const { return error_text_; }

    // Hands over the parsed request and readies the parser for the next one.
    HttpRequest take();

  private:
    enum class Phase { Head, Body, ChunkSize, ChunkData, ChunkDataEnd, Trailer, Done };

    size_t feed_head(std::string_view data);
    size_t feed_line(std::string_view data, size_t max_line);
    // Moves up to the remaining body bytes of data into the request; returns how many.
    size_t take_body(std::string_view data);
    bool parse_head(std::string_view head);
    bool start_body();
    void fail(int status, std::string text);
    void finish();

    ParserLimits limits_;
    std::function<size_t(const HttpRequest&)> body_limit_fn_;
    SpoolFn spool_fn_;
    size_t body_limit_ = 0;
    State state_ = State::Incomplete;
    Phase phase_ = Phase::Head;
    HttpRequest request_;
    std::string buffer_;  // head bytes or the current chunk-size / trailer line
    unsigned long long remaining_ = 0;
    size_t trailer_bytes_ = 0;
    int error_status_ = 0;
    std::string error_text_;
};

}  // namespace vellix::sim
