// Runs Debian's tinyproxy on a free loopback port as the HTTP proxy of a test.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>

namespace vellix::test {

class ProxyProcess {
  public:
    // `basic_auth` "user pass" makes the proxy ask for those credentials (407).
    explicit ProxyProcess(const std::string& basic_auth = {});
    ~ProxyProcess();
    ProxyProcess(const ProxyProcess&) = delete;
    ProxyProcess& operator=(const ProxyProcess&) = delete;

    // False when tinyproxy is missing or never accepted connections; see error().
    bool running() const { return port_ != 0; }
    const std::string& error() const { return error_; }
    uint16_t port() const { return port_; }
    // The proxy's log so far; each forwarded request appears as "Request (...): GET url".
    std::string log() const;

    static constexpr const char* kBinary = "/usr/bin/tinyproxy";

  private:
    void stop();

    pid_t pid_ = -1;
    uint16_t port_ = 0;
    std::string dir_;
    std::string error_;
};

}  // namespace vellix::test
