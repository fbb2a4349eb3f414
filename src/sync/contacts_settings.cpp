#include "sync/contacts_settings.h"

#include <tuple>

#include "core/profile_document.h"

namespace vellix {

ContactsSettings ContactsSettings::read(const ProfileFile& ini) {
    ContactsSettings s;
    s.enableSync = ini.readBool("LDAP", "EnableSync", false);
    s.intervalMinutes = ini.readInt("LDAP", "SyncInterval", 30);
    s.syncPublic = ini.readBool("LDAP", "SyncPublic", true);
    s.syncPrivate = ini.readBool("LDAP", "SyncPrivate", true);
    s.publicFolder = ini.readText("LDAP", "PublicFolder");
    s.privateFolder = ini.readText("LDAP", "PrivateFolder");
    s.synchWith = ini.readText("Vellix", "SynchWith", kStoreSystemBook);
    s.vcardFolders = ini.readText("Vellix", "VcardFolders");
    return s;
}

Status ContactsSettings::write(ProfileFile& ini) const {
    return ini.edit([this](ProfileDocument& doc) -> Status {
        const auto yesNo = [](bool on) { return on ? "Yes" : "No"; };
        for (const auto& [section, key, value] : {
                 std::tuple<const char*, const char*, std::string>{"LDAP", "EnableSync",
                                                                   yesNo(enableSync)},
                 {"LDAP", "SyncInterval", std::to_string(intervalMinutes)},
                 {"LDAP", "SyncPublic", yesNo(syncPublic)},
                 {"LDAP", "SyncPrivate", yesNo(syncPrivate)},
                 {"LDAP", "PublicFolder", publicFolder},
                 {"LDAP", "PrivateFolder", privateFolder},
                 {"Vellix", "SynchWith", synchWith},
                 {"Vellix", "VcardFolders", vcardFolders},
             }) {
            if (Status set = doc.set(section, key, value); !set) return set;
        }
        return success();
    });
}

std::array<std::string, 2> contactHistoryFiles(bool publicFolder) {
    const std::string prefix = publicFolder ? "public" : "private";
    return {prefix + "-local.xml", prefix + "-remote.xml"};
}

long long ContactsSettings::periodMilliseconds() const {
    const int minutes = intervalMinutes < 1 ? 30 : intervalMinutes;
    return static_cast<long long>(minutes) * 60000;
}

}  // namespace vellix
