#pragma once
// The Address Book page's rules without widgets: which stores it offers, which folder a
// list selects, when Apply refuses, which history files a change makes stale, and the
// text a finished run leaves on the page.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/options_strings.h"
#include "sync/contact_sync_run.h"
#include "sync/contacts_settings.h"

namespace vellix {

struct ContactStoreChoice {
    const char* value;  // as contacts.ini keeps it
    int textId;         // as the user knows it
};

// The store list, in order; both are always offered.
inline constexpr std::array kContactStoreChoices{
    ContactStoreChoice{kStoreSystemBook, IDS_AB_STORE_EDS},
    ContactStoreChoice{kStoreVcardFolders, IDS_AB_STORE_VCARD},
};

// The entry of "SynchWith" (any case); an unknown value selects the first.
std::size_t contactStoreIndex(std::string_view synchWith);

// The entry a folder list selects: the configured folder when listed (exact match),
// else the first; -1 for an empty list.
int folderIndex(const std::vector<std::string>& names, std::string_view configured);

enum class AddressBookRefusal { None, SameFolder, NoFolder };

// Why Apply must refuse these settings. A switched-off synchronization needs no folder.
AddressBookRefusal checkAddressBookApply(const ContactsSettings& form);

struct HistoryReset {
    bool publicPair = false;
    bool privatePair = false;
    bool operator==(const HistoryReset&) const = default;
};

// The history pairs that no longer describe the store and folder a pass will use: all of
// them after a change of store (or of its vCard root), else the pair of a changed folder.
HistoryReset historiesToReset(const ContactsSettings& before, const ContactsSettings& after);

// The string that tells how a run ended (its "%s" is the log's path).
int outcomeTextId(ContactSyncOutcome outcome);

}  // namespace vellix
