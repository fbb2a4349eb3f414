#pragma once
// The server address, remembered accounts and connection settings of Vellix.ini.

#include <string>
#include <vector>

#include "core/profile_file.h"
#include "core/result.h"

namespace vellix {

struct AccountSettings {
    std::string url;
    std::string user;
    std::string password;  // decoded
    bool remember = false;
    int connectionType = 0;  // 0 direct, otherwise through the proxy
    std::string proxyServer;
    int proxyPort = 80;
};

// While "LastEntry" reads 0, moves the single-account keys "User", "Password" and
// "PwdSaveFlag" of older versions into slot 1 and deletes them, in one write.
Status convertOldAccountKeys(ProfileFile& ini);

// Reads the URL, the account of slot "LastUser" and the connection settings, converting
// the old keys first. A failed conversion (read-only file) still gives what can be read.
AccountSettings loadAccountSettings(ProfileFile& ini);

// Stores the account after the login dialog: the slot of the same name (case-insensitive,
// the last match) or the next free slot, reusing slot 1 once all five are taken. Without
// remember the password is stored empty and the flag "NO". Returns the slot used.
Result<int> saveAccount(ProfileFile& ini, const std::string& user, const std::string& password,
                        bool remember);

struct RememberedAccount {
    int slot = 0;
    std::string user;
    std::string password;  // decoded; empty unless remember is set
    bool remember = false;
};

// The non-empty accounts of slots 1..5 in slot order, for the login dialog's list.
std::vector<RememberedAccount> rememberedAccounts(const ProfileFile& ini);

}  // namespace vellix
