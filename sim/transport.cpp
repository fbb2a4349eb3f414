#include "transport.h"

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>

namespace vellix::sim {
namespace {

class PlainTransport final : public Transport {
  public:
    explicit PlainTransport(int fd) : Transport(fd) {}

    ssize_t read(char* data, size_t size) override {
        while (true) {
            const ssize_t n = ::recv(fd_, data, size, 0);
            if (n < 0 && errno == EINTR) continue;
            return n;
        }
    }

    bool write_all(std::string_view data) override {
        while (!data.empty()) {
            const ssize_t n = ::send(fd_, data.data(), data.size(), MSG_NOSIGNAL);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            data.remove_prefix(static_cast<size_t>(n));
        }
        return true;
    }
};

class TlsTransport final : public Transport {
  public:
    TlsTransport(int fd, SSL* ssl) : Transport(fd), ssl_(ssl) {}
    ~TlsTransport() override {
        SSL_shutdown(ssl_);
        SSL_free(ssl_);
    }

    ssize_t read(char* data, size_t size) override {
        const int n = SSL_read(ssl_, data, static_cast<int>(std::min<size_t>(size, 1 << 30)));
        if (n > 0) return n;
        return SSL_get_error(ssl_, n) == SSL_ERROR_ZERO_RETURN ? 0 : -1;
    }

    bool write_all(std::string_view data) override {
        while (!data.empty()) {
            const int n = SSL_write(ssl_, data.data(),
                                    static_cast<int>(std::min<size_t>(data.size(), 1 << 20)));
            if (n <= 0) return false;
            data.remove_prefix(static_cast<size_t>(n));
        }
        return true;
    }

    bool has_buffered() const override { return SSL_pending(ssl_) > 0; }

  private:
    SSL* ssl_;
};

}  // namespace

bool Transport::wait_readable(std::chrono::milliseconds timeout) const {
    pollfd p{fd_, POLLIN, 0};
    while (true) {
        const int n = ::poll(&p, 1, static_cast<int>(timeout.count()));
        if (n < 0 && errno == EINTR) continue;
        return n > 0;
    }
}

bool Transport::peer_gone() const {
    pollfd p{fd_, POLLRDHUP, 0};
    return ::poll(&p, 1, 0) > 0 && (p.revents & (POLLRDHUP | POLLHUP | POLLERR | POLLNVAL));
}

std::unique_ptr<Transport> make_plain_transport(int fd) {
    return std::make_unique<PlainTransport>(fd);
}

std::unique_ptr<Transport> make_tls_transport(int fd, SSL_CTX* context) {
    SSL* ssl = SSL_new(context);
    if (!ssl) return nullptr;
    SSL_set_fd(ssl, fd);
    if (SSL_accept(ssl) != 1) {
        ERR_clear_error();
        SSL_free(ssl);
        return nullptr;
    }
    return std::make_unique<TlsTransport>(fd, ssl);
}

}  // namespace vellix::sim
