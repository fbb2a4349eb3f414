#pragma once
// A contact store with its history (the copy of each contact as it stood after the
// previous synchronization). Contacts are keyed by email, ASCII case-insensitive.
// Results typed int are 0 for success and anything else for failure.

#include <string>
#include <vector>

#include "core/result.h"
#include "sync/contact_record.h"

namespace vellix {

class ContactSource {
  public:
    virtual ~ContactSource();

    // Binds the source to one folder of its store.
    virtual bool OpenFolder(std::string folderId, std::string folderName) = 0;
    // Not used by the synchronization.
    virtual bool HasFolder(std::string folderName);
    // Folder names for the options page.
    virtual bool ListFolders(std::vector<std::string>& names);
    virtual int GetContact(const std::string& email, ContactRecord& out) = 0;
    virtual int AddContact(const ContactRecord& record) = 0;
    // Overwrites the stored contact that has the record's email.
    virtual int UpdateContact(const ContactRecord& record) = 0;
    virtual int RemoveContact(const std::string& email) = 0;
    // 1 = exists, 2 = does not.
    virtual int ContactExists(const std::string& email) = 0;
    // Appends the email of every contact, in store order.
    virtual int ListEmails(std::vector<std::string>& emails) = 0;
    virtual bool IsOpen() = 0;

    virtual int HistoryRemove(const std::string& email) = 0;
    // Adds or replaces the history copy with the record's email.
    virtual int HistoryPut(const ContactRecord& record) = 0;
    virtual int HistoryGet(const std::string& email, ContactRecord& out) = 0;
    virtual bool HistoryContains(const std::string& email) = 0;
    // Appends the email of every history copy.
    virtual int ListHistoryEmails(std::vector<std::string>& emails) = 0;

  protected:
    ContactSource() = default;
    ContactSource(const ContactSource&) = default;
    ContactSource& operator=(const ContactSource&) = default;
};

// A local store, which keeps its history in a file the driver names.
class LocalContactSource : public ContactSource {
  public:
    // Saves the history held so far (when it changed) to the file named before, then reads
    // this one; an empty path only saves, so the driver may delete the file afterwards.
    virtual void SetHistoryFile(const std::string& path) = 0;
    // Called once the engine is done with a folder: a store that holds changes back writes
    // them now, with its history, so the driver may still drop the history files after.
    virtual Status finishPass();
};

}  // namespace vellix
