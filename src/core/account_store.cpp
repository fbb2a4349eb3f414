#include "core/account_store.h"

#include "core/password_codec.h"
#include "core/settings_keys.h"

namespace vellix {

namespace {

std::string_view yesNo(bool value) {
    return value ? "Yes" : "No";
}

}  // namespace

Status convertOldAccountKeys(ProfileFile& ini) {
    return ini.edit([](ProfileDocument& doc) -> Status {
        if (readKey(doc, ini::kLastEntry) != 0) return success();
        const std::string user = readKey(doc, ini::kOldUser);
        const std::string password = readKey(doc, ini::kOldPassword);
        const bool remember = readKey(doc, ini::kOldPwdSaveFlag);
        for (auto status : {doc.set(kSectionVellix, ini::userKeyName(1), user),
                            doc.set(kSectionVellix, ini::passwordKeyName(1), password),
                            doc.set(kSectionVellix, ini::pwdSaveFlagKeyName(1), yesNo(remember))}) {
            if (!status) return status;
        }
        doc.removeKey(kSectionVellix, ini::kOldUser.name);
        doc.removeKey(kSectionVellix, ini::kOldPassword.name);
        doc.removeKey(kSectionVellix, ini::kOldPwdSaveFlag.name);
        if (auto status = doc.set(kSectionVellix, ini::kLastEntry.name, "1"); !status) {
            return status;
        }
        return doc.set(kSectionVellix, ini::kLastUser.name, "1");
    });
}

AccountSettings loadAccountSettings(ProfileFile& ini) {
    (void)convertOldAccountKeys(ini);
    const ProfileDocument doc = ini.load();
    AccountSettings settings;
    settings.url = readKey(doc, ini::kUrl);
    const int slot = readKey(doc, ini::kLastUser);
    settings.user = doc.find(kSectionVellix, ini::userKeyName(slot)).value_or("");
    settings.password =
        decodePassword(doc.find(kSectionVellix, ini::passwordKeyName(slot)).value_or(""));
    const auto flag = doc.find(kSectionVellix, ini::pwdSaveFlagKeyName(slot));
    settings.remember = flag && parseProfileBool(*flag);
    settings.connectionType = readKey(doc, ini::kConnectionType);
    settings.proxyServer = readKey(doc, ini::kProxyServer);
    settings.proxyPort = readKey(doc, ini::kProxyPort);
    return settings;
}

Result<int> saveAccount(ProfileFile& ini, const std::string& user, const std::string& password,
                        bool remember) {
    int slot = 0;
    const Status status = ini.edit([&](ProfileDocument& doc) -> Status {
        slot = 0;
        for (int candidate = 1; candidate <= kAccountSlots; ++candidate) {
            const auto stored = doc.find(kSectionVellix, ini::userKeyName(candidate));
            if (stored && equalsIgnoreCase(*stored, user)) slot = candidate;
        }
        int lastEntry = readKey(doc, ini::kLastEntry);
        if (slot == 0) {
            if (lastEntry >= kAccountSlots) {
                lastEntry = 1;
            } else {
                lastEntry = lastEntry < 0 ? 1 : lastEntry + 1;
            }
            slot = lastEntry;
        }
        const std::string stored = remember ? encodePassword(password) : std::string{};
        for (auto step : {doc.set(kSectionVellix, ini::userKeyName(slot), user),
                          doc.set(kSectionVellix, ini::passwordKeyName(slot), stored),
                          doc.set(kSectionVellix, ini::pwdSaveFlagKeyName(slot),
                                  remember ? kRememberYes : kRememberNo),
                          doc.set(kSectionVellix, ini::kLastEntry.name, std::to_string(lastEntry)),
                          doc.set(kSectionVellix, ini::kLastUser.name, std::to_string(slot))}) {
            if (!step) return step;
        }
        return success();
    });
    if (!status) return failure(status.error());
    return slot;
}

std::vector<RememberedAccount> rememberedAccounts(const ProfileFile& ini) {
    const ProfileDocument doc = ini.load();
    std::vector<RememberedAccount> accounts;
    for (int slot = 1; slot <= kAccountSlots; ++slot) {
        std::string user = doc.find(kSectionVellix, ini::userKeyName(slot)).value_or("");
        if (user.empty()) continue;
        RememberedAccount account{slot, std::move(user), {}, false};
        const auto flag = doc.find(kSectionVellix, ini::pwdSaveFlagKeyName(slot));
        account.remember = flag && parseProfileBool(*flag);
        if (account.remember) {
            account.password =
                decodePassword(doc.find(kSectionVellix, ini::passwordKeyName(slot)).value_or(""));
        }
        accounts.push_back(std::move(account));
    }
    return accounts;
}

}  // namespace vellix
