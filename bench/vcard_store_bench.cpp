// Figures for a synchronization run into a vCard-folder store: the first run into an empty
// address book (1,000 and 10,000 server contacts, one card file each) and a second run
// with nothing changed on either side. Each prints the run's time and the card files it
// wrote (created or replaced, counted by inode and modification time).
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <string>
#include <utility>

#include "contact_bench_data.h"
#include "support/temp_folder.h"
#include "sync/address_book_frame.h"
#include "sync/contact_list.h"

namespace {

namespace fs = std::filesystem;
using vellix::bench::makeContact;

// The server: one public list, every store accepted.
class ListServer final : public vellix::ContactServer {
  public:
    explicit ListServer(std::string list) : list_(std::move(list)) {}
    std::optional<std::string> checkSession() override { return "<groupwareenabled>no"; }
    std::optional<std::string> fetchContacts(std::string_view) override { return list_; }
    std::optional<std::string> storeContacts(std::string_view, const std::string&) override {
        return "<result>success</result>";
    }

  private:
    std::string list_;
};

// A scratch home with a user folder and a vCard root holding one empty address book.
class Home {
  public:
    explicit Home(int contacts) {
        std::string pattern = (fs::temp_directory_path() / "vellix-vcard-bench-XXXXXX");
        if (!mkdtemp(pattern.data())) std::abort();
        root_ = pattern;
        reset();
        vellix::ContactList list;
        for (int i = 0; i < contacts; ++i) list.Append(makeContact(i));
        const std::string file = (root_ / "server.xml").string();
        if (!list.WriteXml(file)) std::abort();
        server_ = std::make_unique<ListServer>(vellix::test::readFile(file));
        settings_.enableSync = true;
        settings_.synchWith = vellix::kStoreVcardFolders;
        settings_.vcardFolders = (root_ / "books").string();
        settings_.publicFolder = "Public";
        settings_.syncPrivate = false;
    }
    ~Home() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    // An empty address book and no histories: the next run is a first run.
    void reset() {
        std::error_code ignored;
        fs::remove_all(root_ / "books", ignored);
        fs::remove_all(root_ / "user", ignored);
        fs::create_directories(root_ / "books" / "Public");
        fs::create_directories(root_ / "user");
    }
    bool run() {
        vellix::ContactSyncRun run(vellix::ContactSyncRunDeps{
            .userFolder = (root_ / "user").string() + "/",
            .sessionId = "S1",
            .server = server_.get(),
            .makeLocal =
                [this](std::string_view) {
                    return vellix::openLocalContactStore(settings_, false);
                },
            .state = &state_,
            .clock = vellix::systemLocalTime,
            .showStatus = {},
        });
        return run.run(settings_) == vellix::ContactSyncOutcome::Done;
    }
    // Each card's identity: a rename over it or a rewrite changes one of the two.
    std::map<std::string, std::pair<ino_t, long long>> cards() const {
        std::map<std::string, std::pair<ino_t, long long>> out;
        for (const auto& entry : fs::directory_iterator(root_ / "books" / "Public")) {
            struct stat st {};
            if (::stat(entry.path().c_str(), &st) != 0) continue;
            out[entry.path().filename().string()] = {
                st.st_ino,
                static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec};
        }
        return out;
    }

  private:
    fs::path root_;
    std::unique_ptr<ListServer> server_;
    vellix::ContactsSettings settings_;
    vellix::ContactSyncState state_;
};

int written(const std::map<std::string, std::pair<ino_t, long long>>& before,
            const std::map<std::string, std::pair<ino_t, long long>>& after) {
    int count = 0;
    for (const auto& [name, id] : after) {
        const auto it = before.find(name);
        if (it == before.end() || it->second != id) ++count;
    }
    return count;
}

void BM_VcardFirstRun(benchmark::State& state) {
    Home home(static_cast<int>(state.range(0)));
    int files = 0;
    for (auto _ : state) {
        state.PauseTiming();
        home.reset();
        state.ResumeTiming();
        if (!home.run()) state.SkipWithError("run failed");
        state.PauseTiming();
        files = written({}, home.cards());
        state.ResumeTiming();
    }
    state.counters["files_written"] = files;
    vellix::bench::recordPeakMemory(state);
}
BENCHMARK(BM_VcardFirstRun)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_VcardSecondRun(benchmark::State& state) {
    Home home(static_cast<int>(state.range(0)));
    if (!home.run()) state.SkipWithError("first run failed");
    int files = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const auto before = home.cards();
        state.ResumeTiming();
        if (!home.run()) state.SkipWithError("run failed");
        state.PauseTiming();
        files += written(before, home.cards());
        state.ResumeTiming();
    }
    state.counters["files_written_per_run"] =
        static_cast<double>(files) / static_cast<double>(state.iterations());
    vellix::bench::recordPeakMemory(state);
}
BENCHMARK(BM_VcardSecondRun)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
