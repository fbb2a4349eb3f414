#include "sync/xml_contact_source.h"

#include <cstdio>

namespace vellix {
namespace {

void appendEmails(const ContactList& list, std::vector<std::string>& emails) {
    for (const auto& record : list) emails.emplace_back(record.email());
}

}  // namespace

void XmlContactSource::SetHistoryFile(const std::string& path) {
    historyFile_ = path;
    (void)history_.ReadXml(path);
}

bool XmlContactSource::LoadContacts(const std::string& path) {
    if (!contacts_.ReadXml(path)) return false;
    open_ = true;
    return true;
}

bool XmlContactSource::SaveContacts(const std::string& path) const {
    return contacts_.WriteXml(path);
}

bool XmlContactSource::OpenFolder(std::string, std::string) {
    return true;
}

bool XmlContactSource::ListFolders(std::vector<std::string>&) {
    return true;
}

int XmlContactSource::GetContact(const std::string& email, ContactRecord& out) {
    return contacts_.GetByEmail(email, out) ? 0 : kNotFound;
}

ContactRecord XmlContactSource::stamped(const ContactRecord& record) const {
    const std::tm now = clock_();
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", now.tm_year + 1900, now.tm_mon + 1,
                  now.tm_mday, now.tm_hour, now.tm_min);
    ContactRecord copy = record;
    copy.setModified(text);
    return copy;
}

int XmlContactSource::AddContact(const ContactRecord& record) {
    contacts_.Append(stamped(record));
    return 0;
}

int XmlContactSource::UpdateContact(const ContactRecord& record) {
    contacts_.PutByEmail(stamped(record));
    return 0;
}

int XmlContactSource::RemoveContact(const std::string& email) {
    contacts_.RemoveByEmail(email);
    return 0;
}

int XmlContactSource::ContactExists(const std::string& email) {
    return contacts_.ContainsEmail(email) ? 1 : 2;
}

int XmlContactSource::ListEmails(std::vector<std::string>& emails) {
    appendEmails(contacts_, emails);
    return 0;
}

int XmlContactSource::HistoryRemove(const std::string& email) {
    history_.RemoveByEmail(email);
    return 0;
}

int XmlContactSource::HistoryPut(const ContactRecord& record) {
    history_.PutByEmail(record);
    return 0;
}

int XmlContactSource::HistoryGet(const std::string& email, ContactRecord& out) {
    return history_.GetByEmail(email, out) ? 0 : kNotFound;
}

bool XmlContactSource::HistoryContains(const std::string& email) {
    return history_.ContainsEmail(email);
}

int XmlContactSource::ListHistoryEmails(std::vector<std::string>& emails) {
    appendEmails(history_, emails);
    return 0;
}

}  // namespace vellix
