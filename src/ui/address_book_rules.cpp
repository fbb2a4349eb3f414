#include "ui/address_book_rules.h"

#include <algorithm>

#include "core/ascii_case.h"

namespace vellix {

std::size_t contactStoreIndex(std::string_view synchWith) {
    for (std::size_t i = 0; i < kContactStoreChoices.size(); ++i) {
        if (equalsNoCase(kContactStoreChoices[i].value, synchWith)) return i;
    }
    return 0;
}

int folderIndex(const std::vector<std::string>& names, std::string_view configured) {
    if (names.empty()) return -1;
    const auto it = std::ranges::find(names, configured);
    return it == names.end() ? 0 : static_cast<int>(it - names.begin());
}

AddressBookRefusal checkAddressBookApply(const ContactsSettings& form) {
    if (!form.enableSync) return AddressBookRefusal::None;
    if (form.publicOn() && form.privateOn() && form.publicFolder == form.privateFolder) {
        return AddressBookRefusal::SameFolder;
    }
    if (!form.publicOn() && !form.privateOn()) return AddressBookRefusal::NoFolder;
    return AddressBookRefusal::None;
}

HistoryReset historiesToReset(const ContactsSettings& before, const ContactsSettings& after) {
    const bool vcard = equalsNoCase(after.synchWith, kStoreVcardFolders);
    if (!equalsNoCase(before.synchWith, after.synchWith) ||
        (vcard && before.vcardFolders != after.vcardFolders)) {
        return {true, true};
    }
    return {before.publicFolder != after.publicFolder, before.privateFolder != after.privateFolder};
}

int outcomeTextId(ContactSyncOutcome outcome) {
    switch (outcome) {
        case ContactSyncOutcome::Done:
            return IDS_AB_DONE;
        case ContactSyncOutcome::Skipped:
            return IDS_AB_SKIPPED;
        case ContactSyncOutcome::Failed:
            return IDS_AB_FAILED;
        case ContactSyncOutcome::Cancelled:
            return IDS_AB_CANCELLED;
    }
    return IDS_AB_FAILED;
}

}  // namespace vellix
