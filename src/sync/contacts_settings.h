#pragma once
// "contacts.ini": whether, how often, which folders and with which local store the
// address book is synchronized. Read afresh at every use, so the options page and the
// address-book thread never hold stale copies.

#include <array>
#include <string>

#include "core/profile_file.h"
#include "core/result.h"

namespace vellix {

inline constexpr const char* kContactsIniName = "contacts.ini";

// The local store names as contacts.ini keeps them.
inline constexpr const char* kStoreSystemBook = "WAB";     // the desktop's address book
inline constexpr const char* kStoreVcardFolders = "MAPI";  // folders of vCard files

struct ContactsSettings {
    bool enableSync = false;
    int intervalMinutes = 30;
    bool syncPublic = true;
    bool syncPrivate = true;
    std::string publicFolder;
    std::string privateFolder;
    std::string synchWith = kStoreSystemBook;
    // The folder of vCard address books; empty: $XDG_DATA_HOME/contacts.
    std::string vcardFolders;

    static ContactsSettings read(const ProfileFile& ini);
    // Every key above, in one write.
    Status write(ProfileFile& ini) const;
    // Minutes below 1 count as 30.
    long long periodMilliseconds() const;
    // A folder pass runs when its check box is on and a folder is named.
    bool publicOn() const { return syncPublic && !publicFolder.empty(); }
    bool privateOn() const { return syncPrivate && !privateFolder.empty(); }
    bool operator==(const ContactsSettings&) const = default;
};

// The two history files of a server folder's pass, by name in the user folder.
std::array<std::string, 2> contactHistoryFiles(bool publicFolder);

}  // namespace vellix
