#pragma once
// Three-way synchronization of two contact stores: each store is compared with its own
// history (its state after the previous run) to tell which side changed or deleted a
// contact since then. Progress goes to the synchronization log, line by line.

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "core/ascii_case.h"
#include "sync/contact_record.h"
#include "sync/contact_source.h"
#include "sync/sync_context.h"
#include "sync/sync_log.h"

namespace vellix {

inline constexpr int SYNCH_MIRROR = 0;  // the remote store is copied onto the local one
inline constexpr int SYNCH_SYNCH = 1;   // two-way

class ContactSyncEngine {
  public:
    static constexpr int kDone = 0;
    static constexpr int kFailed = 3;
    static constexpr int kCancelled = 6;

    ContactSyncEngine(const SyncContext& context, SyncLog& log) : context_(context), log_(log) {}

    // 0 done (single contact errors are only logged), 3 failed, 6 cancelled.
    int Synchronize(int type, ContactSource* remote, ContactSource* local);
    // Stores every current contact of the source as its own history copy, so that the
    // next run treats them as unchanged.
    void PrimeHistory(ContactSource& source);

  private:
    // Emails of a listing; lookups ignore ASCII letter case.
    class EmailSet {
      public:
        explicit EmailSet(const std::vector<std::string>& emails);
        bool Contains(std::string_view email) const;

      private:
        std::unordered_set<std::string_view, NoCaseHash, NoCaseEqual> keys_;  // views into the list
    };

    int synchronizeBoth();
    // One contact of each listing; the remote one may also be in the local listing.
    void syncRemoteContact(const std::string& email, bool isLocal);
    void syncLocalContact(const std::string& email);
    // Drops the history copies of contacts that are in neither listing.
    void forgetVanished(const EmailSet& inRemote, const EmailSet& inLocal);
    int mirror();
    // A contact present in both stores: merges field by field; 0, or 3 when a write or
    // history store failed.
    int mergeFields(const ContactRecord& remote, const ContactRecord& local);
    // Logs the message and answers true when the user asked to stop.
    bool cancelled(std::string_view message = " User cancelled synch, exiting...\n");
    void showStatus(std::string_view label, const std::string& email);
    void forgetHistories(const std::string& email);
    // Removes the contact from one store and, once removed, both history copies.
    void removeAndForget(ContactSource& from, const std::string& email, std::string_view failed,
                         std::string_view removed);
    void rememberHistories(const ContactRecord& record);

    const SyncContext& context_;
    SyncLog& log_;
    ContactSource* remote_ = nullptr;
    ContactSource* local_ = nullptr;
};

}  // namespace vellix
