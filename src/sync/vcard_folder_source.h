#pragma once
// The vCard-folder store: a root folder of address books, each a folder of .vcf files
// holding one card each (the layout vCard tools and synchronizers share). A contact is
// found by its card's first e-mail; cards without one are invisible to synchronization.
// Cards are written through a temporary file, synced to disk, and a rename, so a crash never
// leaves half a card. The folder itself is synced once per pass (finishPass), not per card,
// and always before the history is saved: a crash may lose the last cards' renames or
// removals, but never leaves a history that names a card the folder does not durably hold
// (which the next run would take for a deletion). Used on the address-book thread only.

#include <map>
#include <string>
#include <vector>

#include "core/ascii_case.h"
#include "sync/ini_contact_history.h"

namespace vellix {

class VcardFolderSource : public IniHistoryContactSource {
  public:
    static constexpr int kFailed = 3;

    // useDefaultFileAsName: leave the sort name to the tools (from the N parts); otherwise
    // the card sorts as its full name.
    VcardFolderSource(std::string root, bool useDefaultFileAsName);
    ~VcardFolderSource() override;

    void SetHistoryFile(const std::string& path) override;
    // The address books (sub-folders of the root), by name.
    bool ListFolders(std::vector<std::string>& names) override;
    // Opens the address book named by the identifier, or else by the name.
    bool OpenFolder(std::string folderId, std::string folderName) override;
    int GetContact(const std::string& email, ContactRecord& out) override;
    int AddContact(const ContactRecord& record) override;
    int UpdateContact(const ContactRecord& record) override;
    int RemoveContact(const std::string& email) override;
    int ContactExists(const std::string& email) override;
    int ListEmails(std::vector<std::string>& emails) override;
    bool IsOpen() override;
    // Makes this pass's card writes and removals durable (one folder sync).
    Status finishPass() override;

  private:
    struct Card {
        std::string path;
        std::string email;
    };
    // The history of the previous folder pass is written before the next one is named.
    void saveHistory();
    const Card* find(const std::string& email) const;
    int write(const std::string& path, const ContactRecord& record, const std::string& uid,
              const std::string& old);

    std::string root_;
    bool useDefaultFileAsName_;
    std::string folder_;           // the open address book's path
    bool folderUnsynced_ = false;  // cards written or removed since the folder's last sync
    std::vector<Card> cards_;      // in file-name order
    std::map<std::string, std::size_t, std::less<>> byEmail_;  // lower-case email -> first card
};

}  // namespace vellix
