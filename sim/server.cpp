#include "server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vellix::sim {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr size_t kStackSize = 4u << 20;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr size_t kStackSize = 4u << 20;
#else
constexpr size_t kStackSize = 256u << 10;
#endif
#else
constexpr size_t kStackSize = 256u << 10;
#endif

constexpr std::string_view kBusy =
    "HTTP/1.1 503 Service Unavailable\r\nContent-Type: text/xml\r\nContent-Length: 26\r\n"
    "Connection: close\r\n\r\n<error>server busy</error>";

}  // namespace

struct ConnectionStart {
    Server* server;
    int fd;
    static void* run(void* arg) {
        std::unique_ptr<ConnectionStart> self(static_cast<ConnectionStart*>(arg));
        self->server->serve(self->fd);
        return nullptr;
    }
};

Server::Server(ServerOptions options, SeedData seed)
    : options_(std::move(options)),
      state_(std::move(seed)),
      service_(state_, faults_, options_.service) {
}

Server::~Server() {
    stop();
    if (tls_) SSL_CTX_free(tls_);
}

std::string Server::url() const {
    return std::string(options_.https ? "https" : "http") +
           "://127.0.0.1:" + std::to_string(port_) + options_.service.path;
}

size_t Server::active_connections() const {
    std::lock_guard lock(conn_mu_);
    return active_;
}

bool Server::start(std::string* error) {
    const auto fail = [&](const std::string& why) {
        if (error) *error = why;
        if (listen_fd_ >= 0) ::close(listen_fd_);
        listen_fd_ = -1;
        return false;
    };
    if (!service_.spool_error().empty()) return fail(service_.spool_error());
    if (options_.https) {
        std::string why;
        tls_ = make_tls_context(options_.tls, why);
        if (!tls_) return fail(why);
    }
    listen_fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listen_fd_ < 0) return fail(std::string("socket: ") + std::strerror(errno));
    const int one = 1;
    ::setsockopt(listen_fd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(options_.port);
    if (::inet_pton(AF_INET, options_.bind.c_str(), &addr.sin_addr) != 1) {
        return fail("bad bind address " + options_.bind);
    }
    if (::bind(listen_fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        return fail(std::string("bind: ") + std::strerror(errno));
    }
    if (::listen(listen_fd_, 1024) != 0)
        return fail(std::string("listen: ") + std::strerror(errno));
    socklen_t len = sizeof addr;
    ::getsockname(listen_fd_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    stopping_ = false;
    acceptor_ = std::thread([this] { accept_loop(); });
    return true;
}

void Server::stop() {
    if (stopping_.exchange(true)) return;
    if (acceptor_.joinable()) acceptor_.join();
    if (listen_fd_ >= 0) ::close(listen_fd_);
    listen_fd_ = -1;
    state_.shutdown();
    std::unique_lock lock(conn_mu_);
    for (int fd : open_fds_) ::shutdown(fd, SHUT_RDWR);
    conn_cv_.wait(lock, [&] { return active_ == 0; });
}

void Server::accept_loop() {
    while (!stopping_) {
        pollfd p{listen_fd_, POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) continue;
        const int fd = ::accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        spawn(fd);
    }
}

void Server::spawn(int fd) {
    {
        std::lock_guard lock(conn_mu_);
        if (active_ >= options_.max_connections) {
            (void)!::send(fd, kBusy.data(), kBusy.size(), MSG_NOSIGNAL);
            ::close(fd);
            return;
        }
        ++active_;
        open_fds_.insert(fd);
    }
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, kStackSize);
    pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
    pthread_t thread;
    auto* start = new ConnectionStart{this, fd};
    const int rc = pthread_create(&thread, &attr, &ConnectionStart::run, start);
    pthread_attr_destroy(&attr);
    if (rc != 0) {
        delete start;
        (void)!::send(fd, kBusy.data(), kBusy.size(), MSG_NOSIGNAL);
        std::lock_guard lock(conn_mu_);
        open_fds_.erase(fd);
        ::close(fd);
        --active_;
        conn_cv_.notify_all();
    }
}

void Server::sleep_unless_stopping(std::chrono::milliseconds ms) {
    const auto end = std::chrono::steady_clock::now() + ms;
    while (!stopping_ && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
            end - std::chrono::steady_clock::now(), std::chrono::milliseconds(50)));
    }
}

}  // namespace vellix::sim
