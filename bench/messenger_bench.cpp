// Conversation figures. Alice is this program: the real messaging frame and messenger
// windows on the offscreen platform. Bob is a real vellix process. Both talk through an
// in-process skyloom-sim on loopback.
//  - latency: from the Send command in alice's window until the text is in bob's display
//    (seen as the line his window logs right after showing it), median and p99;
//  - open: from the window handler's open call to the window shown, median over the windows;
//  - memory: resident memory added per open window, over 20 windows.
//   messenger_bench [messages=200] [windows=20]
#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextEdit>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "core/frame_thread.h"
#include "core/password_codec.h"
#include "im/messaging_frame.h"
#include "im/windows/messenger_windows.h"
#include "seed.h"
#include "server.h"
#include "sim_bench_util.h"

namespace {

using namespace vellix;
using sim::bench::ms_since;
using sim::bench::summarize;
using BenchClock = sim::bench::Clock;

std::string tail(const std::string& path, std::uintmax_t from) {
    std::ifstream in(path, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(from));
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Starts bob's vellix in its own folders; false when it never holds a long poll.
bool startBob(QProcess& bob, const QTemporaryDir& home, sim::Server& server) {
    const QString root = home.path();
    std::filesystem::create_directories(root.toStdString() + "/config/Vellix");
    std::ofstream(root.toStdString() + "/config/Vellix/Vellix.ini")
        << "[Vellix]\nURL=" << server.url() << "\nLastEntry=1\nLastUser=1\nUser1=bob@demo.local\n"
        << "Password1=" << encodePassword("bob") << "\nPwdSaveFlag1=YES\n";
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* folder : {"config", "data", "runtime", "home"}) {
        QDir(root).mkpath(QLatin1String(folder));
    }
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), root + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), root + QStringLiteral("/data"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), root + QStringLiteral("/runtime"));
    env.insert(QStringLiteral("HOME"), root + QStringLiteral("/home"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // Traced, so the wait below sees his buddy list arrive; QProcess buffers what follows.
    env.insert(QStringLiteral("VELLIX_TRACE"), QStringLiteral("1"));
    bob.setProcessEnvironment(env);
    bob.start(QStringLiteral(VELLIX_BINARY_DIR "/bin/vellix"), {});
    const auto until = BenchClock::now() + std::chrono::seconds(30);
    while (server.state().waiting("bob@demo.local") < 1) {
        if (BenchClock::now() > until || bob.state() == QProcess::NotRunning) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    // Until his buddy list is read, a window would carry alice's bare address as its title.
    std::string trace;
    while (trace.find("message buddy window 33434") == std::string::npos) {
        if (BenchClock::now() > until || bob.state() == QProcess::NotRunning) return false;
        bob.waitForReadyRead(50);
        trace += bob.readAllStandardError().toStdString();
    }
    return true;
}

template <class Done>
bool spin(Done done, std::chrono::seconds limit = std::chrono::seconds(10)) {
    const auto until = BenchClock::now() + limit;
    while (!done()) {
        if (BenchClock::now() > until) return false;
        QApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int messages = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const int windowCount = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;

    sim::ServerOptions options;
    sim::Server server(options, sim::default_seed());
    std::string error;
    if (!server.start(&error)) {
        std::fprintf(stderr, "sim start failed: %s\n", error.c_str());
        return 1;
    }
    QTemporaryDir bobHome, aliceHome;
    QProcess bob;
    if (!startBob(bob, bobHome, server)) {
        std::fprintf(stderr, "bob's vellix did not connect\n");
        return 1;
    }

    const Clock clock(1.0);
    FrameRegistry registry;
    SessionState signedIn;
    signedIn.sessionId = server.state().login("alice@demo.local", "alice", nullptr, false).session;
    signedIn.account = "alice@demo.local";
    signedIn.displayName = "Alice Archer";
    Guarded<SessionState> session(signedIn);
    Guarded<std::string> statusWord(std::string("online"));
    AccountSettingsFile accountSettings;
    BuddyTable buddies;
    WindowTable table;
    const StringTable strings(Language::English);
    const std::string url = server.url();
    FrameThread messaging(FrameKind::Messaging, registry, [&] {
        return std::make_unique<CMainFrame_IMInterface>(MessagingFrameDeps{
            .clock = clock,
            .session = session,
            .serverUrl = [&] { return url; },
            .connection = [] { return ConnectionSettings{}; },
        });
    });
    messaging.startAndWait();
    const std::string root = aliceHome.path().toStdString();
    MessengerWindows windows(MessengerContext{
        .frames = registry,
        .table = table,
        .buddies = buddies,
        .session = session,
        .statusWord = statusWord,
        .accountSettings = accountSettings,
        .iniPath = root + "/Vellix.ini",
        .dataFolder = root + "/",
        .strings = strings,
        .serverUrl = [&] { return url; },
    });

    // Window opening and memory: the first window warms up fonts and styles.
    std::vector<double> openMs;
    BenchClock::time_point asked;
    QObject::connect(&windows, &MessengerWindows::windowOpened,
                     [&](MessengerWindow*) { openMs.push_back(ms_since(asked)); });
    auto open = [&](ConversationId id, const std::string& address) {
        asked = BenchClock::now();
        windows.open({id, address, {{address, address, "Online"}}, std::nullopt});
        spin([&] { return windows.windows().size() >= id; });
        QApplication::processEvents();
    };
    open(1, "bob@demo.local");
    openMs.clear();
    const long before = sim::bench::rss_kib();
    for (int i = 0; i < windowCount; ++i) {
        open(static_cast<ConversationId>(i + 2), "peer" + std::to_string(i) + "@demo.local");
    }
    const long after = sim::bench::rss_kib();

    // Latency: Send in alice's window to the line in bob's history.
    // Latency: Send in alice's window to the line in bob's history.
    MessengerWindow* toBob = windows.windows().front();
    const std::string bobHistory =
        bobHome.path().toStdString() + "/data/Vellix/bob@demo.local/History/Alice Archer.log";
    std::vector<double> latency;
    for (int i = 0; i < messages; ++i) {
        const std::string text = "bench message " + std::to_string(i);
        std::error_code ec;
        const auto offset = std::filesystem::exists(bobHistory, ec)
                                ? std::filesystem::file_size(bobHistory, ec)
                                : std::uintmax_t{0};
        toBob->input()->setPlainText(QString::fromStdString(text));
        const auto start = BenchClock::now();
        toBob->send();
        const std::string line = " " + text + "\r\n";
        if (!spin([&] { return tail(bobHistory, offset).find(line) != std::string::npos; })) {
            std::fprintf(stderr, "message %d never reached bob's window; bob's files:\n", i);
            for (const auto& f :
                 std::filesystem::recursive_directory_iterator(bobHome.path().toStdString())) {
                std::fprintf(stderr, "  %s\n", f.path().c_str());
            }
            return 1;
        }
        latency.push_back(ms_since(start));
    }

    const auto l = summarize(latency);
    const auto o = summarize(openMs);
    std::printf("send to bob's display: %d messages, median %.2f ms, p99 %.2f ms, max %.2f ms\n",
                messages, l.median, l.p99, l.max);
    std::printf("window open: %d windows, median %.2f ms, p99 %.2f ms\n", windowCount, o.median,
                o.p99);
    std::printf("memory: %ld KiB for %d windows, %.0f KiB per window\n", after - before,
                windowCount, static_cast<double>(after - before) / windowCount);

    bob.terminate();
    bob.waitForFinished(10000);
    registry.post(FrameKind::Messaging, UM_QUIT_THREAD);
    messaging.wait();
    server.stop();
    return 0;
}
