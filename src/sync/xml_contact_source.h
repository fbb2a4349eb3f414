#pragma once
// The server's contact list of one folder as a ContactSource: the list the server sent
// and the history of that list after the previous run, both address-book XML files.
// Used on the address-book thread only.

#include <string>
#include <vector>

#include "sync/contact_list.h"
#include "sync/contact_source.h"
#include "sync/sync_log.h"

namespace vellix {

class XmlContactSource : public ContactSource {
  public:
    static constexpr int kNotFound = 3;

    explicit XmlContactSource(LocalTimeSource clock = systemLocalTime) : clock_(std::move(clock)) {}

    // Names the history file and reads it; a missing file leaves the history empty.
    void SetHistoryFile(const std::string& path);
    bool LoadContacts(const std::string& path);
    bool SaveContacts(const std::string& path) const;

    bool OpenFolder(std::string folderId, std::string folderName) override;
    bool ListFolders(std::vector<std::string>& names) override;
    int GetContact(const std::string& email, ContactRecord& out) override;
    // Both stamp the contact's "modified" with the local time.
    int AddContact(const ContactRecord& record) override;
    int UpdateContact(const ContactRecord& record) override;
    int RemoveContact(const std::string& email) override;
    int ContactExists(const std::string& email) override;
    int ListEmails(std::vector<std::string>& emails) override;
    bool IsOpen() override { return open_ && !historyFile_.empty(); }
    int HistoryRemove(const std::string& email) override;
    int HistoryPut(const ContactRecord& record) override;
    int HistoryGet(const std::string& email, ContactRecord& out) override;
    bool HistoryContains(const std::string& email) override;
    int ListHistoryEmails(std::vector<std::string>& emails) override;

    const ContactList& contacts() const { return contacts_; }

  private:
    ContactRecord stamped(const ContactRecord& record) const;

    std::string historyFile_;
    bool open_ = false;
    ContactList contacts_;
    ContactList history_;
    LocalTimeSource clock_;
};

}  // namespace vellix
