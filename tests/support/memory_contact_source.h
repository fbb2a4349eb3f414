#pragma once
// A contact store held in memory, for tests and benchmarks: two lists (contacts and history)
// and failures of any operation on demand, for every email or for one.

#include <array>
#include <cstddef>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "sync/contact_list.h"
#include "sync/contact_source.h"

namespace vellix {

enum class SourceOp : std::size_t {
    OpenFolder,
    GetContact,
    AddContact,
    UpdateContact,
    RemoveContact,
    ContactExists,
    ListEmails,
    HistoryRemove,
    HistoryPut,
    HistoryGet,
    HistoryContains,
    ListHistoryEmails,
    Count,
};

class MemoryContactSource : public LocalContactSource {
  public:
    static constexpr int kFailed = 3;

    ContactList& contacts() { return contacts_; }
    ContactList& history() { return history_; }

    void SetOpen(bool open) { open_ = open; }
    // Makes the operation fail for this email (any letter case), or for every call when
    // the email is empty. A failing HistoryContains answers false.
    void FailOn(SourceOp op, const std::string& email = {});
    // Called before each operation; a test can change the store or request a cancel.
    void SetCallHook(std::function<void(SourceOp, const std::string&)> hook) {
        hook_ = std::move(hook);
    }
    int Calls(SourceOp op) const { return calls_[static_cast<std::size_t>(op)]; }

    // The history stays in memory.
    void SetHistoryFile(const std::string&) override {}
    bool OpenFolder(std::string folderId, std::string folderName) override;
    int GetContact(const std::string& email, ContactRecord& out) override;
    int AddContact(const ContactRecord& record) override;
    int UpdateContact(const ContactRecord& record) override;
    int RemoveContact(const std::string& email) override;
    int ContactExists(const std::string& email) override;
    int ListEmails(std::vector<std::string>& emails) override;
    bool IsOpen() override { return open_; }
    int HistoryRemove(const std::string& email) override;
    int HistoryPut(const ContactRecord& record) override;
    int HistoryGet(const std::string& email, ContactRecord& out) override;
    bool HistoryContains(const std::string& email) override;
    int ListHistoryEmails(std::vector<std::string>& emails) override;

  private:
    // Counts the call, runs the hook and tells whether it must fail.
    bool enter(SourceOp op, const std::string& email);

    ContactList contacts_;
    ContactList history_;
    bool open_ = true;
    std::set<std::pair<SourceOp, std::string>> failures_;  // email lower-cased
    std::function<void(SourceOp, const std::string&)> hook_;
    std::array<int, static_cast<std::size_t>(SourceOp::Count)> calls_{};
};

}  // namespace vellix
