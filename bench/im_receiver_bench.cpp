// Event receiver figures against an in-process skyloom-sim:
//  (a) stop() to thread end while the receiver waits in its long poll;
//  (b) events per second from a full queue to the window-handler frame.
//   im_receiver_bench [runs=50] [events=2000]
#include <QCoreApplication>

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "core/frame_registry.h"
#include "core/frame_thread.h"
#include "core/string_table.h"
#include "im/im_receiver.h"
#include "seed.h"
#include "server.h"
#include "server/buddy_table.h"
#include "sim_bench_util.h"

using namespace vellix;
using vellix::sim::bench::ms_since;
using vellix::sim::bench::summarize;
using BenchClock = vellix::sim::bench::Clock;
using namespace std::chrono_literals;

namespace {

class CountingFrame final : public Frame {
  public:
    explicit CountingFrame(const Clock& clock) : Frame("bench window handler", clock) {}
    bool waitFor(std::size_t count, std::chrono::seconds timeout) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [&] { return delivered_ >= count; });
    }

  protected:
    LResult handleMessage(Message& message) override {
        if (message.id != UM_DELIVER_IM) return Frame::handleMessage(message);
        {
            std::lock_guard lock(mutex_);
            ++delivered_;
        }
        changed_.notify_all();
        return 0;
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t delivered_ = 0;
};

bool waitForPoll(sim::Server& server, const std::string& account) {
    const auto until = BenchClock::now() + std::chrono::seconds(10);
    while (server.state().waiting(account) < 1) {
        if (BenchClock::now() > until) return false;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    const int events = argc > 2 ? std::clamp(std::atoi(argv[2]), 1, 10000) : 2000;
    const std::string account = "alice@demo.local";

    sim::ServerOptions options;
    options.service.long_poll_timeout = std::chrono::minutes(5);
    sim::Server server(options, sim::default_seed());
    std::string error;
    if (!server.start(&error)) {
        std::fprintf(stderr, "sim start failed: %s\n", error.c_str());
        return 1;
    }
    const std::string session = server.state().login(account, "alice", nullptr, false).session;

    const Clock clock(1.0);
    FrameRegistry registry;
    CountingFrame* counter = nullptr;
    FrameThread handler(FrameKind::WindowHandler, registry, [&] {
        auto frame = std::make_unique<CountingFrame>(clock);
        counter = frame.get();
        return frame;
    });
    handler.startAndWait();
    SessionState signedIn;
    signedIn.sessionId = session;
    signedIn.account = account;
    Guarded<SessionState> state(signedIn);
    BuddyTable buddies;
    ImReceiverContext context(clock, registry, state, buddies);
    context.serverUrl = [&] { return server.url(); };
    context.ownAddress = [&] { return account; };

    std::vector<double> stopMs;
    for (int i = 0; i < runs; ++i) {
        CWinThread_IMHttp receiver(context);
        if (!waitForPoll(server, account)) {
            std::fprintf(stderr, "no long poll in run %d\n", i);
            return 1;
        }
        const auto start = BenchClock::now();
        receiver.stop();
        if (!receiver.waitEnded(std::chrono::seconds(10))) {
            std::fprintf(stderr, "receiver did not end in run %d\n", i);
            return 1;
        }
        stopMs.push_back(ms_since(start));
        // Let the sim drop the closed poll before the next run counts waiting polls.
        while (server.state().waiting(account) > 0) std::this_thread::sleep_for(1ms);
    }
    const auto s = summarize(stopMs);
    std::printf(
        "stop while waiting in the long poll, %d runs: median %.3f ms, p99 %.3f ms, "
        "max %.3f ms\n",
        runs, s.median, s.p99, s.max);

    const std::string message =
        "<message><to>alice@demo.local</to><from>bob@demo.local</from><subject></subject>"
        "<message_text>aGVsbG8gdGhlcmU=</message_text></message>";
    for (int i = 0; i < events; ++i) server.state().push_event(account, message);
    const auto start = BenchClock::now();
    CWinThread_IMHttp receiver(context);
    const bool all = counter->waitFor(static_cast<std::size_t>(events), std::chrono::seconds(120));
    const double ms = ms_since(start);
    receiver.stop();
    receiver.waitEnded(std::chrono::seconds(10));
    if (!all) {
        std::fprintf(stderr, "not all %d events arrived\n", events);
        return 1;
    }
    std::printf("dispatch of %d queued messages: %.1f ms, %.0f messages/s (one long poll each)\n",
                events, ms, events * 1000.0 / ms);
    server.stop();
    return 0;
}
