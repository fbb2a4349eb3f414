// A first and a second synchronization run between skyloom-sim and an empty address book of
// the desktop's address-book service, for 1,000 and 10,000 server contacts: wall time of
// each run (median of three for the second) and the store's calls to the service (folder
// reads, batch writes, one-contact writes). The service runs on a private bus in a scratch
// home (tests/support/eds_session). Other sizes: eds_store_bench 500 2000 ...
#include <libebook/libebook.h>

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "support/eds_session.h"
#include "support/sim_process.h"
#include "sync/contact_sync_run.h"
#include "sync/eds_contact_source.h"
#include "sync/glib_handles.h"
#include "sync/http_contact_server.h"

namespace {

using namespace vellix;

// A new, empty book of the service's own local kind.
bool makeBook(const std::string& name) {
    const glib::Object<ESourceRegistry> registry(e_source_registry_new_sync(nullptr, nullptr));
    if (!registry) return false;
    const glib::Object<ESource> source(e_source_new(nullptr, nullptr, nullptr));
    e_source_set_parent(source.get(), "local-stub");
    e_source_set_display_name(source.get(), name.c_str());
    e_source_backend_set_backend_name(static_cast<ESourceBackend*>(e_source_get_extension(
                                          source.get(), E_SOURCE_EXTENSION_ADDRESS_BOOK)),
                                      "local");
    return e_source_registry_commit_source_sync(registry.get(), source.get(), nullptr, nullptr);
}

double runOnce(const test::SimProcess& sim, const std::string& session,
               const std::string& userFolder, const ContactsSettings& settings,
               EdsContactSource::Calls& calls) {
    HttpContactServer server(
        {.url = sim.url(), .sessionId = session, .connection = {}, .trace = {}});
    ContactSyncState state;
    const auto start = std::chrono::steady_clock::now();
    ContactSyncRun({.userFolder = userFolder,
                    .sessionId = session,
                    .server = &server,
                    .makeLocal = [&](auto) { return std::make_unique<EdsContactSource>(&calls); },
                    .state = &state,
                    .clock = systemLocalTime,
                    .showStatus = {}})
        .run(settings);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

void print(const char* what, int contacts, double ms, const EdsContactSource::Calls& calls) {
    std::printf("%-34s %6d contacts %9.1f ms   reads %d  batches %d  single %d\n", what, contacts,
                ms, calls.queries, calls.batches, calls.single);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const auto& eds = test::EdsSession::shared();
    if (!eds.error().empty()) {
        std::fprintf(stderr, "address-book service: %s\n", eds.error().c_str());
        return 1;
    }
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) counts.push_back(std::atoi(argv[i]));
    if (counts.empty()) counts = {1000, 10000};
    for (const int count : counts) {
        test::TempFolder user;
        {
            std::ofstream seed(user.file("seed.ini"));
            seed << "[account bench@demo.local]\npassword = bench\n";
            for (int i = 0; i < count; ++i)
                seed << "contact = user" << i << "@example.com|First" << i << " Last" << i << "\n";
        }
        test::SimProcess sim({"--seed", user.file("seed.ini")});
        const std::string book = "Bench " + std::to_string(count);
        if (!sim.running() || !makeBook(book)) {
            std::fprintf(stderr, "no sim or no book: %s\n", sim.error().c_str());
            return 1;
        }
        const std::string session = sim.login("bench@demo.local", "bench");
        ContactsSettings settings;
        settings.enableSync = true;
        settings.syncPublic = false;
        settings.privateFolder = book;
        EdsContactSource::Calls first;
        print("first run into an empty book", count,
              runOnce(sim, session, user.path() + "/", settings, first), first);
        for (const char* history : {"private-local.xml", "private-remote.xml"})
            if (!user.exists(history)) std::printf("  (no %s after the first run)\n", history);
        std::vector<double> times;
        EdsContactSource::Calls second;
        for (int i = 0; i < 3; ++i) {
            second = {};
            times.push_back(runOnce(sim, session, user.path() + "/", settings, second));
        }
        std::ranges::sort(times);
        print("second run, nothing changed", count, times[1], second);
    }
    return 0;
}
