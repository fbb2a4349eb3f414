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

void ContactSyncEngine::removeAndForget(ContactSource& from, const std::string& email,
                                        std::string_view failed, std::string_view removed) {
    if (from.RemoveContact(email) != 0) {
        log_.Write(failed);
        return;
    }
    log_.Write(removed);
    forgetHistories(email);
}

void ContactSyncEngine::rememberHistories(const ContactRecord& record) {
    if (remote_->HistoryPut(record) != 0) {
        log_.Write(" Error setting previous contact in the remote source history!\n");
    }
    if (local_->HistoryPut(record) != 0) {
        log_.Write(" Error setting previous contact in the local source history!\n");
    }
}

}  // namespace vellix
