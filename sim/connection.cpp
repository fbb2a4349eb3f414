// One connection: read requests, apply faults, answer, keep alive.
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include "replies.h"
#include "server.h"
#include "transport.h"

namespace vellix::sim {
namespace {

constexpr size_t kReadSize = 256 * 1024;
constexpr size_t kInlineBody = 64 * 1024;
constexpr size_t kMaxLoggedBody = 64 * 1024;
constexpr std::string_view kServerError =
    "HTTP/1.1 500 Internal Server Error\r\nContent-Type: text/xml\r\nContent-Length: 27\r\n"
    "Connection: close\r\n\r\n<error>server error</error>";

void set_socket_options(int fd) {
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    timeval send_timeout{30, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &send_timeout, sizeof send_timeout);
}

constexpr size_t kFileBlock = 256 * 1024;

// A stored file goes out from disk in blocks, never whole in memory.
bool write_file_body(Transport& t, const SpoolFile& file, uint64_t length) {
    const auto block = std::make_unique_for_overwrite<char[]>(kFileBlock);
    for (uint64_t offset = 0; offset < length;) {
        const size_t want = static_cast<size_t>(std::min<uint64_t>(kFileBlock, length - offset));
        const long got = file.read_at(offset, block.get(), want);
        if (got <= 0) return false;
        if (!t.write_all(std::string_view(block.get(), static_cast<size_t>(got)))) return false;
        offset += static_cast<uint64_t>(got);
    }
    return true;
}

// Writes the reply; with `truncate` only half the body goes out under the full length.
bool write_reply(Transport& t, const HttpResponse& reply, bool keep_alive, bool head_only,
                 bool truncate) {
    const size_t length = reply.payload_size();
    const std::string head = serialize_head(reply, length, keep_alive);
    if (reply.file_body) {
        if (!t.write_all(head)) return false;
        return head_only || write_file_body(t, *reply.file_body, truncate ? length / 2 : length);
    }
    const std::string_view payload = reply.payload();
    const std::string_view body = head_only  ? std::string_view()
                                  : truncate ? payload.substr(0, payload.size() / 2)
                                             : payload;
    if (body.size() <= kInlineBody) {
        std::string all = head;
        all.append(body);
        return t.write_all(all);
    }
    return t.write_all(head) && t.write_all(body);
}

}  // namespace

void Server::serve(int fd) {
    set_socket_options(fd);
    std::unique_ptr<Transport> transport;
    if (tls_) {
        timeval handshake_timeout{10, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &handshake_timeout, sizeof handshake_timeout);
        transport = make_tls_transport(fd, tls_);
        timeval none{0, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &none, sizeof none);
    } else {
        transport = make_plain_transport(fd);
    }

    if (transport) try {
            ParserLimits limits;
            limits.max_body = options_.service.max_body;
            RequestParser parser(limits,
                                 [this](const HttpRequest& h) { return service_.body_limit(h); });
            parser.set_spool([this](const HttpRequest& h, unsigned long long length, int& status,
                                    std::string& reason) {
                return service_.spool_for(h, length, status, reason);
            });
            RequestContext context{[t = transport.get()] { return t->peer_gone(); }};
            std::string pending;
            // Left uninitialised: a held long poll should not pay for pages it never reads into.
            const auto chunk = std::make_unique_for_overwrite<char[]>(kReadSize);
            bool open = true;
            while (open && !stopping_) {
                bool continue_sent = false;
                while (parser.state() == RequestParser::State::Incomplete) {
                    if (!pending.empty()) {
                        pending.erase(0, parser.feed(pending));
                    } else {
                        if (!transport->has_buffered() &&
                            !transport->wait_readable(options_.idle_timeout)) {
                            open = false;
                            break;
                        }
                        const ssize_t n = transport->read(chunk.get(), kReadSize);
                        if (n <= 0) {
                            if (parser.head_complete()) service_.body_abandoned(parser.request());
                            open = false;
                            break;
                        }
                        // Fed straight from the read buffer; only bytes of a next request are kept.
                        const std::string_view got(chunk.get(), static_cast<size_t>(n));
                        pending.assign(got.substr(parser.feed(got)));
                    }
                    if (parser.head_complete() && !continue_sent &&
                        parser.state() == RequestParser::State::Incomplete &&
                        parser.request().expects_continue()) {
                        continue_sent = true;
                        if (!transport->write_all("HTTP/1.1 100 Continue\r\n\r\n")) open = false;
                    }
                }
                if (!open) break;
                if (parser.state() == RequestParser::State::Error) {
                    HttpResponse bad =
                        text_reply(parser.error_status(), replies::error(parser.error_text()));
                    write_reply(*transport, bad, false, false, false);
                    break;
                }
                HttpRequest request = parser.take();
                const std::string word = service_.request_word(request);
                std::optional<Fault> fault;
                if (word != "control") {
                    const std::string* agent = request.header("User-Agent");
                    state_.log_request({0, request.method, request.path, request.query,
                                        request.body.substr(0, kMaxLoggedBody),
                                        request.spool ? request.spool->size() : request.body.size(),
                                        agent ? *agent : std::string()});
                    fault = faults_.take(word);
                }
                if (fault && fault->kind == Fault::Kind::Delay) {
                    sleep_unless_stopping(std::chrono::milliseconds(std::max(0LL, fault->value)));
                    fault.reset();
                }
                if (fault && fault->kind == Fault::Kind::Drop) break;
                HttpResponse reply;
                if (fault && fault_skips_handling(fault->kind)) {
                    damage_reply(reply, *fault);
                } else {
                    reply = service_.handle(request, context);
                    if (reply.status == 0) break;  // long poll whose client left
                    if (fault) damage_reply(reply, *fault);
                }
                if (fault && fault->kind == Fault::Kind::Trickle) {
                    // The head at once, then the body a byte at a time, never finishing
                    // sooner than a client's overall deadline would cut it.
                    const std::string_view body = reply.payload();
                    std::string out = serialize_head(reply, body.size(), false);
                    bool sent = transport->write_all(out);
                    const auto gap = std::chrono::milliseconds(1000 / std::max(1LL, fault->value));
                    for (size_t i = 0; sent && i < body.size() && !stopping_; ++i) {
                        sleep_unless_stopping(gap);
                        sent = transport->write_all(body.substr(i, 1));
                    }
                    break;
                }
                const bool truncate = fault && fault->kind == Fault::Kind::Truncate;
                const bool keep_alive =
                    request.keep_alive() && !reply.close && !truncate && !stopping_;
                if (write_reply(*transport, reply, keep_alive, request.method == "HEAD",
                                truncate)) {
                    if (reply.on_written && !truncate) reply.on_written();
                } else if (reply.on_write_failed) {
                    reply.on_write_failed();
                }
                open = keep_alive;
            }
        } catch (const std::exception&) {
            // Out of memory for a body or a reply: this connection ends, the server goes on.
            // The reply is a constant so that sending it needs no memory.
            transport->write_all(kServerError);
        }

    transport.reset();
    std::lock_guard lock(conn_mu_);
    open_fds_.erase(fd);
    ::close(fd);
    --active_;
    conn_cv_.notify_all();
}

}  // namespace vellix::sim
