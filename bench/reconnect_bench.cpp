// Reconnection figures of the server frame (and its long-poll receiver) against an
// in-process skyloom-sim that goes down, comes back or misbehaves:
//  (a) sim back -> logged in again, median of `runs`, without and with a network-up signal;
//  (b) requests per minute while nothing listens;
//  (c) long polls per second and CPU while every long poll is answered at once;
//  (d) trickling counts reply -> abandoned, against the overall deadline;
//  (e) UM_QUIT_THREAD -> thread end while a login is in flight;
//  (f) the same while the pauses around a new session run (the login answered).
// Waits run at `scale` (Clock) and are reported in nominal seconds where they are timer
// driven; (c) and (e) run at full scale.
//   reconnect_bench [runs=10] [scale=0.1]
#include <QCoreApplication>
#include <QDeadlineTimer>

#include <sys/resource.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "core/frame_registry.h"
#include "core/frame_thread.h"
#include "core/string_table.h"
#include "im/im_receiver.h"
#include "seed.h"
#include "server.h"
#include "server/server_frame.h"
#include "sim_bench_util.h"

using namespace vellix;
using vellix::sim::bench::ms_since;
using vellix::sim::bench::summarize;
using BenchClock = vellix::sim::bench::Clock;
using namespace std::chrono_literals;

