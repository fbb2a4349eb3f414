// From a posted UM_SERVER_STATE 2 to the tray host showing the blink picture, with the real
// tray frame on its own thread and a host that only records. Prints median and p99.
#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <vector>

#include "core/frame_thread.h"
#include "timing_tray_host.h"
#include "tray/tray_frame.h"

namespace {

using namespace vellix;
using SteadyClock = std::chrono::steady_clock;

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const Clock clock;
    FrameRegistry registry;
    bench::TimingTrayHost host;
    FolderTable folders;
    FolderStatus inbox;
    inbox.name = "Inbox";
    inbox.newCount = 2;
    folders.merge({inbox});
    NotificationState notes;
    Guarded<SessionState> session;
    AccountSettingsFile settings;
    const StringTable strings(Language::English);
    TrayFrameDeps deps{clock, registry, host, folders, notes, session, settings, "", strings};
    FrameThread thread(FrameKind::Tray, registry,
                       [&] { return std::make_unique<CMainFrame>(deps); });
    thread.startAndWait();

    constexpr int kRounds = 5000;
    std::vector<double> micros;
    micros.reserve(kRounds);
    for (int i = 0; i < kRounds; ++i) {
        postTrayState(registry, TrayState::Connected);
        host.waitForIcon(232);  // the connected frame: no animation has run
        const auto start = SteadyClock::now();
        postTrayState(registry, TrayState::NewMail);
        const auto shown = host.waitForIcon(234);
        micros.push_back(std::chrono::duration<double, std::micro>(shown - start).count());
    }
    registry.post(FrameKind::Tray, UM_QUIT_THREAD);
    thread.wait();

    std::sort(micros.begin(), micros.end());
    std::printf(
        "tray state 2 -> blink picture shown, %d rounds: median %.1f us, p99 %.1f us, "
        "max %.1f us\n",
        kRounds, micros[micros.size() / 2], micros[micros.size() * 99 / 100], micros.back());
    return 0;
}
