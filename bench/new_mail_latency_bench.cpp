// From a counts reply with new mail to the tray showing it, in process: the real note frame
// and tray frame on their own threads, as vellix runs them, and a tray host that records
// when each picture reaches it. Each round puts the tray back to "connected" (picture 232),
// then does what the server frame does once a counts reply has been read: merges the folders
// into the folder table and posts UM_COUNTS_READY to the note frame. The interval ends when
// the host is handed the first blink picture (234). It leaves out the HTTP exchange (see
// check_cycle_bench) and the Qt tray icon's own drawing, which no trace line shows.
// The vellix trace ("note 1029" to "tray 1028") would bound only the note frame's part,
// with pipe-read jitter, and the server's own state-1 post races with it.
//   new_mail_latency_bench [rounds=50]
#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "core/frame_thread.h"
#include "timing_tray_host.h"
#include "tray/note_frame.h"
#include "tray/tray_frame.h"

namespace {

using namespace vellix;
using SteadyClock = std::chrono::steady_clock;

class NoWindows final : public NoteWindows {
  public:
    void showNote(std::vector<FolderStatus>) override {}
    void showDisconnect(std::string) override {}
    void closeDisconnect() override {}
    void showAlert(std::optional<std::string>) override {}
};

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    QCoreApplication app(argc, argv);
    const Clock clock;
    FrameRegistry registry;
    bench::TimingTrayHost host;
    NoWindows windows;
    FolderTable folders;
    NotificationState notes;
    Guarded<SessionState> session;
    AccountSettingsFile settings;
    const StringTable strings(Language::English);
    TrayFrameDeps trayDeps{clock, registry, host, folders, notes, session, settings, "", strings};
    FrameThread tray(FrameKind::Tray, registry,
                     [&] { return std::make_unique<CMainFrame>(trayDeps); });
    NoteFrameDeps noteDeps{registry, folders, notes, settings, strings, windows};
    FrameThread note(FrameKind::Note, registry,
                     [&] { return std::make_unique<CMainFrame_Note>(clock, noteDeps); });
    tray.startAndWait();
    note.startAndWait();

    std::vector<double> micros;
    FolderStatus inbox;
    inbox.name = inbox.displayName = "INBOX";
    for (int i = 0; i < rounds; ++i) {
        postTrayState(registry, TrayState::Connected);
        host.waitForIcon(232);
        inbox.total = inbox.unread = inbox.newCount = inbox.recent = i + 1;
        const auto start = SteadyClock::now();
        folders.merge({inbox});
        registry.post(FrameKind::Note, UM_COUNTS_READY);
        const auto shown = host.waitForIcon(234);
        micros.push_back(std::chrono::duration<double, std::micro>(shown - start).count());
    }
    registry.post(FrameKind::Note, UM_QUIT_THREAD);
    registry.post(FrameKind::Tray, UM_QUIT_THREAD);
    note.wait();
    tray.wait();

    std::sort(micros.begin(), micros.end());
    std::printf(
        "counts merged + UM_COUNTS_READY -> note pass -> tray state 2 -> blink picture at the "
        "host, %d rounds: median %.1f us, p99 %.1f us, max %.1f us\n",
        rounds, micros[micros.size() / 2],
        micros[std::min(micros.size() - 1, micros.size() * 99 / 100)], micros.back());
    return 0;
}
