#include "support/canned_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace vellix::test {
namespace {

constexpr int kReadTimeoutMs = 5000;

size_t content_length(const std::string& head) {
    static const std::string kName = "\r\ncontent-length:";
    std::string lower = head;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const size_t at = lower.find(kName);
    return at == std::string::npos ? 0
                                   : std::strtoul(head.c_str() + at + kName.size(), nullptr, 10);
}

}  // namespace

CannedHttpServer::CannedHttpServer(std::string reply) : reply_(std::move(reply)) {
    listen_fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (listen_fd_ < 0 || ::bind(listen_fd_, reinterpret_cast<sockaddr*>(&addr), len) != 0 ||
        ::listen(listen_fd_, 16) != 0 ||
        ::getsockname(listen_fd_, reinterpret_cast<sockaddr*>(&addr), &len) != 0 ||
        ::pipe(wake_) != 0) {
        throw std::runtime_error("canned HTTP server: cannot listen on loopback");
    }
    port_ = ntohs(addr.sin_port);
    thread_ = std::thread([this] { serve(); });
}

CannedHttpServer::~CannedHttpServer() {
    const char byte = 0;
    (void)!::write(wake_[1], &byte, 1);
    thread_.join();
    ::close(listen_fd_);
    ::close(wake_[0]);
    ::close(wake_[1]);
}

std::string CannedHttpServer::url(const std::string& path_and_query) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path_and_query;
}

std::vector<std::string> CannedHttpServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

std::string CannedHttpServer::ok_reply(const std::string& body, const std::string& content_type) {
    return "HTTP/1.1 200 OK\r\nContent-Type: " + content_type +
           "\r\nContent-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" +
           body;
}

void CannedHttpServer::serve() {
    for (;;) {
        pollfd fds[2] = {{listen_fd_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) continue;
        if (fds[1].revents) return;
        const int fd = ::accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        answer(fd);
        ::close(fd);
    }
}

void CannedHttpServer::answer(int fd) {
    std::string received;
    size_t head_end = std::string::npos;
    char buffer[4096];
    for (;;) {
        if (head_end != std::string::npos &&
            received.size() >= head_end + 4 + content_length(received.substr(0, head_end))) {
            break;
        }
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, kReadTimeoutMs) <= 0) return;
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) return;
        received.append(buffer, static_cast<size_t>(n));
        if (head_end == std::string::npos) head_end = received.find("\r\n\r\n");
    }
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(received);
    }
    size_t sent = 0;
    while (sent < reply_.size()) {
        const ssize_t n = ::send(fd, reply_.data() + sent, reply_.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return;
        sent += static_cast<size_t>(n);
    }
    ::shutdown(fd, SHUT_WR);
}

}  // namespace vellix::test
