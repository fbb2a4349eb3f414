#include "support/memory_contact_source.h"

#include "core/ascii_case.h"

namespace vellix {

void MemoryContactSource::FailOn(SourceOp op, const std::string& email) {
    failures_.emplace(op, asciiLowerCopy(email));
}

bool MemoryContactSource::enter(SourceOp op, const std::string& email) {
    ++calls_[static_cast<std::size_t>(op)];
    if (hook_) hook_(op, email);
    if (failures_.empty()) return false;
    return failures_.count({op, std::string()}) > 0 ||
           (!email.empty() && failures_.count({op, asciiLowerCopy(email)}) > 0);
}

bool MemoryContactSource::OpenFolder(std::string, std::string) {
    return !enter(SourceOp::OpenFolder, {});
}

int MemoryContactSource::GetContact(const std::string& email, ContactRecord& out) {
    if (enter(SourceOp::GetContact, email)) return kFailed;
    return contacts_.GetByEmail(email, out) ? 0 : kFailed;
}

int MemoryContactSource::AddContact(const ContactRecord& record) {
    if (enter(SourceOp::AddContact, std::string(record.email()))) return kFailed;
    contacts_.Append(record);
    return 0;
}

int MemoryContactSource::UpdateContact(const ContactRecord& record) {
    if (enter(SourceOp::UpdateContact, std::string(record.email()))) return kFailed;
    contacts_.PutByEmail(record);
    return 0;
}

int MemoryContactSource::RemoveContact(const std::string& email) {
    if (enter(SourceOp::RemoveContact, email)) return kFailed;
    if (!contacts_.ContainsEmail(email)) return kFailed;
    contacts_.RemoveByEmail(email);
    return 0;
}

int MemoryContactSource::ContactExists(const std::string& email) {
    if (enter(SourceOp::ContactExists, email)) return kFailed;
    return contacts_.ContainsEmail(email) ? 1 : 2;
}

int MemoryContactSource::ListEmails(std::vector<std::string>& emails) {
    if (enter(SourceOp::ListEmails, {})) return kFailed;
    for (const auto& record : contacts_) emails.push_back(std::string(record.email()));
    return 0;
}

int MemoryContactSource::HistoryRemove(const std::string& email) {
    if (enter(SourceOp::HistoryRemove, email)) return kFailed;
    history_.RemoveByEmail(email);
    return 0;
}

int MemoryContactSource::HistoryPut(const ContactRecord& record) {
    if (enter(SourceOp::HistoryPut, std::string(record.email()))) return kFailed;
    history_.PutByEmail(record);
    return 0;
}

int MemoryContactSource::HistoryGet(const std::string& email, ContactRecord& out) {
    if (enter(SourceOp::HistoryGet, email)) return kFailed;
    return history_.GetByEmail(email, out) ? 0 : kFailed;
}

bool MemoryContactSource::HistoryContains(const std::string& email) {
    if (enter(SourceOp::HistoryContains, email)) return false;
    return history_.ContainsEmail(email);
}

int MemoryContactSource::ListHistoryEmails(std::vector<std::string>& emails) {
    if (enter(SourceOp::ListHistoryEmails, {})) return kFailed;
    for (const auto& record : history_) emails.emplace_back(record.email());
    return 0;
}

}  // namespace vellix
