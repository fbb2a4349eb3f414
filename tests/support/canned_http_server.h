// A loopback HTTP server that answers every request with the same raw bytes, for replies the
// sim never sends (line feeds, odd framing) and to see the exact bytes a client wrote.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vellix::test {

class CannedHttpServer {
  public:
    // `reply` goes out verbatim after each request (head plus Content-Length body); the
    // connection is closed afterwards.
    explicit CannedHttpServer(std::string reply);
    ~CannedHttpServer();
    CannedHttpServer(const CannedHttpServer&) = delete;
    CannedHttpServer& operator=(const CannedHttpServer&) = delete;

    uint16_t port() const { return port_; }
    std::string url(const std::string& path_and_query = "/") const;
    // Every request received so far, head and body, byte for byte.
    std::vector<std::string> requests() const;

    // A complete 200 reply with this body and the given content type.
    static std::string ok_reply(const std::string& body,
                                const std::string& content_type = "text/plain");

  private:
    void serve();
    void answer(int fd);

    std::string reply_;
    int listen_fd_ = -1;
    int wake_[2] = {-1, -1};
    uint16_t port_ = 0;
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

}  // namespace vellix::test
