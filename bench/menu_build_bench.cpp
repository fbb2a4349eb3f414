// Tray menu build time for a large account, and the QMenu made from it.
#include <benchmark/benchmark.h>

#include <QMenu>

#include "tray/menu_model.h"
#include "tray/windows/qt_menu_host.h"

namespace vellix {
namespace {

MenuSnapshot largeAccount(int folders, int perMenu) {
    MenuSnapshot s;
    s.hasSession = s.messaging = s.calendar = true;
    s.folderInMenu = perMenu;
    s.statusWord = "Online";
    for (int i = 0; i < folders; ++i) {
        FolderStatus f;
        f.name = f.displayName = "Folder & " + std::to_string(i);
        f.total = 1000 + i;
        f.unread = i;
        f.newCount = i % 7 == 0 ? 1 : 0;
        s.folders.push_back(f);
    }
    for (int i = 0; i < 50; ++i) {
        s.buddies.push_back({"b" + std::to_string(i) + "@x", "Buddy " + std::to_string(i),
                             i % 2 ? "Online" : "Offline"});
    }
    return s;
}

void BM_BuildMenu(benchmark::State& state) {
    const StringTable strings(Language::English);
    const MenuSnapshot snapshot =
        largeAccount(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) benchmark::DoNotOptimize(buildMenu(snapshot, strings));
}
BENCHMARK(BM_BuildMenu)->Args({300, 10})->Args({300, 0})->Args({25, 10});

void BM_MakeQMenu(benchmark::State& state) {
    const StringTable strings(Language::English);
    const MenuModel model = buildMenu(largeAccount(static_cast<int>(state.range(0)), 10), strings);
    for (auto _ : state) benchmark::DoNotOptimize(makeQMenu(model));
}
BENCHMARK(BM_MakeQMenu)->Arg(300)->Arg(25)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vellix
