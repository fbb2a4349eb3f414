// Mirror: the remote store is copied onto the local one; local contacts the remote store
// does not have are removed.
#include "sync/contact_sync_engine.h"

namespace vellix {

int ContactSyncEngine::mirror() {
    log_.Write(" Mirroring contact sources\n");
    std::vector<std::string> remoteEmails;
    std::vector<std::string> localEmails;
    if (remote_->ListEmails(remoteEmails) != 0) {
        log_.Write(" Error reading remote source contact list\n");
        return kFailed;
    }
    if (cancelled()) return kCancelled;
    if (local_->ListEmails(localEmails) != 0) {
        log_.Write(" Error reading local source contact list\n");
        return kFailed;
    }
    if (cancelled()) return kCancelled;
    const EmailSet inRemote(remoteEmails);
    const EmailSet inLocal(localEmails);

    for (const auto& email : remoteEmails) {
        // This one check has always logged without the leading space.
        if (cancelled("User cancelled synch, exiting...\n")) return kCancelled;
        log_.WriteEmail(" Synching remote source contact:", email);
        showStatus("Synching remote source contact:", email);
        ContactRecord record;
        if (remote_->GetContact(email, record) != 0) {
            log_.Write(" Error reading contact from remote source\n");
            continue;
        }
        if (cancelled()) return kCancelled;
        const bool isLocal = inLocal.Contains(email);
        if (cancelled()) return kCancelled;
        bool stored = false;
        if (isLocal) {
            stored = local_->UpdateContact(record) == 0;
            log_.Write(stored ? " Mirrored remote contact over the existing local contact\n"
                              : " Error mirroring remote contact over existing local contact\n");
        } else {
            stored = local_->AddContact(record) == 0;
            log_.Write(stored ? " Created contact in local source\n"
                              : " Error creating contact in local source\n");
        }
        if (stored && remote_->HistoryPut(record) != 0) {
            log_.Write(" Error setting previous contact in remote history.\n");
        }
    }

    for (const auto& email : localEmails) {
        if (cancelled()) return kCancelled;
        log_.WriteEmail(" Synching local source contact:", email);
        showStatus("Synching local source contact:", email);
        if (cancelled()) return kCancelled;
        const bool isRemote = inRemote.Contains(email);
        if (cancelled()) return kCancelled;
        if (!isRemote) {
            log_.Write(
                " The contact does not exist in the remote source and will now be removed "
                "from the local source\n");
            removeAndForget(*local_, email, " Error deleting contact from local source\n",
                            " Removed contact from local source\n");
        } else {
            ContactRecord record;
            if (local_->GetContact(email, record) != 0) {
                log_.Write(" Error reading contact from local source\n");
            } else {
                local_->HistoryPut(record);
            }
        }
    }
    return kDone;
}

}  // namespace vellix
