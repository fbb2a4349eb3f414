#include "server/internet_session.h"

#include <curl/curl.h>

#include <atomic>
#include <mutex>

#include "core/string_table.h"
#include "server/curl_errors.h"

namespace vellix {
namespace {

// Whether the peer's certificate is checked; a retry skips it for a known CA or name fault.
enum class PeerCheck { Verify, Skip };

constexpr long kMaxRedirects = 10;
constexpr long kKeepAliveIdleSeconds = 60;
constexpr long kKeepAliveIntervalSeconds = 30;
constexpr int kPollMilliseconds = 1000;  // libcurl's own timers end a poll sooner
// Streamed bodies move in large blocks: fewer callbacks and system calls per byte.
constexpr long kStreamBlock = 512L * 1024;
constexpr long kDefaultUploadBlock = 64L * 1024;

CURLcode globalInit() {
    static std::once_flag once;
    static CURLcode result = CURLE_OK;
    std::call_once(once, [] { result = curl_global_init(CURL_GLOBAL_DEFAULT); });
    return result;
}

InternetError cancelledError() {
    return {internet_error::kOperationCancelled, "The operation was cancelled"};
}

// "host" or "host:port" of a URL, for the credentials prompt.
std::string hostOf(const std::string& url) {
    std::string where;
    CURLU* parsed = curl_url();
    if (parsed && curl_url_set(parsed, CURLUPART_URL, url.c_str(), 0) == CURLUE_OK) {
        char* host = nullptr;
        char* port = nullptr;
        if (curl_url_get(parsed, CURLUPART_HOST, &host, 0) == CURLUE_OK) where = host;
        if (curl_url_get(parsed, CURLUPART_PORT, &port, 0) == CURLUE_OK) {
            where += ':';
            where += port;
        }
        curl_free(host);
        curl_free(port);
    }
    curl_url_cleanup(parsed);
    return where.empty() ? url : where;
}

}  // namespace

std::string proxyText(const ConnectionSettings& settings) {
    if (settings.connectionType == 0) return {};
    return settings.proxyServer + ':' + std::to_string(settings.proxyPort);
}

std::string formatInternetError(const InternetError& error) {
    return "Internet Error: " + std::to_string(error.code) + " - " + error.text.substr(0, 255) +
           '\n';
}

struct InternetSession::Impl {
    Options options;
    CURL* easy = nullptr;
    CURLM* multi = nullptr;
    // libcurl would add "Accept: */*" and, for larger bodies, "Expect: 100-continue".
    curl_slist* getHeaders = nullptr;
    curl_slist* postHeaders = nullptr;
    std::atomic<bool> closed{false};
    char errorBuffer[CURL_ERROR_SIZE] = {};
    std::string replyBody;
    bool replyTooLarge = false;
    // Set for the duration of a streamed exchange.
    const StreamedBody* upload = nullptr;
    const ReplySink* sink = nullptr;
    bool uploadAbandoned = false;
    bool sinkRefused = false;

    ~Impl() {
        if (easy) curl_easy_cleanup(easy);
        if (multi) curl_multi_cleanup(multi);
        curl_slist_free_all(getHeaders);
        curl_slist_free_all(postHeaders);
    }

    static size_t onBody(char* data, size_t size, size_t count, void* user) {
        auto* self = static_cast<Impl*>(user);
        const size_t n = size * count;
        if (self->sink) {
            long status = 0;
            curl_easy_getinfo(self->easy, CURLINFO_RESPONSE_CODE, &status);
            if (status >= 200 && status < 300) {
                if ((*self->sink)(data, n)) return n;
                self->sinkRefused = true;
                return 0;
            }
        }
        if (n > self->options.maxReplyBytes - self->replyBody.size()) {
            self->replyTooLarge = true;
            return 0;  // ends the transfer with a write error
        }
        self->replyBody.append(data, n);
        return n;
    }

    static size_t onRead(char* buffer, size_t size, size_t count, void* user) {
        auto* self = static_cast<Impl*>(user);
        const std::optional<size_t> n = self->upload->read(buffer, size * count);
        if (!n) {
            self->uploadAbandoned = true;
            return CURL_READFUNC_ABORT;
        }
        return *n;
    }

