#include "sync/contact_sync_engine.h"

#include "core/ascii_case.h"

namespace vellix {

ContactSyncEngine::EmailSet::EmailSet(const std::vector<std::string>& emails) {
    keys_.reserve(emails.size());
    for (const auto& email : emails) keys_.insert(email);
}

bool ContactSyncEngine::EmailSet::Contains(std::string_view email) const {
    return keys_.count(email) > 0;
}

int ContactSyncEngine::Synchronize(int type, ContactSource* remote, ContactSource* local) {
    log_.Write(context_.IsPublicFolder() ? " Is Public Folder\n" : " Is Private Folder\n");
    log_.Write(" Beginning contact synch\n");
    if (!remote) {
        log_.Write(" Pointer to remote source was NULL, exiting\n");
        return kFailed;
    }
    if (!local) {
        log_.Write(" Pointer to local source was NULL, exiting\n");
        return kFailed;
    }
    if (!remote->IsOpen()) return kFailed;
    if (!local->IsOpen()) {
        log_.Write(" Error! Local synch source was not initialized\n");
        return kFailed;
    }
    remote_ = remote;
    local_ = local;
    if (type == SYNCH_SYNCH) return synchronizeBoth();
    if (type == SYNCH_MIRROR) return mirror();
    log_.Write(" Invalid synch type\n");
    return kFailed;
}

void ContactSyncEngine::PrimeHistory(ContactSource& source) {
    std::vector<std::string> emails;
    if (source.ListEmails(emails) != 0) return;
    for (const auto& email : emails) {
        ContactRecord record;
        if (source.GetContact(email, record) == 0) source.HistoryPut(record);
    }
}

bool ContactSyncEngine::cancelled(std::string_view message) {
    if (!context_.IsCancelRequested()) return false;
    log_.Write(message);
    return true;
}

void ContactSyncEngine::showStatus(std::string_view label, const std::string& email) {
    if (!context_.showStatus) return;
    std::string line(label);
    line += email;
    context_.showStatus(line);
}

void ContactSyncEngine::forgetHistories(const std::string& email) {
    if (remote_->HistoryRemove(email) != 0) {
        log_.Write(" Error deleting previous contact from the remote source history!\n");
    }
    if (local_->HistoryRemove(email) != 0) {
        log_.Write(" Error deleting previous contact from the local source history!\n");
    }
}

void ContactSyncEngine::rememberHistories(const ContactRecord& record) {
    if (remote_->HistoryPut(record) != 0) {
        log_.Write(" Error setting previous contact in the remote source history!\n");
    }
    if (local_->HistoryPut(record) != 0) {
        log_.Write(" Error setting previous contact in the local source history!\n");
    }
}

int ContactSyncEngine::synchronizeBoth() {
    log_.Write(" In SYNCH_SYNCH\n");
    std::vector<std::string> remoteEmails;
    std::vector<std::string> localEmails;
    if (remote_->ListEmails(remoteEmails) != 0) {
        log_.Write(" Error getting contact list from remote source\n");
        return kFailed;
    }
    if (local_->ListEmails(localEmails) != 0) {
        log_.Write(" Error getting contact list from local source\n");
        return kFailed;
    }
    const EmailSet inRemote(remoteEmails);
    const EmailSet inLocal(localEmails);

    for (const auto& email : remoteEmails) {
        if (cancelled()) return kCancelled;
        log_.WriteEmail(" Synching remote contact:", email);
        showStatus("Synching remote contact:", email);
        const bool isLocal = inLocal.Contains(email);
        if (cancelled()) return kCancelled;

        if (isLocal) {
            log_.Write(" Contact was found in local source\n");
            ContactRecord remoteRecord;
            ContactRecord localRecord;
            if (remote_->GetContact(email, remoteRecord) != 0) {
                log_.Write(" Error reading contact from remote source, skipping contact\n");
                continue;
            }
            if (local_->GetContact(email, localRecord) != 0) {
                log_.Write(" Error reading contact from local source, skipping contact\n");
                continue;
            }
            mergeFields(remoteRecord, localRecord);
        } else if (local_->HistoryContains(email)) {
            // Deleted locally since the last run.
            log_.Write(
                " This contact existed in the local source last synch but does not exist now, "
                "so it will be removed from the remote source.\n");
            if (remote_->RemoveContact(email) != 0) {
                log_.Write(" Error removing contact from remote source\n");
            } else {
                log_.Write(" Removed contact from remote source\n");
                forgetHistories(email);
            }
        } else {
            // New on the server.
            ContactRecord record;
            if (remote_->GetContact(email, record) != 0) {
                log_.Write(" Error reading contact from remote source\n");
                continue;
            }
            if (local_->AddContact(record) != 0) {
                log_.Write(" Error creating contact on local source\n");
                continue;
            }
            log_.Write(" Created contact on local source\n");
            rememberHistories(record);
        }
    }

    const bool isPublic = context_.IsPublicFolder();
    const bool allowed = isPublic && context_.mayModifyGlobalContacts;
    for (const auto& email : localEmails) {
        if (cancelled()) return kCancelled;
        log_.WriteEmail(" Synching local contact:", email);
        showStatus("Local source contact:", email);
        const bool isRemote = inRemote.Contains(email);
        if (cancelled()) return kCancelled;
        if (isRemote) {
            // Handled with the remote contacts.
            if (cancelled()) return kCancelled;
            continue;
        }

        if (remote_->HistoryContains(email)) {
            // Deleted on the server since the last run.
            log_.Write(
                " Contact existed in remote source last synch so the contact will be removed "
                "from the local source\n");
            if (local_->RemoveContact(email) != 0) {
                log_.Write(" Error removing contact from local source\n");
            } else {
                log_.Write(" Removed contact from local source\n");
                forgetHistories(email);
            }
        } else {
            // New in the local store.
            if (allowed) log_.Write(" bCanModifyGlobalContacts = true; bPublicFolder = true\n");
            ContactRecord record;
            if (local_->GetContact(email, record) != 0) {
                log_.Write(" Error reading contact from the local source\n");
                continue;
            }
            if (!isPublic || allowed) {
                if (remote_->AddContact(record) != 0) {
                    log_.Write(" Error creating contact in the remote source\n");
                } else {
                    log_.Write(isPublic ? " Created contact on remote source1\n"
                                        : " Created contact on remote source2\n");
                    rememberHistories(record);
                }
            } else if (local_->RemoveContact(email) == 0) {
                // The public address book is not the user's to extend.
                log_.Write(
                    " Removed contact from local source.  User lacks permission to modify "
                    "public addressbook.\n");
            }
        }
        if (cancelled()) return kCancelled;
    }
    return kDone;
}

}  // namespace vellix