namespace {

const std::string kAccount = "alice@demo.local";

std::unique_ptr<sim::Server> startSim(std::uint16_t port) {
    sim::ServerOptions options;
    options.port = port;
    options.service.long_poll_timeout = 30s;
    auto server = std::make_unique<sim::Server>(options, sim::default_seed());
    std::string error;
    // A port just freed can take a moment to be free again.
    for (int i = 0; i < 100 && !server->start(&error); ++i) std::this_thread::sleep_for(20ms);
    return server;
}

std::size_t requestsWith(sim::Server& server, const std::string& word) {
    std::size_t n = 0;
    for (const auto& e : server.state().log_entries())
        if (e.query.find(word) != std::string::npos) ++n;
    return n;
}

template <class Predicate>
bool waitUntil(Predicate predicate, std::chrono::milliseconds timeout) {
    const auto until = BenchClock::now() + timeout;
    while (!predicate()) {
        if (BenchClock::now() > until) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// One server frame on its thread with everything it needs, the receiver included.
struct Rig {
    Rig(const Clock& c, std::string url) : clock(c) {
        AccountSettings a;
        a.url = std::move(url);
        a.user = kAccount;
        a.password = "alice";
        account.set(a);
        statusWord.set(strings.text(IDS_STATUS_ONLINE));
        ImReceiverContext context(clock, frames, session, buddies);
        context.serverUrl = [this] { return account.get().url; };
        context.ownAddress = [this] { return session.get().account; };
        context.text = [this](int id) { return strings.text(id); };
        thread = std::make_unique<FrameThread>(FrameKind::Server, frames, [this, context] {
            ServerFrameDeps deps{.frames = frames,
                                 .session = session,
                                 .statusWord = statusWord,
                                 .account = account,
                                 .accountSettings = settings,
                                 .iniPath = folder + "Vellix.ini",
                                 .dataFolder = folder,
                                 .programFolder = folder,
                                 .folders = folders,
                                 .buddies = buddies,
                                 .users = users,
                                 .text = [this](int id) { return strings.text(id); },
                                 .makeReceiver = imReceiverFactory(context),
                                 .trace = [this](const std::string&) { ++diagnostics; }};
            return std::make_unique<CMainFrame_ServerInterface>(std::move(deps), clock);
        });
        thread->startAndWait();
    }
    ~Rig() { quit(); }
    // Milliseconds from the quit to the thread's end.
    double quit() {
        if (!thread) return 0;
        const auto start = BenchClock::now();
        frames.post(FrameKind::Server, UM_QUIT_THREAD);
        thread->wait();
        thread.reset();
        return ms_since(start);
    }
    bool loggedIn() const { return session.get().loggedIn; }

    const Clock& clock;
    std::string folder = "/tmp/vellix-reconnect-bench-" + std::to_string(::getpid()) + "/";
    FrameRegistry frames;
    Guarded<SessionState> session;
    Guarded<std::string> statusWord;
    Guarded<AccountSettings> account;
    AccountSettingsFile settings;
    FolderTable folders;
    BuddyTable buddies;
    UserList users;
    StringTable strings{Language::English};
    std::atomic<int> diagnostics{0};
    std::unique_ptr<FrameThread> thread;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const double scale = argc > 2 ? std::clamp(std::atof(argv[2]), 0.001, 1.0) : 0.1;
    const Clock scaled(scale);
    const Clock full(1.0);

    // (a) A 20 s outage, then the sim is back; with the signal it comes as the sim does.
    auto server = startSim(0);
    const std::uint16_t port = server->port();
    const std::string url = server->url();
    for (bool signal : {false, true}) {
        std::vector<double> back;
        Rig rig(scaled, url);
        if (!waitUntil([&] { return rig.loggedIn(); }, 20s)) return 1;
        for (int run = 0; run < runs; ++run) {
            server.reset();
            std::this_thread::sleep_for(scaled.scaled(20000ms));
            server = startSim(port);
            const auto start = BenchClock::now();
            if (signal) rig.frames.post(FrameKind::Server, UM_NETWORK_UP);
            if (!waitUntil([&] { return requestsWith(*server, "GetMessageCounts") > 0; }, 60s)) {
                std::fprintf(stderr, "run %d never came back\n", run);
                return 1;
            }
            back.push_back(ms_since(start) / scale / 1000.0);
        }
        const auto s = summarize(back);
        std::printf(
            "(a) sim back -> counts request, %s network-up: median %.1f s, max %.1f s "
            "(nominal, %d runs)\n",
            signal ? "with" : "without", s.median, s.max, runs);
    }

    // (b) Nothing listens: every failed request traces one diagnostic.
    server.reset();
    {
        Rig rig(scaled, url);
        std::this_thread::sleep_for(scaled.scaled(20000ms));  // settled on the cap
        const int before = rig.diagnostics;
        std::this_thread::sleep_for(scaled.scaled(120000ms));
        std::printf("(b) dead server: %.1f requests per minute\n",
                    (rig.diagnostics - before) / 2.0);
    }

    // (c) Every long poll answered at once with an empty reply, at full scale.
    server = startSim(port);
    {
        Rig rig(full, url);
        if (!waitUntil([&] { return server->state().waiting(kAccount) > 0; }, 20s)) return 1;
        server->faults().add("WaitForIM", sim::Fault{sim::Fault::Kind::Empty, 0, -1});
        // The poll held now was taken before the fault: an event ends it, so every poll
        // counted below is answered at once.
        (void)server->state().push_event(kAccount, "<event>ping</event>");
        if (!waitUntil([&] { return server->state().waiting(kAccount) == 0; }, 5s)) return 1;
        const std::size_t polls = requestsWith(*server, "WaitForIM");
        const double cpu = cpuSeconds();
        const auto start = BenchClock::now();
        std::this_thread::sleep_for(30s);
        const double seconds = ms_since(start) / 1000.0;
        std::printf("(c) instant long polls: %.2f long polls/s, CPU %.1f%% over %.0f s\n",
                    static_cast<double>(requestsWith(*server, "WaitForIM") - polls) / seconds,
                    100.0 * (cpuSeconds() - cpu) / seconds, seconds);
        server->faults().clear();
    }

    // (d) A counts reply at 2 bytes/s: from its start to the next request.
    {
        Rig rig(scaled, url);
        if (!waitUntil([&] { return rig.loggedIn(); }, 20s)) return 1;
        server->faults().add("GetMessageCounts", sim::Fault{sim::Fault::Kind::Trickle, 2, 1});
        const std::size_t counts = requestsWith(*server, "GetMessageCounts");
        rig.frames.post(FrameKind::Server, UM_CHECK_NOW);
        if (!waitUntil([&] { return requestsWith(*server, "GetMessageCounts") > counts; }, 10s))
            return 1;
        const auto start = BenchClock::now();
        if (!waitUntil([&] { return requestsWith(*server, "GetMessageCounts") > counts + 1; },
                       300s))
            return 1;
        std::printf("(d) trickling reply abandoned after %.1f s (deadline %.1f s at this scale)\n",
                    ms_since(start) / 1000.0, scaled.scaled(kRequestLimits.total).count() / 1000.0);
    }

    // (e) The quit while a login waits for a 30 s answer, at full scale.
    {
        std::vector<double> quits;
        const std::size_t logins = requestsWith(*server, "GetSession");
        for (int run = 0; run < runs; ++run) {
            server->faults().add("GetSession", sim::Fault{sim::Fault::Kind::Delay, 30000, 1});
            Rig rig(full, url);
            const auto sent = logins + static_cast<std::size_t>(run);
            if (!waitUntil([&] { return requestsWith(*server, "GetSession") > sent; }, 10s))
                return 1;
            quits.push_back(rig.quit());
        }
        const auto s = summarize(quits);
        std::printf(
            "(e) UM_QUIT_THREAD -> thread end, login in flight: median %.1f ms, max %.1f "
            "ms (%d runs)\n",
            s.median, s.max, runs);
    }

    // (f) The quit while the new session's pauses (3 x 500 ms) run, at full scale.
    {
        std::vector<double> quits;
        for (int run = 0; run < runs; ++run) {
            Rig rig(full, url);
            if (!waitUntil([&] { return !rig.session.get().sessionId.empty(); }, 10s)) return 1;
            quits.push_back(rig.quit());
        }
        const auto s = summarize(quits);
        std::printf(
            "(f) UM_QUIT_THREAD -> thread end, new-session pauses running: median %.1f ms, "
            "max %.1f ms (%d runs)\n",
            s.median, s.max, runs);
    }
    return 0;
}
