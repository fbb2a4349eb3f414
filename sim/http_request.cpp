#include "http_request.h"

#include <algorithm>

#include "spool.h"
#include "text_util.h"

namespace vellix::sim {
namespace {

constexpr size_t kMaxHeaders = 100;
constexpr size_t kMaxChunkLine = 1024;
constexpr size_t kMaxTrailer = 8 * 1024;

bool is_token_char(char c) {
    const auto b = static_cast<unsigned char>(c);
    if (b <= 32 || b >= 127) return false;
    return std::string_view("()<>@,;:\\\"/[]?={}").find(c) == std::string_view::npos;
}

bool is_target_char(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b > 32 && b != 127;
}

std::string_view strip_cr(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

}  // namespace

const std::string* HttpRequest::header(std::string_view name) const {
    for (const auto& [k, v] : headers) {
        if (iequals(k, name)) return &v;
    }
    return nullptr;
}

bool HttpRequest::keep_alive() const {
    const std::string* connection = header("Connection");
    if (version == "HTTP/1.0") return connection && iequals(*connection, "keep-alive");
    return !(connection && iequals(*connection, "close"));
}

bool HttpRequest::expects_continue() const {
    const std::string* expect = header("Expect");
    return expect && iequals(*expect, "100-continue") && version == "HTTP/1.1";
}

RequestParser::RequestParser(ParserLimits limits,
                             std::function<size_t(const HttpRequest&)> body_limit)
    : limits_(limits), body_limit_fn_(std::move(body_limit)) {
}

void RequestParser::fail(int status, std::string text) {
    state_ = State::Error;
    error_status_ = status;
    error_text_ = std::move(text);
}

void RequestParser::finish() {
    phase_ = Phase::Done;
    state_ = State::Complete;
}

HttpRequest RequestParser::take() {
    HttpRequest out = std::move(request_);
    request_ = HttpRequest{};
    buffer_.clear();
    state_ = State::Incomplete;
    phase_ = Phase::Head;
    remaining_ = 0;
    trailer_bytes_ = 0;
    error_status_ = 0;
    error_text_.clear();
    return out;
}

size_t RequestParser::feed(std::string_view data) {
    size_t used = 0;
    while (state_ == State::Incomplete && used < data.size()) {
        const std::string_view rest = data.substr(used);
        switch (phase_) {
            case Phase::Head:
                used += feed_head(rest);
                break;
            case Phase::Body:
                used += take_body(rest);
                if (remaining_ == 0) finish();
                break;
            case Phase::ChunkSize: {
                used += feed_line(rest, kMaxChunkLine);
                if (state_ != State::Incomplete || buffer_.empty() || buffer_.back() != '\n') break;
                std::string_view line =
                    strip_cr(std::string_view(buffer_).substr(0, buffer_.size() - 1));
                line = line.substr(0, line.find(';'));
                const std::string digits = trim(line);
                if (digits.empty() || digits.size() > 15 ||
                    digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
                    fail(400, "bad chunk size");
                    break;
                }
                remaining_ = std::stoull(digits, nullptr, 16);
                buffer_.clear();
                if (request_.body.size() + remaining_ > body_limit_) {
                    fail(413, "request body too large");
                } else {
                    phase_ = remaining_ == 0 ? Phase::Trailer : Phase::ChunkData;
                }
                break;
            }
            case Phase::ChunkData:
                used += take_body(rest);
                if (remaining_ == 0) phase_ = Phase::ChunkDataEnd;
                break;
            case Phase::ChunkDataEnd: {
                // Exactly CRLF (or a bare LF) must follow the chunk data.
                const char c = rest[0];
                ++used;
                if (c == '\r' && buffer_.empty()) {
                    buffer_.push_back(c);
                } else if (c == '\n') {
                    buffer_.clear();
                    phase_ = Phase::ChunkSize;
                } else {
                    fail(400, "chunk not followed by CRLF");
                }
                break;
            }
            case Phase::Trailer:
                // Trailer fields are read and dropped; an empty line ends the request.
                used += feed_line(rest, kMaxChunkLine);
                if (state_ != State::Incomplete || buffer_.empty() || buffer_.back() != '\n') break;
                trailer_bytes_ += buffer_.size();
                if (trailer_bytes_ > kMaxTrailer) {
                    fail(431, "trailer too large");
                } else if (strip_cr(std::string_view(buffer_).substr(0, buffer_.size() - 1))
                               .empty()) {
                    buffer_.clear();
                    finish();
                }
                break;
            case Phase::Done:
                return used;
        }
    }
    return used;
}

size_t RequestParser::take_body(std::string_view data) {
    const size_t n = static_cast<size_t>(std::min<unsigned long long>(remaining_, data.size()));
    if (request_.spool) {
        std::string error;
        if (!request_.spool->append(data.substr(0, n), &error)) fail(507, error);
    } else {
        request_.body.append(data.substr(0, n));
    }
    remaining_ -= n;
    return n;
}

size_t RequestParser::feed_line(std::string_view data, size_t max_line) {
    if (!buffer_.empty() && buffer_.back() == '\n') buffer_.clear();
    const size_t nl = data.find('\n');
    const size_t n = nl == std::string_view::npos ? data.size() : nl + 1;
    if (buffer_.size() + n > max_line + 2) {
        fail(400, "line too long");
        return n;
    }
    buffer_.append(data.substr(0, n));
    return n;
}

size_t RequestParser::feed_head(std::string_view data) {
    size_t i = 0;
    for (; i < data.size(); ++i) {
        const char c = data[i];
        // Stray line ends between keep-alive requests are allowed before the request line.
        if (buffer_.empty() && (c == '\r' || c == '\n')) continue;
        buffer_.push_back(c);
        if (buffer_.size() > limits_.max_head) {
            fail(431, "request head too large");
            return i + 1;
        }
        if (c != '\n') continue;
        const size_t len = buffer_.size();
        const bool end = (len >= 2 && buffer_[len - 2] == '\n') ||
                         (len >= 3 && buffer_[len - 2] == '\r' && buffer_[len - 3] == '\n');
        if (!end) continue;
        if (parse_head(buffer_) && start_body()) {
            buffer_.clear();
        }
        return i + 1;
    }
    return i;
}

bool RequestParser::parse_head(std::string_view head) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < head.size()) {
        const size_t nl = head.find('\n', start);
        const size_t end = nl == std::string_view::npos ? head.size() : nl;
        lines.push_back(strip_cr(head.substr(start, end - start)));
        start = end + 1;
    }
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    if (lines.empty()) {
        fail(400, "empty request");
        return false;
    }

