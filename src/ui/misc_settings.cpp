#include "ui/misc_settings.h"

#include "core/string_table.h"

namespace vellix {

const std::array<MiscFlagKey, kMiscFlagCount>& miscFlagKeys() {
    static const std::array<MiscFlagKey, kMiscFlagCount> keys{{
        {MiscFlag::OpenInNewBrowser, account::kOpenInNewBrowser, true, false, IDS_MISC_NEW_BROWSER},
        {MiscFlag::HideOfflineBuddies, account::kHideOfflineBuddies, true, true,
         IDS_MISC_HIDE_OFFLINE},
        {MiscFlag::AutoSpellCheck, account::kAutoSpellCheck, true, true, IDS_MISC_AUTO_SPELL},
        {MiscFlag::LogChatSessions, account::kLogChatSessions, true, false, IDS_MISC_LOG_CHATS},
        {MiscFlag::SuppressEndProgram, ini::kSuppressEndProgram, false, false,
         IDS_MISC_SUPPRESS_END},
        {MiscFlag::ShowOnStart, ini::kShowOnStartOptions, false, false, IDS_MISC_SHOW_ON_START},
        {MiscFlag::AlwaysOnTop, ini::kBuddyAlwaysOnTop, false, false, IDS_MISC_ALWAYS_ON_TOP},
        {MiscFlag::SendOnEnter, ini::kSendOnEnter, false, true, IDS_MISC_SEND_ON_ENTER},
    }};
    return keys;
}

MiscSettings readMiscSettings(const ProfileFile& ini, const ProfileFile& account) {
    MiscSettings out;
    for (const auto& k : miscFlagKeys()) {
        out[k.flag] = readKey(k.inAccountSettings ? account : ini, k.key);
    }
    out.autoOffline = readKey(account, account::kAutoOffline);
    out.folderInMenu = readKey(account, account::kFolderInMenu);
    return out;
}

Status writeMiscSettings(const MiscSettings& settings, ProfileFile& ini, ProfileFile& account) {
    Status first = success();
    auto keep = [&first](Status status) {
        if (first && !status) first = std::move(status);
    };
    for (const auto& k : miscFlagKeys()) {
        ProfileFile& file = k.inAccountSettings ? account : ini;
        keep(file.writeBool(k.key.section, k.key.name, settings[k.flag]));
    }
    keep(account.writeInt(account::kAutoOffline.section, account::kAutoOffline.name,
                          settings.autoOffline));
    keep(account.writeInt(account::kFolderInMenu.section, account::kFolderInMenu.name,
                          settings.folderInMenu));
    return first;
}

}  // namespace vellix
