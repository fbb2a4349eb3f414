// A contact present in both stores: each of the numbered fields is decided on its own.
// A side whose value differs from its history changed it; the server wins when both did.
// Without a usable history a non-empty value wins over an empty one, the server's first.
#include "sync/contact_sync_engine.h"

namespace vellix {

int ContactSyncEngine::mergeFields(const ContactRecord& remote, const ContactRecord& local) {
    ContactRecord merged;
    merged.email = remote.email;
    merged.guid = remote.guid;
    bool writeRemote = false;
    bool writeLocal = false;
    bool historyRead = false;
    bool haveRemoteHistory = false;
    bool haveLocalHistory = false;
    ContactRecord remoteHistory;
    ContactRecord localHistory;

    for (int i = 0; i < ContactRecord::kFieldCount; ++i) {
        const auto member = contactFieldMember(i);
        const std::string& r = remote.*member;
        const std::string& l = local.*member;
        if (r == l) {
            merged.*member = r;
            continue;
        }
        if (!historyRead) {
            historyRead = true;
            haveRemoteHistory = remote_->HistoryGet(remote.email, remoteHistory) == 0;
            if (!haveRemoteHistory) {
                log_.WriteEmail(" Error getting previous contact from remote source for contact:",
                                remote.email);
            }
            haveLocalHistory = local_->HistoryGet(local.email, localHistory) == 0;
            if (!haveLocalHistory) {
                log_.WriteEmail(" Error getting previous contact from local source for contact:",
                                local.email);
            }
        }
        const bool remoteChanged = haveRemoteHistory && remoteHistory.*member != r;
        const bool localChanged = haveLocalHistory && localHistory.*member != l;
        if (remoteChanged) {
            merged.*member = r;
            writeLocal = true;
        } else if (localChanged) {
            merged.*member = l;
            writeRemote = true;
        } else if (!r.empty()) {
            merged.*member = r;
            writeLocal = true;
        } else {
            // r and l differ, so l is not empty here.
            merged.*member = l;
            writeRemote = true;
        }
    }

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
