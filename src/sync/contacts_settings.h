#pragma once
// "contacts.ini": whether, how often, which folders and with which local store the
// address book is synchronized. Read afresh at every use, so the options page and the
// address-book thread never hold stale copies.

#include <string>

#include "core/profile_file.h"

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
    // Minutes below 1 count as 30.
    long long periodMilliseconds() const;
    // A folder pass runs when its check box is on and a folder is named.
    bool publicOn() const { return syncPublic && !publicFolder.empty(); }
    bool privateOn() const { return syncPrivate && !privateFolder.empty(); }
};

}  // namespace vellix
