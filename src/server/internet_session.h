#pragma once
// One internet session: the HTTP client a thread owns for its talks with the server, with
// its agent name, direct or through one proxy. Requests on one session are sequential and
// reuse its connections; only close() may be called from another thread.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>

#include "core/result.h"

namespace vellix {

struct ConnectionSettings {
    int connectionType = 0;  // 0 direct, otherwise through the proxy
    std::string proxyServer;
    int proxyPort = 80;
};

// "host:port" of the proxy; empty for a direct connection.
std::string proxyText(const ConnectionSettings& settings);

// Error numbers of the diagnostics; the numbering the Windows client's logs used, so that
// logs from both read alike.
namespace internet_error {
inline constexpr int kTimeout = 12002;
inline constexpr int kInternalError = 12004;
inline constexpr int kInvalidUrl = 12005;
inline constexpr int kNameNotResolved = 12007;
inline constexpr int kOperationCancelled = 12017;
inline constexpr int kCannotConnect = 12029;
inline constexpr int kConnectionAborted = 12030;
inline constexpr int kConnectionReset = 12031;
inline constexpr int kCertNameInvalid = 12038;
inline constexpr int kInvalidCa = 12045;
inline constexpr int kSecureFailure = 12175;
}  // namespace internet_error

struct InternetError {
    int code = 0;
    std::string text;
};

// "Internet Error: %d - %s\n" with the text cut to 255 characters.
std::string formatInternetError(const InternetError& error);

enum class AuthTarget { Server, Proxy };

struct Credentials {
    std::string user;
    std::string password;
};

// Asks the user for a user name and password when the server (401) or the proxy (407)
// wants them. Nothing means the user cancelled.
class CredentialsPrompt {
  public:
    virtual ~CredentialsPrompt() = default;
    virtual std::optional<Credentials> ask(AuthTarget target, const std::string& where) = 0;
};

// How long a request may take before it fails as a time-out: connecting (TCP and TLS), going
// `stall` seconds at under one byte a second, and `total` for the whole exchange, so that a
// reply trickling in just above the stall rate is still abandoned. TCP keep-alive probes find
// a link that died silently.
struct TransferLimits {
    std::chrono::seconds connect;
    std::chrono::seconds stall;
    std::chrono::milliseconds total{0};  // 0: no overall limit
};
inline constexpr TransferLimits kRequestLimits{std::chrono::seconds(30), std::chrono::seconds(60),
                                               std::chrono::milliseconds(120000)};
// A long poll is held open by the server; only a much longer silence means a dead link, and
// no server holds one for ten minutes.
inline constexpr TransferLimits kLongPollLimits{std::chrono::seconds(30), std::chrono::seconds(300),
                                                std::chrono::milliseconds(600000)};

// Replies beyond this fail (kInternalError) instead of exhausting memory; real replies, even
// large contact lists and downloads of the installer, stay far below it.
inline constexpr size_t kMaxReplyBytes = size_t{128} << 20;

struct HttpReply {
    long status = 0;
    std::string body;
};

// A request body read in blocks as libcurl asks for it: `read` fills up to `capacity` bytes
// and returns how many (0 once `size` bytes were given); nothing abandons the request.
struct StreamedBody {
    std::uint64_t size = 0;
    std::string contentType;
    std::function<std::optional<size_t>(char* buffer, size_t capacity)> read;
};
// Receives a 2xx reply's body in blocks (any other reply's body goes to HttpReply::body);
// false ends the exchange as failed.
using ReplySink = std::function<bool(const char* data, size_t size)>;

// The head of the reply being received: status, content type and announced length (-1 when
// the server did not announce one).
struct ReplyHead {
    long status = 0;
    std::string contentType;
    std::int64_t length = -1;
};

class InternetSession {
  public:
    struct Options {
        std::string agent;  // sent as the User-Agent
        ConnectionSettings connection;
        TransferLimits limits = kRequestLimits;
        CredentialsPrompt* prompt = nullptr;  // none: a 401 or 407 gives no reply
        // Receives each diagnostic line ("Internet Error: ..."); may be empty.
        std::function<void(const std::string&)> trace;
        size_t maxReplyBytes = kMaxReplyBytes;
    };

    // The error (also traced) when the HTTP library cannot make a session.
    static Result<std::unique_ptr<InternetSession>> open(Options options);
    ~InternetSession();
    InternetSession(const InternetSession&) = delete;
    InternetSession& operator=(const InternetSession&) = delete;

    // The request helper: a GET when `body` is null, otherwise a form POST of `body`. A
    // certificate that fails only for its authority or its name is accepted on one retry;
    // 401 and 407 ask the prompt and retry as often as it gives credentials. Line feeds are
    // removed unless kept. Nothing when the exchange fails (traced), the prompt is cancelled,
    // the status stays 401 or 407, or the body is empty.
    enum class LineFeeds { Remove, Keep };
    std::optional<std::string> request(const std::string& url, const std::string* body,
                                       LineFeeds lineFeeds = LineFeeds::Remove);
    // Why the last request() gave nothing, when an exchange failed; else nothing.
    const std::optional<InternetError>& lastError() const { return lastError_; }

    // One exchange with the certificate retry but without the prompt or the body rules: for
    // callers that must tell a time-out from other failures. Failures are traced too.
    std::variant<HttpReply, InternetError> exchange(const std::string& url,
                                                    const std::string* body);

    // One exchange whose request and/or reply bodies are streamed, for files of any size:
    // a POST of `upload` when given, else a GET; a 2xx reply body goes to `sink` when given.
    // Nothing is held in memory beyond libcurl's block buffers.
    std::variant<HttpReply, InternetError> streamExchange(const std::string& url,
                                                          const StreamedBody* upload,
                                                          const ReplySink* sink);
    // From inside a sink, on the exchange's thread: the head of the reply it receives, so a
    // sink can refuse a body of the wrong kind before storing any of it.
    ReplyHead replyHead() const;

    // From any thread: the exchange in progress ends at once with kOperationCancelled, and so
    // does every later one. The session cannot be reopened. The owner keeps the session alive
    // until every close() call has returned.
    void close();
    bool closed() const;

  private:
    struct Impl;
    explicit InternetSession(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
    std::optional<InternetError> lastError_;
};

// The words a user reads for a failed exchange: host not found, connection refused,
// certificate, time-out... `text` looks a number up in the string table.
std::string describeInternetError(const InternetError& error,
                                  const std::function<std::string(int)>& text);

}  // namespace vellix