    // Options of a streamed exchange; restored by endStream so that later plain requests on
    // the session behave as before.
    void beginStream(curl_slist* headers) {
        curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, kStreamBlock);
        if (sink) curl_easy_setopt(easy, CURLOPT_MAXFILESIZE_LARGE, curl_off_t{0});
        if (upload) {
            curl_easy_setopt(easy, CURLOPT_POST, 1L);
            curl_easy_setopt(easy, CURLOPT_POSTFIELDS, nullptr);
            curl_easy_setopt(easy, CURLOPT_READFUNCTION, &Impl::onRead);
            curl_easy_setopt(easy, CURLOPT_READDATA, this);
            curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE,
                             static_cast<curl_off_t>(upload->size));
            curl_easy_setopt(easy, CURLOPT_UPLOAD_BUFFERSIZE, kStreamBlock);
            curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);
        } else {
            curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
            curl_easy_setopt(easy, CURLOPT_HTTPHEADER, getHeaders);
        }
    }

    void endStream() {
        curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, static_cast<long>(CURL_MAX_WRITE_SIZE));
        curl_easy_setopt(easy, CURLOPT_MAXFILESIZE_LARGE,
                         static_cast<curl_off_t>(options.maxReplyBytes));
        curl_easy_setopt(easy, CURLOPT_READFUNCTION, nullptr);
        curl_easy_setopt(easy, CURLOPT_READDATA, nullptr);
        curl_easy_setopt(easy, CURLOPT_UPLOAD_BUFFERSIZE, kDefaultUploadBlock);
        upload = nullptr;
        sink = nullptr;
    }

    CURLcode configure() {
        CURLcode rc = CURLE_OK;
        const auto set = [&](CURLoption option, auto value) {
            if (rc == CURLE_OK) rc = curl_easy_setopt(easy, option, value);
        };
        set(CURLOPT_NOSIGNAL, 1L);
        set(CURLOPT_USERAGENT, options.agent.c_str());
        set(CURLOPT_ERRORBUFFER, errorBuffer);
        set(CURLOPT_WRITEFUNCTION, &Impl::onBody);
        set(CURLOPT_WRITEDATA, this);
        set(CURLOPT_PROTOCOLS_STR, "http,https");
        set(CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
        set(CURLOPT_FOLLOWLOCATION, 1L);
        set(CURLOPT_MAXREDIRS, kMaxRedirects);
        set(CURLOPT_CONNECTTIMEOUT, static_cast<long>(options.limits.connect.count()));
        set(CURLOPT_LOW_SPEED_LIMIT, 1L);
        set(CURLOPT_LOW_SPEED_TIME, static_cast<long>(options.limits.stall.count()));
        set(CURLOPT_TIMEOUT_MS, static_cast<long>(options.limits.total.count()));
        set(CURLOPT_TCP_KEEPALIVE, 1L);
        set(CURLOPT_TCP_KEEPIDLE, kKeepAliveIdleSeconds);
        set(CURLOPT_TCP_KEEPINTVL, kKeepAliveIntervalSeconds);
        set(CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(options.maxReplyBytes));
        if (options.connection.connectionType != 0) {
            set(CURLOPT_PROXY, proxyText(options.connection).c_str());
            set(CURLOPT_PROXYTYPE, static_cast<long>(CURLPROXY_HTTP));
        }
        return rc;
    }

    void useCredentials(AuthTarget target, const Credentials& credentials) {
        if (target == AuthTarget::Server) {
            curl_easy_setopt(easy, CURLOPT_USERNAME, credentials.user.c_str());
            curl_easy_setopt(easy, CURLOPT_PASSWORD, credentials.password.c_str());
            curl_easy_setopt(easy, CURLOPT_HTTPAUTH, static_cast<unsigned long>(CURLAUTH_ANY));
        } else {
            curl_easy_setopt(easy, CURLOPT_PROXYUSERNAME, credentials.user.c_str());
            curl_easy_setopt(easy, CURLOPT_PROXYPASSWORD, credentials.password.c_str());
            curl_easy_setopt(easy, CURLOPT_PROXYAUTH, static_cast<unsigned long>(CURLAUTH_ANY));
        }
    }

    // Drives the transfer through the multi handle so that close() can wake the wait.
    // Nothing when close() ended it.
    std::optional<CURLcode> perform() {
        if (curl_multi_add_handle(multi, easy) != CURLM_OK) return CURLE_FAILED_INIT;
        CURLcode result = CURLE_OK;
        bool cancelled = false;
        int running = 1;
        for (;;) {
            if (closed.load()) {
                cancelled = true;
                break;
            }
            if (curl_multi_perform(multi, &running) != CURLM_OK) {
                result = CURLE_FAILED_INIT;
                break;
            }
            if (running == 0) break;
            if (curl_multi_poll(multi, nullptr, 0, kPollMilliseconds, nullptr) != CURLM_OK) {
                result = CURLE_FAILED_INIT;
                break;
            }
        }
        int left = 0;
        while (CURLMsg* message = curl_multi_info_read(multi, &left)) {
            if (message->msg == CURLMSG_DONE && message->easy_handle == easy) {
                result = message->data.result;
            }
        }
        curl_multi_remove_handle(multi, easy);
        if (cancelled) return std::nullopt;
        return result;
    }

    std::variant<HttpReply, InternetError> attempt(const std::string& url, const std::string* body,
                                                   PeerCheck check) {
        if (closed.load()) return cancelledError();
        errorBuffer[0] = '\0';
        replyBody.clear();
        replyTooLarge = false;
        uploadAbandoned = false;
        sinkRefused = false;
        curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
        const bool verify = check == PeerCheck::Verify;
        curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, verify ? 1L : 0L);
        curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, verify ? 2L : 0L);
        if (upload || sink) {
            // set by streamExchange
        } else if (body) {
            curl_easy_setopt(easy, CURLOPT_POST, 1L);
            curl_easy_setopt(easy, CURLOPT_POSTFIELDS, body->data());
            curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE,
                             static_cast<curl_off_t>(body->size()));
            curl_easy_setopt(easy, CURLOPT_HTTPHEADER, postHeaders);
        } else {
            curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
            curl_easy_setopt(easy, CURLOPT_HTTPHEADER, getHeaders);
        }
        const std::optional<CURLcode> result = perform();
        if (!result) return cancelledError();
        if (*result == CURLE_OK) {
            HttpReply reply;
            curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &reply.status);
            reply.body = std::move(replyBody);
            replyBody = std::string();
            return reply;
        }
        long connectStatus = 0;
        curl_easy_getinfo(easy, CURLINFO_HTTP_CONNECTCODE, &connectStatus);
        if (connectStatus == 407) return HttpReply{407, {}};  // the proxy refused the tunnel
        if (uploadAbandoned) {
            return InternetError{internet_error::kOperationCancelled,
                                 "The request body ended before its announced size"};
        }
        if (sinkRefused) {
            return InternetError{internet_error::kInternalError, "The reply could not be stored"};
        }
        if (replyTooLarge || *result == CURLE_FILESIZE_EXCEEDED) {
            return InternetError{
                internet_error::kInternalError,
                "The reply is larger than " + std::to_string(options.maxReplyBytes) + " bytes"};
        }
        long verifyResult = 0;
        curl_easy_getinfo(easy, CURLINFO_SSL_VERIFYRESULT, &verifyResult);
        return internetErrorFor(*result, verifyResult, errorBuffer);
    }

    // One exchange, and once more without verification when the certificate was refused
    // only for an unknown authority or a name mismatch.
    std::variant<HttpReply, InternetError> attemptWithCertificateRetry(const std::string& url,
                                                                       const std::string* body) {
        auto outcome = attempt(url, body, PeerCheck::Verify);
        if (const auto* error = std::get_if<InternetError>(&outcome);
            error && (error->code == internet_error::kInvalidCa ||
                      error->code == internet_error::kCertNameInvalid)) {
            outcome = attempt(url, body, PeerCheck::Skip);
        }
        return outcome;
    }

    void trace(const InternetError& error) const {
        if (options.trace) options.trace(formatInternetError(error));
    }
};

