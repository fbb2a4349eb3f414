#include "sync/contacts_settings.h"

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

long long ContactsSettings::periodMilliseconds() const {
    const int minutes = intervalMinutes < 1 ? 30 : intervalMinutes;
    return static_cast<long long>(minutes) * 60000;
}

}  // namespace vellix
