// Figures for the address-book file and the synchronization engine:
// - ReadXml / WriteXml throughput on a 100,000-contact file, beside a general XML parser
//   (pugixml) loading the same file, alone and turning it into records;
// - Synchronize with full histories on both sides at 1,000, 10,000 and 100,000 contacts
//   per side (the complexity fit shows whether time grows linearly);
// - peak resident memory (maxrss_MB) after each benchmark; run one size alone with
//   --benchmark_filter to get that size's own peak.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <filesystem>
#include <memory>
#include <pugixml.hpp>
#include <string>

#include "contact_bench_data.h"
#include "support/memory_contact_source.h"
#include "sync/contact_list.h"
#include "sync/contact_sync_engine.h"
#include "sync/contact_xml.h"

namespace {

using vellix::ContactList;
using vellix::ContactRecord;
using vellix::bench::makeContact;
using vellix::bench::recordPeakMemory;

constexpr int kFileContacts = 100000;

// The 100,000-contact file, written once per process in a scratch folder.
class ContactFile {
  public:
    static ContactFile& instance() {
        static ContactFile file;
        return file;
    }
    const std::string& path() const { return path_; }
    const ContactList& list() const { return list_; }
    std::int64_t bytes() const { return bytes_; }
    ~ContactFile() {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

  private:
    ContactFile() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vellix-bench-XXXXXX");
        if (!mkdtemp(pattern.data())) std::abort();
        dir_ = pattern;
        path_ = (dir_ / "contacts.xml").string();
        for (int i = 0; i < kFileContacts; ++i) list_.Append(makeContact(i));
        if (!list_.WriteXml(path_)) std::abort();
        bytes_ = static_cast<std::int64_t>(std::filesystem::file_size(path_));
    }
    std::filesystem::path dir_;
    std::string path_;
    ContactList list_;
    std::int64_t bytes_ = 0;
};

void BM_ReadXml(benchmark::State& state) {
    const auto& file = ContactFile::instance();
    for (auto _ : state) {
        ContactList list;
        if (!list.ReadXml(file.path())) state.SkipWithError("read failed");
        benchmark::DoNotOptimize(list.size());
    }
    state.SetBytesProcessed(state.iterations() * file.bytes());
    state.SetItemsProcessed(state.iterations() * kFileContacts);
    recordPeakMemory(state);
}
BENCHMARK(BM_ReadXml)->Unit(benchmark::kMillisecond);

void BM_WriteXml(benchmark::State& state) {
    const auto& file = ContactFile::instance();
    const std::string target = file.path() + ".out";
    for (auto _ : state) {
        if (!file.list().WriteXml(target)) state.SkipWithError("write failed");
    }
    state.SetBytesProcessed(state.iterations() * file.bytes());
    state.SetItemsProcessed(state.iterations() * kFileContacts);
    recordPeakMemory(state);
}
BENCHMARK(BM_WriteXml)->Unit(benchmark::kMillisecond);

void BM_PugixmlLoad(benchmark::State& state) {
    const auto& file = ContactFile::instance();
    for (auto _ : state) {
        pugi::xml_document document;
        if (!document.load_file(file.path().c_str())) state.SkipWithError("pugixml failed");
        benchmark::DoNotOptimize(document.first_child());
    }
    state.SetBytesProcessed(state.iterations() * file.bytes());
    state.SetItemsProcessed(state.iterations() * kFileContacts);
    recordPeakMemory(state);
}
BENCHMARK(BM_PugixmlLoad)->Unit(benchmark::kMillisecond);

// The same load, then every element turned into a record, as our reader does.
void BM_PugixmlLoadToRecords(benchmark::State& state) {
    const auto& file = ContactFile::instance();
    for (auto _ : state) {
        pugi::xml_document document;
        if (!document.load_file(file.path().c_str())) state.SkipWithError("pugixml failed");
        ContactList list;
        for (auto node : document.child("addressBook").children("contact")) {
            ContactRecord record;
            vellix::ContactTexts texts{};
            for (std::size_t i = 0; i < texts.size(); ++i) {
                texts[i] = node.child(vellix::kContactXmlTags[i].data()).child_value();
            }
            record.setTexts(texts);
            record.imapUID = vellix::parseImapUid(
                node.child(vellix::kContactXmlTags[vellix::kImapUidTag].data()).child_value());
            list.Add(std::move(record));
        }
        benchmark::DoNotOptimize(list.size());
    }
    state.SetBytesProcessed(state.iterations() * file.bytes());
    state.SetItemsProcessed(state.iterations() * kFileContacts);
    recordPeakMemory(state);
}
BENCHMARK(BM_PugixmlLoadToRecords)->Unit(benchmark::kMillisecond);

// Both sides hold n contacts with full histories; a tenth changed on each side, a
// twentieth deleted on each side and a twentieth new on each side.
void fillStores(int n, vellix::MemoryContactSource& remote, vellix::MemoryContactSource& local) {
    for (int i = 0; i < n; ++i) {
        const ContactRecord record = makeContact(i);
        const bool goneRemotely = i % 20 == 1;
        const bool goneLocally = i % 20 == 2;
        remote.history().Append(record);
        local.history().Append(record);
        if (!goneRemotely) {
            ContactRecord r = record;
            if (i % 10 == 3) r.setBusPhone("changed on the server");
            remote.contacts().Append(r);
        }
        if (!goneLocally) {
            ContactRecord l = record;
            if (i % 10 == 4) l.setComment("changed locally");
            local.contacts().Append(l);
        }
    }
    for (int i = n; i < n + n / 20; ++i) {
        remote.contacts().Append(makeContact(i));
        local.contacts().Append(makeContact(i + n));
    }
}

void BM_Synchronize(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    vellix::SyncContext context;
    context.folderName = "Private";
    std::size_t logBytes = 0;
    vellix::SyncLog log([&](std::string_view line) { logBytes += line.size(); });
    for (auto _ : state) {
        state.PauseTiming();
        auto remote = std::make_unique<vellix::MemoryContactSource>();
        auto local = std::make_unique<vellix::MemoryContactSource>();
        fillStores(n, *remote, *local);
        state.ResumeTiming();

        vellix::ContactSyncEngine engine(context, log);
        if (engine.Synchronize(vellix::SYNCH_SYNCH, remote.get(), local.get()) != 0) {
            state.SkipWithError("synchronization failed");
        }

        state.PauseTiming();
        remote.reset();
        local.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * n);
    state.SetComplexityN(n);
    state.counters["log_MB_per_run"] =
        static_cast<double>(logBytes) / 1048576.0 / static_cast<double>(state.iterations());
    recordPeakMemory(state);
}
BENCHMARK(BM_Synchronize)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
