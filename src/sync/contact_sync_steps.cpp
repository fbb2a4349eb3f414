// The two-way run, one contact at a time. A contact missing on one side is deleted on the
// other only when the side that still has it left it as it was after the previous run:
// an edit made since then outweighs a deletion on the other side, so nothing the user
// changed is lost.
#include "sync/contact_sync_engine.h"

namespace vellix {
namespace {

// The numbered fields of the current copy against the history copy.
bool unchangedSince(ContactSource& source, const ContactRecord& current) {
    ContactRecord history;
    if (source.HistoryGet(std::string(current.email()), history) != 0) return false;
    for (int i = 0; i < ContactRecord::kFieldCount; ++i) {
        const auto field = *contactFieldText(i);
        if (current.text(field) != history.text(field)) return false;
    }
    return true;
}

}  // namespace

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
        syncRemoteContact(email, isLocal);
    }
    for (const auto& email : localEmails) {
        if (cancelled()) return kCancelled;
        log_.WriteEmail(" Synching local contact:", email);
        showStatus("Local source contact:", email);
        const bool isRemote = inRemote.Contains(email);
        if (cancelled()) return kCancelled;
        if (!isRemote) syncLocalContact(email);  // else handled with the remote contacts
        if (cancelled()) return kCancelled;
    }
    forgetVanished(inRemote, inLocal);
    return kDone;
}

void ContactSyncEngine::syncRemoteContact(const std::string& email, bool isLocal) {
    ContactRecord remoteRecord;
    if (isLocal) {
        log_.Write(" Contact was found in local source\n");
        ContactRecord localRecord;
        if (remote_->GetContact(email, remoteRecord) != 0) {
            log_.Write(" Error reading contact from remote source, skipping contact\n");
            return;
        }
        if (local_->GetContact(email, localRecord) != 0) {
            log_.Write(" Error reading contact from local source, skipping contact\n");
            return;
        }
        mergeFields(remoteRecord, localRecord);
        return;
    }
    if (local_->HistoryContains(email)) {
        if (remote_->GetContact(email, remoteRecord) != 0) {
            log_.Write(" Error reading contact from remote source\n");
            return;
        }
        if (unchangedSince(*remote_, remoteRecord)) {
            log_.Write(
                " This contact existed in the local source last synch but does not exist now, "
                "so it will be removed from the remote source.\n");
            removeAndForget(*remote_, email, " Error removing contact from remote source\n",
                            " Removed contact from remote source\n");
            return;
        }
        log_.Write(
            " Contact was deleted in the local source but changed in the remote source, so "
            "it is kept\n");
    } else if (remote_->GetContact(email, remoteRecord) != 0) {
        log_.Write(" Error reading contact from remote source\n");
        return;
    }
    if (local_->AddContact(remoteRecord) != 0) {
        log_.Write(" Error creating contact on local source\n");
        return;
    }
    log_.Write(" Created contact on local source\n");
    rememberHistories(remoteRecord);
}

void ContactSyncEngine::syncLocalContact(const std::string& email) {
    const bool isPublic = context_.IsPublicFolder();
    const bool allowed = isPublic && context_.mayModifyGlobalContacts;
    const bool deletedRemotely = remote_->HistoryContains(email);
    if (!deletedRemotely && allowed) {
        log_.Write(" bCanModifyGlobalContacts = true; bPublicFolder = true\n");
    }
    ContactRecord record;
    if (local_->GetContact(email, record) != 0) {
        log_.Write(" Error reading contact from the local source\n");
        return;
    }
    if (deletedRemotely) {
        if (unchangedSince(*local_, record)) {
            log_.Write(
                " Contact existed in remote source last synch so the contact will be removed "
                "from the local source\n");
            removeAndForget(*local_, email, " Error removing contact from local source\n",
                            " Removed contact from local source\n");
            return;
        }
        log_.Write(
            " Contact was deleted in the remote source but changed in the local source, so it "
            "is kept\n");
    }
    if (isPublic && !allowed) {
        // The public address book is not the user's to extend, but the card is the user's.
        log_.Write(
            " Contact kept in the local source only.  User lacks permission to modify public "
            "addressbook.\n");
        return;
    }
    if (remote_->AddContact(record) != 0) {
        log_.Write(" Error creating contact in the remote source\n");
        return;
    }
    log_.Write(isPublic ? " Created contact on remote source1\n"
                        : " Created contact on remote source2\n");
    rememberHistories(record);
}

void ContactSyncEngine::forgetVanished(const EmailSet& inRemote, const EmailSet& inLocal) {
    // A contact gone from both sides must not leave a history copy behind: a contact made
    // later with the same address would be taken for one deleted on the other side.
    std::vector<std::string> remembered;
    remote_->ListHistoryEmails(remembered);
    local_->ListHistoryEmails(remembered);
    std::unordered_set<std::string_view, NoCaseHash, NoCaseEqual> done;
    for (const auto& email : remembered) {
        if (inRemote.Contains(email) || inLocal.Contains(email)) continue;
        if (done.insert(email).second) forgetHistories(email);
    }
}

}  // namespace vellix
