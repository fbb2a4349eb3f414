// One check cycle (login refresh, counts, status on a fresh session, buddy list) through
// InternetSession against the real skyloom-sim, beside the same four requests made by the
// curl command line (one curl process per round, the four URLs joined with --next). Then
// the time from close() until a blocked long poll's exchange() returns.
//   check_cycle_bench [rounds=200] [close_runs=50]
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "server/internet_session.h"
#include "sim_bench_util.h"

extern char** environ;

using namespace vellix;
using vellix::sim::bench::Clock;
using vellix::sim::bench::ms_since;
using vellix::sim::bench::SimChild;
using vellix::sim::bench::summarize;

namespace {

constexpr const char* kUser = "alice@demo.local";
constexpr const char* kLoginBody = "User=alice%40demo.local&Password=alice";
constexpr const char* kToken = "bench";

std::unique_ptr<InternetSession> openSession(const char* agent, TransferLimits limits) {
    InternetSession::Options options;
    options.agent = agent;
    options.limits = limits;
    // The long polls end cancelled on purpose; only the other sessions report failures.
    if (limits.stall != kLongPollLimits.stall) {
        options.trace = [](const std::string& line) { std::fputs(line.c_str(), stderr); };
    }
    auto session = InternetSession::open(std::move(options));
    if (!session.ok()) {
        std::fprintf(stderr, "%s\n", session.error().c_str());
        std::exit(1);
    }
    return std::move(session).value();
}

struct CycleUrls {
    std::string login, counts, status, buddies;
};

CycleUrls cycleUrls(const std::string& server, const std::string& session) {
    const std::string base = server + "?Session=" + session + "&View=StatusCheck&";
    return {base + "GetSession=Yes", base + "GetMessageCounts=Yes", base + "SetStatus=Online",
            base + "GetBuddyList=Yes"};
}

bool runCycle(InternetSession& server, const CycleUrls& urls) {
    const std::string body = kLoginBody;
    bool ok = server.request(urls.login, &body).has_value();
    ok = server.request(urls.counts, nullptr).has_value() && ok;
    auto status = openSession("VellixStatus", kRequestLimits);
    ok = status->request(urls.status, nullptr).has_value() && ok;
    ok = server.request(urls.buddies, nullptr).has_value() && ok;
    return ok;
}

bool runCurlCycle(const CycleUrls& urls) {
    std::vector<std::string> args = {"-sSf", "-o",      "/dev/null", "-A",       "Vellix",
                                     "-H",   "Accept:", "-d",        kLoginBody, urls.login};
    const auto next = [&](const char* agent, const std::string& url) {
        args.insert(args.end(),
                    {"--next", "-sSf", "-o", "/dev/null", "-A", agent, "-H", "Accept:", url});
    };
    next("Vellix", urls.counts);
    next("VellixStatus", urls.status);
    next("Vellix", urls.buddies);
    return vellix::sim::bench::run_curl(std::move(args));
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 200;
    const int closeRuns = argc > 2 ? std::atoi(argv[2]) : 50;
    SimChild sim;
    if (!sim.start({"--control-token", kToken}, VELLIX_BINARY_DIR)) {
        std::fprintf(stderr, "skyloom-sim did not start\n");
        return 1;
    }
    auto server = openSession("Vellix", kRequestLimits);
    const std::string body = kLoginBody;
    const auto login = server->request(sim.url + "?View=StatusCheck&GetSession=Yes", &body);
    const size_t at = login ? login->find("<session>") : std::string::npos;
    if (at == std::string::npos) {
        std::fprintf(stderr, "login failed\n");
        return 1;
    }
    const std::string session = login->substr(at + 9, login->find("</session>") - at - 9);
    const CycleUrls urls = cycleUrls(sim.url, session);

    std::vector<double> ours, cli;
    for (int i = 0; i < rounds + 10; ++i) {
        auto start = Clock::now();
        if (!runCycle(*server, urls)) return std::fprintf(stderr, "cycle failed\n"), 1;
        const double a = ms_since(start);
        start = Clock::now();
        if (!runCurlCycle(urls)) return std::fprintf(stderr, "curl cycle failed\n"), 1;
        const double b = ms_since(start);
        if (i >= 10) {  // warm-up rounds are not counted
            ours.push_back(a);
            cli.push_back(b);
        }
    }
    const auto o = summarize(ours);
    const auto c = summarize(cli);
    std::printf("check cycle, 4 requests, %d rounds (loopback, sim as a process)\n", rounds);
    std::printf("  InternetSession:      median %.3f ms  p99 %.3f ms\n", o.median, o.p99);
    std::printf("  curl CLI (1 process): median %.3f ms  p99 %.3f ms\n", c.median, c.p99);
    std::printf("  ratio curl/InternetSession: %.1fx\n", c.median / o.median);

    // close() latency: a WaitForIM held by the sim, ended from this thread.
    auto control = openSession("bench", kRequestLimits);
    const std::string waiting = sim.url.substr(0, sim.url.find('/', 8)) +
                                "/_sim/waiting?token=" + kToken +
                                "&account=" + "alice%40demo.local";
    const std::string pollUrl = sim.url + "?Session=" + session + "&View=StatusCheck&WaitForIM=Yes";
    std::vector<double> latencies;
    for (int i = 0; i < closeRuns; ++i) {
        auto poll = openSession("VellixIM", kLongPollLimits);
        std::atomic<bool> cancelled{false};
        Clock::time_point returned;
        std::thread receiver([&] {
            const auto outcome = poll->exchange(pollUrl, nullptr);
            returned = Clock::now();
            const auto* error = std::get_if<InternetError>(&outcome);
            cancelled = error && error->code == internet_error::kOperationCancelled;
        });
        const auto deadline = Clock::now() + std::chrono::seconds(5);
        while (control->request(waiting, nullptr).value_or("") != "1" && Clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        const auto closedAt = Clock::now();
        poll->close();
        receiver.join();
        if (!cancelled) return std::fprintf(stderr, "long poll was not cancelled\n"), 1;
        latencies.push_back(std::chrono::duration<double, std::milli>(returned - closedAt).count());
    }
    const auto l = summarize(latencies);
    std::printf(
        "close() to exchange() return, held long poll, %d runs: median %.3f ms  p99 %.3f "
        "ms  max %.3f ms\n",
        closeRuns, l.median, l.p99, l.max);
    return 0;
}
