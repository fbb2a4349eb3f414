#pragma once
// The desktop's address book as a local store: the contacts service the desktop's
// contacts and mail programs share, whose address books are the folders (found by
// identifier, else by name). A contact is found by its first e-mail; contacts without one,
// contact lists and later contacts with the same e-mail are invisible to synchronization.
// A folder is read with one query when opened; changes wait in memory and reach the
// service in a few batch calls when the pass ends (finishPass), before the history is
// saved. Made, used and destroyed on one thread, which it lends a main context of its own.

#include <memory>
#include <string>
#include <vector>

#include "sync/ini_contact_history.h"

namespace vellix {

class EdsContactSource final : public IniHistoryContactSource {
  public:
    static constexpr int kFailed = 3;

    // Calls made to the service so far.
    struct Calls {
        int queries = 0;  // folder reads
        int batches = 0;  // batch adds, changes and removals
        int single = 0;   // one-contact calls, made only to find which of a failed batch failed
    };

    // `tally`, when given, counts this store's calls too (a benchmark's runs make and drop
    // their stores themselves).
    explicit EdsContactSource(Calls* tally = nullptr);
    ~EdsContactSource() override;
    EdsContactSource(const EdsContactSource&) = delete;
    EdsContactSource& operator=(const EdsContactSource&) = delete;

    void SetHistoryFile(const std::string& path) override;
    // The enabled address books' display names, sorted.
    bool ListFolders(std::vector<std::string>& names) override;
    bool OpenFolder(std::string folderId, std::string folderName) override;
    int GetContact(const std::string& email, ContactRecord& out) override;
    int AddContact(const ContactRecord& record) override;
    int UpdateContact(const ContactRecord& record) override;
    int RemoveContact(const std::string& email) override;
    int ContactExists(const std::string& email) override;
    int ListEmails(std::vector<std::string>& emails) override;
    bool IsOpen() override;
    // Sends the waiting changes, then saves the history. A change the service refused is
    // taken out of the history again, so the next run merges that contact.
    Status finishPass() override;

    const Calls& calls() const { return own_; }
    // Why the service could not be reached or the last folder not opened; empty when it was.
    const std::string& error() const { return error_; }

  private:
    struct Service;
    struct Entry;
    class ContextScope;
    Entry* find(const std::string& email);
    void count(int Calls::*which);
    void forgetFolder();
    // Sends one kind of change in batches; each refused contact is put into `refused`.
    void send(int kind, std::vector<Entry*>& refused);
    void restoreHistory(const Entry& entry);

    std::unique_ptr<Service> service_;
    std::vector<std::unique_ptr<Entry>> entries_;  // in the book's order
    Calls own_;
    Calls* tally_;
    std::string error_;
};

}  // namespace vellix
