// A contact present in both stores: each of the numbered fields is decided on its own.
// A side whose value differs from its history changed it; the server wins when both did.
// Without a usable history a non-empty value wins over an empty one, the server's first.
#include "sync/contact_sync_engine.h"

namespace vellix {

int ContactSyncEngine::mergeFields(const ContactRecord& remote, const ContactRecord& local) {
    // The server's own item data (imapUID, TNEF, group) stays with the merged contact, so
    // an update never strips the server item of its identity.
    ContactRecord merged = remote;
    ContactTexts values = remote.texts();
    bool writeRemote = false;
    bool writeLocal = false;
    bool historyRead = false;
    bool haveRemoteHistory = false;
    bool haveLocalHistory = false;
    ContactRecord remoteHistory;
    ContactRecord localHistory;
    const std::string email(remote.email());

    for (int i = 0; i < ContactRecord::kFieldCount; ++i) {
        const auto field = *contactFieldText(i);
        const std::string_view r = remote.text(field);
        const std::string_view l = local.text(field);
        if (r == l) continue;
        if (!historyRead) {
            historyRead = true;
            haveRemoteHistory = remote_->HistoryGet(email, remoteHistory) == 0;
            if (!haveRemoteHistory) {
                log_.WriteEmail(" Error getting previous contact from remote source for contact:",
                                email);
            }
            const std::string localEmail(local.email());
            haveLocalHistory = local_->HistoryGet(localEmail, localHistory) == 0;
            if (!haveLocalHistory) {
                log_.WriteEmail(" Error getting previous contact from local source for contact:",
                                localEmail);
            }
        }
        const bool remoteChanged = haveRemoteHistory && remoteHistory.text(field) != r;
        const bool localChanged = haveLocalHistory && localHistory.text(field) != l;
        auto& value = values[static_cast<std::size_t>(field)];
        if (remoteChanged || (!localChanged && !r.empty())) {
            value = r;
            writeLocal = true;
        } else {
            // Changed locally, or r and l differ with r empty, so l is not empty.
            value = l;
            writeRemote = true;
        }
    }
    merged.setTexts(values);

    int result = kDone;
    bool remoteUpdated = false;
    if (writeRemote) {
        remoteUpdated = remote_->UpdateContact(merged) == 0;
        if (!remoteUpdated) {
            log_.Write(" Error writing synched contact to remote source\n");
            result = kFailed;
        }
    }
    if (remote_->HistoryPut(remoteUpdated ? merged : remote) != 0) {
        log_.Write(" Error setting previous contact in remote history\n");
        result = kFailed;
    }

    bool localUpdated = false;
    if (writeLocal) {
        localUpdated = local_->UpdateContact(merged) == 0;
        if (!localUpdated) {
            log_.Write(" Error writing synched contact to local source\n");
            result = kFailed;
        }
    }
    if (local_->HistoryPut(localUpdated ? merged : local) != 0) {
        log_.Write(" Error setting previous contact in local history\n");
        result = kFailed;
    }
    return result;
}

}  // namespace vellix
