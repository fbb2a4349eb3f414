// The options window's figures, offscreen: the time to open it the first time in a process
// (cold) and again (warm), and the time from Apply on the Server page to a logged-in
// session against an in-process skyloom-sim, through the real server frame.
// Usage: options_window_bench [runs]
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <thread>

#include "core/frame_thread.h"
#include "seed.h"
#include "server.h"
#include "server/server_frame.h"
#include "sim_bench_util.h"
#include "ui/options_frame.h"
#include "ui/standard_pages.h"

namespace vellix {
namespace {

using bench = sim::bench::Clock;

struct Program {
    QTemporaryDir dir;
    vellix::Clock clock{1.0};
    FrameRegistry frames;
    StringTable strings{Language::English};
    FolderTable folders;
    NotificationState notifications;
    Guarded<SessionState> session;
    Guarded<AccountSettings> account;
    AccountSettingsFile accountSettings;
    Guarded<std::string> statusWord;
    BuddyTable buddies;
    UserList users;
    std::string folder() const { return dir.path().toStdString() + "/"; }
    OptionsContext context() {
        return OptionsContext{.frames = frames,
                              .strings = strings,
                              .folders = folders,
                              .notifications = notifications,
                              .session = session,
                              .account = account,
                              .accountSettings = accountSettings,
                              .iniPath = folder() + "Vellix.ini",
                              .programFolder = folder(),
                              .dataFolder = folder(),
                              .executablePath = folder() + "vellix"};
    }
};

void fillFolders(FolderTable& table, int count) {
    std::vector<FolderStatus> list;
    for (int i = 0; i < count; ++i) {
        FolderStatus f;
        f.name = f.displayName = "Folder " + std::to_string(i);
        list.push_back(f);
    }
    table.merge(list);
}

// Opens the window on every page once (so each page is built and shown), then closes it.
double openOnce(OptionsFrame& options) {
    const auto start = bench::now();
    Property_MainSheet* sheet = options.open("Skyloom");
    for (int i = 0; i < sheet->pageCount(); ++i) sheet->page(i)->grab();
    const double ms = sim::bench::ms_since(start);
    sheet->reject();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return ms;
}

void setField(QWidget* page, int labelId, const std::string& text, const OptionsContext& c) {
    for (auto* label : page->findChildren<QLabel*>()) {
        if (label->text() != c.text(labelId)) continue;
        if (auto* edit = qobject_cast<QLineEdit*>(label->buddy())) {
            edit->setText(QString::fromStdString(text));
            Q_EMIT edit->textEdited(edit->text());
        }
    }
}

double applyToConnected(const std::string& url) {
    Program p;
    FrameThread server(FrameKind::Server, p.frames, [&p] {
        return std::make_unique<CMainFrame_ServerInterface>(
            ServerFrameDeps{.frames = p.frames,
                            .session = p.session,
                            .statusWord = p.statusWord,
                            .account = p.account,
                            .accountSettings = p.accountSettings,
                            .iniPath = p.folder() + "Vellix.ini",
                            .dataFolder = p.folder(),
                            .programFolder = p.folder(),
                            .folders = p.folders,
                            .buddies = p.buddies,
                            .users = p.users,
                            .text = [&p](int id) { return p.strings.text(id); }},
            p.clock);
    });
    server.startAndWait();
    OptionsFrame options(OptionsFrameDeps{.context = p.context(), .pages = standardOptionsPages()},
                         p.clock);
    Property_MainSheet* sheet = options.open("Skyloom");
    const OptionsContext c = p.context();
    setField(sheet->activePage(), IDS_SERVER_URL, url, c);
    setField(sheet->activePage(), IDS_SERVER_ACCOUNT, "alice@demo.local", c);
    setField(sheet->activePage(), IDS_SERVER_PASSWORD, "alice", c);
    const auto start = bench::now();
    double ms = -1;
    if (sheet->apply()) {
        while (!p.session.get().loggedIn && sim::bench::ms_since(start) < 20000) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        if (p.session.get().loggedIn) ms = sim::bench::ms_since(start);
    }
    p.frames.post(FrameKind::Server, UM_QUIT_THREAD);
    server.wait();
    return ms;
}

}  // namespace
}  // namespace vellix

int main(int argc, char** argv) {
    using namespace vellix;
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;

    Program p;
    p.session.update([](SessionState& s) {
        s.loggedIn = true;
        s.sessionId = "S";
        s.messagingEnabled = true;
    });
    fillFolders(p.folders, 50);
    OptionsFrame options(OptionsFrameDeps{.context = p.context(), .pages = standardOptionsPages()},
                         p.clock);
    const double cold = openOnce(options);
    std::vector<double> warm;
    for (int i = 0; i < runs; ++i) warm.push_back(openOnce(options));
    const auto w = sim::bench::summarize(warm);
    std::printf(
        "open options window, all 5 pages, 50 folders: cold %.1f ms, warm median %.1f ms "
        "(p99 %.1f, %d runs)\n",
        cold, w.median, w.p99, runs);

    sim::Server sim(sim::ServerOptions{}, sim::default_seed());
    std::string error;
    if (!sim.start(&error)) {
        std::fprintf(stderr, "sim start failed: %s\n", error.c_str());
        return 1;
    }
    std::vector<double> apply;
    for (int i = 0; i < runs; ++i) {
        const double ms = applyToConnected(sim.url());
        if (ms < 0) {
            std::fprintf(stderr, "run %d did not log in\n", i);
            return 1;
        }
        apply.push_back(ms);
    }
    const auto a = sim::bench::summarize(apply);
    std::printf(
        "Server page Apply to logged in (first run, in-process sim): median %.1f ms "
        "(p99 %.1f, %d runs)\n",
        a.median, a.p99, runs);
    return 0;
}
