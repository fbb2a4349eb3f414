#pragma once
// One address-book synchronization run, from opening "synch.log" to closing it: the
// session and store checks, a pass per server folder (public, then private) with the
// engine between the server's list and the local store, the upload, and the history
// files that carry the state to the next run. Runs on the address-book thread; the frame
// decides when a run starts and keeps the timer.

#include <atomic>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/contact_folders_file.h"
#include "sync/contact_source.h"
#include "sync/contacts_settings.h"
#include "sync/sync_log.h"

namespace vellix {

// The application-wide synchronization state; any thread may read it.
struct ContactSyncState {
    std::atomic<bool> running{false};
    std::atomic<bool> cancelRequested{false};
    std::atomic<bool> mayModifyGlobalContacts{false};
};

// The run's server requests; each answers the reply, line feeds kept, or nothing when no
// reply came.
class ContactServer {
  public:
    virtual ~ContactServer() = default;
    virtual std::optional<std::string> checkSession() = 0;
    // folder: "public" or "private".
    virtual std::optional<std::string> fetchContacts(std::string_view folder) = 0;
    virtual std::optional<std::string> storeContacts(std::string_view folder,
                                                     const std::string& body) = 0;
};

struct ContactSyncRunDeps {
    std::string userFolder;  // with its trailing '/'
    std::string sessionId;
    ContactServer* server = nullptr;
    // Null for a store this build cannot open.
    std::function<std::unique_ptr<LocalContactSource>(std::string_view store)> makeLocal;
    ContactSyncState* state = nullptr;
    LocalTimeSource clock = systemLocalTime;
    std::function<void(std::string_view)> showStatus;
};

inline constexpr long long kSyncLogLimit = 1000000;

// How a run ended, for whoever shows it; the log has the details.
enum class ContactSyncOutcome {
    Done,       // every pass stored its result
    Skipped,    // nothing to do or not allowed: no session, no folder, no store for this user
    Failed,     // a pass did not finish; its histories make the next run safe
    Cancelled,  // the user cancelled; the next run merges
};

// The progress line the options page shows: the folder, then the engine's status line.
std::string syncStatusText(std::string_view folder, std::string_view line);

class ContactSyncRun {
  public:
    explicit ContactSyncRun(ContactSyncRunDeps deps);
    ~ContactSyncRun();
    ContactSyncRun(const ContactSyncRun&) = delete;
    ContactSyncRun& operator=(const ContactSyncRun&) = delete;

    ContactSyncOutcome run(const ContactsSettings& settings);

  private:
    struct Pass;
    void openLog();
    void write(std::string_view text);
    // False when the run must end before any store is touched.
    bool mayStart(const ContactsSettings& settings);
    // False when the pass did not store its result.
    bool folderPass(const Pass& pass, LocalContactSource& local);
    bool finishPass(const Pass& pass, int result, const std::string& remoteFile);
    std::string file(std::string_view name) const { return deps_.userFolder + std::string(name); }

    ContactSyncRunDeps deps_;
    std::FILE* logFile_ = nullptr;
    SyncLog log_;
    bool cancelled_ = false;
};

}  // namespace vellix