    const std::string_view line = lines[0];
    const size_t sp1 = line.find(' ');
    const size_t sp2 = sp1 == std::string_view::npos ? sp1 : line.find(' ', sp1 + 1);
    if (sp2 == std::string_view::npos || line.find(' ', sp2 + 1) != std::string_view::npos) {
        fail(400, "malformed request line");
        return false;
    }
    const std::string_view method = line.substr(0, sp1);
    const std::string_view target = line.substr(sp1 + 1, sp2 - sp1 - 1);
    const std::string_view version = line.substr(sp2 + 1);
    if (method.empty() || method.size() > 16 ||
        !std::all_of(method.begin(), method.end(), [](char c) { return c >= 'A' && c <= 'Z'; })) {
        fail(400, "malformed method");
        return false;
    }
    if (target.empty() || target[0] != '/' ||
        !std::all_of(target.begin(), target.end(), is_target_char)) {
        fail(400, "malformed request target");
        return false;
    }
    if (version != "HTTP/1.1" && version != "HTTP/1.0") {
        fail(version.substr(0, 5) == "HTTP/" ? 505 : 400, "unsupported HTTP version");
        return false;
    }
    request_.method = method;
    request_.target = target;
    request_.version = version;
    const size_t q = target.find('?');
    request_.path = target.substr(0, q);
    request_.query =
        q == std::string_view::npos ? std::string() : std::string(target.substr(q + 1));

    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string_view h = lines[i];
        if (h.empty() || h[0] == ' ' || h[0] == '\t') {
            fail(400, "folded or empty header line");
            return false;
        }
        const size_t colon = h.find(':');
        if (colon == 0 || colon == std::string_view::npos ||
            !std::all_of(h.begin(), h.begin() + static_cast<std::ptrdiff_t>(colon),
                         is_token_char)) {
            fail(400, "malformed header");
            return false;
        }
        if (request_.headers.size() >= kMaxHeaders) {
            fail(431, "too many headers");
            return false;
        }
        request_.headers.emplace_back(std::string(h.substr(0, colon)), trim(h.substr(colon + 1)));
    }
    return true;
}

bool RequestParser::start_body() {
    body_limit_ = body_limit_fn_ ? body_limit_fn_(request_) : limits_.max_body;
    const std::string* te = nullptr;
    bool have_length = false;
    unsigned long long length = 0;
    for (const auto& [k, v] : request_.headers) {
        if (iequals(k, "Transfer-Encoding")) {
            te = &v;
        } else if (iequals(k, "Content-Length")) {
            unsigned long long n = 0;
            if (!parse_uint(v, n) || (have_length && n != length)) {
                fail(400, "bad Content-Length");
                return false;
            }
            have_length = true;
            length = n;
        }
    }
    if (te) {
        if (have_length) {
            fail(400, "both Content-Length and Transfer-Encoding");
            return false;
        }
        if (!iequals(*te, "chunked")) {
            fail(501, "unsupported transfer encoding");
            return false;
        }
        phase_ = Phase::ChunkSize;
        return true;
    }
    if (length > body_limit_) {
        fail(413, "request body too large");
        return false;
    }
    if (length == 0) {
        finish();
        return true;
    }
    if (spool_fn_) {
        int status = 0;
        std::string reason;
        request_.spool = spool_fn_(request_, length, status, reason);
        if (!request_.spool && status != 0) {
            fail(status, reason);
            return false;
        }
    }
    remaining_ = length;
    phase_ = Phase::Body;
    if (request_.spool) return true;
    // One allocation for the body (up to 64 MiB): growing a large upload step by step costs a
    // copy and fresh page faults per step. Untouched pages of a body that never comes cost
    // nothing.
    request_.body.reserve(static_cast<size_t>(std::min<unsigned long long>(length, 64u << 20)));
    return true;
}

}  // namespace vellix::sim
