// How many WaitForIM long polls skyloom-sim holds at once on this machine, what they cost,
// and how fast one event each reaches all of them.
//   sim_long_polls [count=1000]
#include <poll.h>

#include <cstdlib>

#include "server.h"
#include "sim_bench_util.h"

using namespace vellix::sim;
using namespace vellix::sim::bench;

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 1000;
    raise_fd_limit();
    SeedData seed;
    for (int i = 0; i < count; ++i) {
        AccountSeed a;
        a.address = "u" + std::to_string(i) + "@bench.local";
        a.password = "p";
        a.name = a.address;
        a.flags = {"instantmessaging"};
        seed.accounts.push_back(a);
    }
    ServerOptions options;
    options.service.long_poll_timeout = std::chrono::minutes(5);
    options.max_connections = static_cast<size_t>(count) + 64;
    Server server(options, seed);
    std::string error;
    if (!server.start(&error)) {
        std::fprintf(stderr, "start failed: %s\n", error.c_str());
        return 1;
    }
    std::vector<std::string> sessions;
    for (const auto& a : seed.accounts) {
        sessions.push_back(server.state().login(a.address, "p", nullptr, false).session);
    }

    const long rss_before = rss_kib();
    const auto start = Clock::now();
    std::vector<int> fds;
    for (const auto& s : sessions) {
        const int fd = connect_loopback(server.port());
        if (fd < 0 || !send_all(fd, "GET /skyloom/app.dll?Session=" + s +
                                        "&View=StatusCheck&WaitForIM=Yes HTTP/1.1\r\nHost: x\r\n"
                                        "User-Agent: VellixIM\r\n\r\n")) {
            std::fprintf(stderr, "connection %zu failed\n", fds.size());
            break;
        }
        fds.push_back(fd);
    }
    int held = 0;
    while (ms_since(start) < 120000) {
        held = 0;
        for (const auto& a : seed.accounts) held += server.state().waiting(a.address);
        if (held == count) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    const double setup_ms = ms_since(start);
    const long rss_held = rss_kib();

    const auto fan_start = Clock::now();
    for (const auto& a : seed.accounts)
        server.state().push_event(a.address, "<message>x</message>");
    std::vector<pollfd> polls;
    for (int fd : fds) polls.push_back({fd, POLLIN, 0});
    int answered = 0;
    std::vector<char> buf(4096);
    while (answered < static_cast<int>(fds.size()) && ms_since(fan_start) < 60000) {
        if (::poll(polls.data(), polls.size(), 1000) <= 0) continue;
        for (auto& p : polls) {
            if (p.fd >= 0 && (p.revents & POLLIN) && ::recv(p.fd, buf.data(), buf.size(), 0) > 0) {
                ++answered;
                p.fd = -p.fd - 1;  // replies are small: one read holds the whole reply
            }
        }
    }
    const double fan_ms = ms_since(fan_start);
    for (int fd : fds) ::close(fd);
    const auto stop_start = Clock::now();
    server.stop();

    std::printf("long polls requested      %d\n", count);
    std::printf("long polls held at once   %d\n", held);
    std::printf("time to hold them all     %.1f ms\n", setup_ms);
    std::printf("memory while held         %+ld KiB (%.1f KiB per poll, client sockets included)\n",
                rss_held - rss_before,
                static_cast<double>(rss_held - rss_before) / std::max(held, 1));
    std::printf("one event to every poll   %.1f ms for %d replies (%.1f us each)\n", fan_ms,
                answered, fan_ms * 1000.0 / std::max(answered, 1));
    std::printf("server stop               %.1f ms\n", ms_since(stop_start));
    return held == count && answered == count ? 0 : 1;
}
