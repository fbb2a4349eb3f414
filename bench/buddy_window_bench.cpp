// Buddy window refresh with 1,000 buddies: the grouping alone, and the whole refresh the
// server frame's UM_REFRESH_BUDDIES causes (table copy, grouping, tree rebuilt in a shown
// window on the offscreen platform). Google Benchmark prints the median of the repetitions.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "core/string_table.h"
#include "im/buddy_window_frame.h"
#include "im/windows/buddy_window.h"

namespace vellix {
namespace {

std::vector<BuddyRecord> manyBuddies(int count) {
    constexpr const char* kWords[] = {"Online", "Away", "Offline", "Invisible"};
    std::vector<BuddyRecord> out;
    for (int i = 0; i < count; ++i) {
        out.push_back({"buddy" + std::to_string(i) + "@demo.local", "Buddy " + std::to_string(i),
                       kWords[i % 4]});
    }
    return out;
}

void BM_GroupBuddies(benchmark::State& state) {
    const auto buddies = manyBuddies(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        bool firstFill = true;
        benchmark::DoNotOptimize(groupBuddies(buddies, "Offline", "Away", firstFill));
    }
}
BENCHMARK(BM_GroupBuddies)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_RefreshBuddyWindow(benchmark::State& state) {
    const Clock clock;
    FrameRegistry registry;
    const StringTable strings(Language::English);
    BuddyTable buddies;
    FolderTable folders;
    Guarded<SessionState> session;
    session.update([](SessionState& s) {
        s.sessionId = "S";
        s.messagingEnabled = true;
    });
    Guarded<std::string> statusWord;
    std::atomic<bool> manual{false};
    buddies.replace(manyBuddies(static_cast<int>(state.range(0))));
    BuddyWindowFrame frame(BuddyWindowDeps{
                               .frames = registry,
                               .buddies = buddies,
                               .folders = folders,
                               .session = session,
                               .statusWord = statusWord,
                               .manualStatus = manual,
                               .text = [&strings](int id) { return strings.text(id); },
                               .iniPath = {},
                               .defaultInWindow = {},
                               .trayAvailable = {},
                               .makeView =
                                   [&strings](BuddyWindowActions& actions) {
                                       return std::make_unique<CProperty_VX_Sheet>(
                                           strings, actions, CProperty_VX_Sheet::Hooks{});
                                   },
                           },
                           clock);
    frame.view()->showAndRaise();
    QApplication::processEvents();
    // On the frame's own thread a send is the handler run directly.
    for (auto _ : state) frame.send(UM_REFRESH_BUDDIES);
}
BENCHMARK(BM_RefreshBuddyWindow)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace vellix
