#pragma once
// The local stores' history file: a profile file with one section per contact, named by
// its email, holding "cn" (the full name, left out when empty) and one "hb<Field>" key
// per stored field, with CR and LF escaped as the two characters \r and \n. A run keeps
// it in memory and saves it once, atomically. Used on the address-book thread only.

#include <string>
#include <string_view>
#include <vector>

#include "core/profile_document.h"
#include "core/result.h"
#include "sync/contact_record.h"
#include "sync/contact_source.h"

namespace vellix {

// Which fields a store keeps: the desktop's address book 29, the vCard folders 34.
enum class HistoryFields { SystemBook, VcardFolders };

std::string escapeHistoryValue(std::string_view value);
std::string unescapeHistoryValue(std::string_view value);

// The fields a store of that kind keeps besides the full name and the e-mail.
std::vector<ContactText> historyFieldsOf(HistoryFields fields);

class IniContactHistory {
  public:
    static constexpr int kFailed = 3;

    explicit IniContactHistory(HistoryFields fields) : fields_(fields) {}

    // Reads the file; a missing or unreadable one gives an empty history.
    void open(const std::string& path);
    Status save() const;
    const std::string& path() const { return path_; }
    // Whether a Put or Remove happened since open: only then is there anything to save.
    bool changed() const { return changed_; }

    int Put(const ContactRecord& record);
    int Get(const std::string& email, ContactRecord& out) const;
    // A section counts only with its "cn" key.
    bool Contains(const std::string& email) const;
    int Remove(const std::string& email);
    void Emails(std::vector<std::string>& out) const;

  private:
    HistoryFields fields_;
    std::string path_;
    ProfileDocument document_;
    bool changed_ = false;
};

// A local store whose history is such a file: the history half of the store's work.
class IniHistoryContactSource : public LocalContactSource {
  public:
    int HistoryRemove(const std::string& email) override { return history_.Remove(email); }
    int HistoryPut(const ContactRecord& record) override { return history_.Put(record); }
    int HistoryGet(const std::string& email, ContactRecord& out) override {
        return history_.Get(email, out);
    }
    bool HistoryContains(const std::string& email) override { return history_.Contains(email); }
    int ListHistoryEmails(std::vector<std::string>& emails) override {
        history_.Emails(emails);
        return 0;
    }

  protected:
    explicit IniHistoryContactSource(HistoryFields fields) : history_(fields) {}

    IniContactHistory history_;
};

}  // namespace vellix