Result<std::unique_ptr<InternetSession>> InternetSession::open(Options options) {
    auto impl = std::make_unique<Impl>();
    impl->options = std::move(options);
    const auto fail = [&](std::string text) -> Result<std::unique_ptr<InternetSession>> {
        const InternetError error{internet_error::kInternalError, std::move(text)};
        impl->trace(error);
        return failure(formatInternetError(error));
    };
    const ConnectionSettings& connection = impl->options.connection;
    if (connection.connectionType != 0 &&
        (connection.proxyServer.empty() || connection.proxyPort < 1 ||
         connection.proxyPort > 65535)) {
        return fail("The proxy setting \"" + proxyText(connection) + "\" is not a host and port");
    }
    if (impl->options.limits.connect.count() <= 0 || impl->options.limits.stall.count() <= 0) {
        return fail("Transfer limits must be positive");
    }
    if (const CURLcode rc = globalInit(); rc != CURLE_OK) return fail(curl_easy_strerror(rc));
    impl->easy = curl_easy_init();
    impl->multi = curl_multi_init();
    if (!impl->easy || !impl->multi) return fail("Could not create an HTTP client");
    for (const char* header : {"Accept:", "Expect:"}) {
        impl->getHeaders = curl_slist_append(impl->getHeaders, header);
        impl->postHeaders = curl_slist_append(impl->postHeaders, header);
    }
    impl->postHeaders =
        curl_slist_append(impl->postHeaders, "Content-Type: application/x-www-form-urlencoded");
    if (!impl->getHeaders || !impl->postHeaders) return fail("Out of memory");
    if (const CURLcode rc = impl->configure(); rc != CURLE_OK) return fail(curl_easy_strerror(rc));
    return std::unique_ptr<InternetSession>(new InternetSession(std::move(impl)));
}

