// skyloom-sim's HTTP server: one listening socket on loopback and a thread per connection
// with a small stack, so that a thousand held long polls stay cheap.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>

#include "faults.h"
#include "service.h"
#include "sim_state.h"
#include "tls_context.h"

namespace vellix::sim {

struct ServerOptions {
    std::string bind = "127.0.0.1";
    uint16_t port = 0;  // 0: any free port
    ServiceConfig service;
    bool https = false;
    TlsSetup tls;
    size_t max_connections = 4096;
    std::chrono::milliseconds idle_timeout{60000};  // keep-alive connection without a request
};

class Server {
  public:
    Server(ServerOptions options, SeedData seed);
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    // Binds and starts accepting; false with a reason on failure.
    bool start(std::string* error = nullptr);
    uint16_t port() const { return port_; }
    // Ends every connection and long poll and waits for their threads.
    void stop();

    SimState& state() { return state_; }
    FaultTable& faults() { return faults_; }
    Service& service() { return service_; }
    const ServerOptions& options() const { return options_; }
    // "http://127.0.0.1:<port>/skyloom/app.dll" (https when TLS is on).
    std::string url() const;

    size_t active_connections() const;

  private:
    friend struct ConnectionStart;
    void accept_loop();
    void spawn(int fd);
    void serve(int fd);
    void sleep_unless_stopping(std::chrono::milliseconds ms);

    ServerOptions options_;
    SimState state_;
    FaultTable faults_;
    Service service_;
    SSL_CTX* tls_ = nullptr;
    int listen_fd_ = -1;
    uint16_t port_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread acceptor_;
    mutable std::mutex conn_mu_;
    std::condition_variable conn_cv_;
    std::set<int> open_fds_;
    size_t active_ = 0;
};

}  // namespace vellix::sim
