#include "support/proxy_process.h"

#include "support/child_process.h"
#include "support/temp_folder.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace vellix::test {
namespace {

uint16_t free_loopback_port() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    uint16_t port = 0;
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&addr), len) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) == 0) {
        port = ntohs(addr.sin_port);
    }
    if (fd >= 0) ::close(fd);
    return port;
}

bool accepts(uint16_t port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    ::close(fd);
    return ok;
}

}  // namespace

ProxyProcess::ProxyProcess(const std::string& basic_auth) {
    if (::access(kBinary, X_OK) != 0) {
        error_ = std::string(kBinary) + " is not installed (scripts/setup.sh installs it)";
        return;
    }
    char dir_template[] = "/tmp/vellix-proxy-XXXXXX";
    if (!::mkdtemp(dir_template)) {
        error_ = "no temporary folder";
        return;
    }
    dir_ = dir_template;
    const uint16_t port = free_loopback_port();
    const std::string config = dir_ + "/tinyproxy.conf";
    {
        std::ofstream out(config);
        out << "Port " << port << "\nListen 127.0.0.1\nAllow 127.0.0.1\nTimeout 30\n"
            << "MaxClients 50\nDisableViaHeader Yes\nLogLevel Connect\n"
            << "LogFile \"" << dir_ << "/tinyproxy.log\"\n";
        if (!basic_auth.empty()) out << "BasicAuth " << basic_auth << "\n";
    }
    pid_ = ::fork();
    if (pid_ == 0) {
        const int null_fd = ::open("/dev/null", O_RDWR);
        ::dup2(null_fd, STDOUT_FILENO);
        ::dup2(null_fd, STDERR_FILENO);
        ::execl(kBinary, kBinary, "-d", "-c", config.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        if (accepts(port)) {
            port_ = port;
            return;
        }
        if (pid_ > 0 && ::waitpid(pid_, nullptr, WNOHANG) == pid_) {
            pid_ = -1;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    error_ = "tinyproxy did not accept connections on port " + std::to_string(port);
    stop();
}

ProxyProcess::~ProxyProcess() {
    stop();
    if (!dir_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
}

void ProxyProcess::stop() {
    endChild(pid_, std::chrono::seconds(2));
}

std::string ProxyProcess::log() const {
    return readFile(dir_ + "/tinyproxy.log");
}

}  // namespace vellix::test