InternetSession::InternetSession(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {
}

InternetSession::~InternetSession() = default;

std::variant<HttpReply, InternetError> InternetSession::exchange(const std::string& url,
                                                                 const std::string* body) {
    auto outcome = impl_->attemptWithCertificateRetry(url, body);
    if (const auto* error = std::get_if<InternetError>(&outcome)) impl_->trace(*error);
    return outcome;
}

std::variant<HttpReply, InternetError> InternetSession::streamExchange(const std::string& url,
                                                                       const StreamedBody* upload,
                                                                       const ReplySink* sink) {
    curl_slist* headers = nullptr;
    if (upload) {
        const std::string type = "Content-Type: " + upload->contentType;
        for (const char* header :
             {"Accept:", "Expect:", type.c_str(), "Content-Transfer-Encoding: binary"}) {
            curl_slist* more = curl_slist_append(headers, header);
            if (!more) {
                curl_slist_free_all(headers);
                return InternetError{internet_error::kInternalError, "Out of memory"};
            }
            headers = more;
        }
    }
    impl_->upload = upload;
    impl_->sink = sink;
    impl_->beginStream(headers);
    // A refused certificate ends the handshake before any body byte moved, so the retry
    // starts the streamed bodies afresh.
    std::variant<HttpReply, InternetError> outcome =
        impl_->attemptWithCertificateRetry(url, nullptr);
    impl_->endStream();
    curl_slist_free_all(headers);
    if (const auto* error = std::get_if<InternetError>(&outcome)) impl_->trace(*error);
    return outcome;
}

ReplyHead InternetSession::replyHead() const {
    ReplyHead head;
    char* type = nullptr;
    curl_off_t length = -1;
    curl_easy_getinfo(impl_->easy, CURLINFO_RESPONSE_CODE, &head.status);
    curl_easy_getinfo(impl_->easy, CURLINFO_CONTENT_TYPE, &type);
    curl_easy_getinfo(impl_->easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    head.contentType = type ? type : "";
    head.length = length;
    return head;
}

std::optional<std::string> InternetSession::request(const std::string& url, const std::string* body,
                                                    LineFeeds lineFeeds) {
    lastError_.reset();
    if (url.empty()) return std::nullopt;
    for (;;) {
        auto outcome = exchange(url, body);
        auto* reply = std::get_if<HttpReply>(&outcome);
        if (!reply) {
            lastError_ = std::get<InternetError>(std::move(outcome));
            return std::nullopt;
        }
        if (reply->status == 401 || reply->status == 407) {
            // Each round waits for the user, so the rounds need no limit.
            if (!impl_->options.prompt) return std::nullopt;
            const AuthTarget target = reply->status == 407 ? AuthTarget::Proxy : AuthTarget::Server;
            const auto credentials = impl_->options.prompt->ask(
                target,
                target == AuthTarget::Proxy ? proxyText(impl_->options.connection) : hostOf(url));
            if (!credentials) return std::nullopt;
            impl_->useCredentials(target, *credentials);
            continue;
        }
        std::string text = std::move(reply->body);
        if (lineFeeds == LineFeeds::Remove) std::erase(text, '\n');
        if (text.empty()) return std::nullopt;
        return text;
    }
}

std::string describeInternetError(const InternetError& error,
                                  const std::function<std::string(int)>& text) {
    namespace e = internet_error;
    switch (error.code) {
        case e::kNameNotResolved:
            return text(IDS_NET_HOST_NOT_FOUND);
        case e::kCannotConnect:
            return text(IDS_NET_REFUSED);
        case e::kTimeout:
            return text(IDS_NET_TIMEOUT);
        case e::kInvalidUrl:
            return text(IDS_NET_BAD_ADDRESS);
        case e::kInvalidCa:
        case e::kCertNameInvalid:
        case e::kSecureFailure:
            return text(IDS_NET_CERTIFICATE);
        default: {
            std::string out = text(IDS_NET_OTHER);
            const auto at = out.find("%s");
            return at == std::string::npos ? out : out.replace(at, 2, error.text);
        }
    }
}

void InternetSession::close() {
    impl_->closed.store(true);
    curl_multi_wakeup(impl_->multi);
}

bool InternetSession::closed() const {
    return impl_->closed.load();
}

}  // namespace vellix
