// A connected socket, plain or TLS, as the connection loop sees it.
#pragma once

#include <chrono>
#include <memory>
#include <string_view>

#include <sys/types.h>

using SSL_CTX = struct ssl_ctx_st;

namespace vellix::sim {

class Transport {
  public:
    virtual ~Transport() = default;
    // Blocking read of at most `size` bytes; 0 at end of stream, -1 on error or time-out.
    virtual ssize_t read(char* data, size_t size) = 0;
    virtual bool write_all(std::string_view data) = 0;
    // Bytes already decrypted and waiting (TLS), so the caller must not wait on the socket.
    virtual bool has_buffered() const { return false; }
    int fd() const { return fd_; }

    // Waits until the socket is readable; false on time-out or hang-up without data.
    bool wait_readable(std::chrono::milliseconds timeout) const;
    // The peer has closed or reset its end.
    bool peer_gone() const;

  protected:
    explicit Transport(int fd) : fd_(fd) {}
    int fd_;
};

std::unique_ptr<Transport> make_plain_transport(int fd);
// Runs the server side of the TLS handshake; nothing when it fails.
std::unique_ptr<Transport> make_tls_transport(int fd, SSL_CTX* context);

}  // namespace vellix::sim
