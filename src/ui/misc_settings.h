#pragma once
// The Misc page's settings: which file and key each control edits, read and written as one
// record so the page stays a thin view.

#include <array>
#include <string>

#include "core/result.h"
#include "core/settings_keys.h"
#include "core/user_settings.h"

namespace vellix {

enum class MiscFlag {
    OpenInNewBrowser,
    HideOfflineBuddies,
    AutoSpellCheck,
    LogChatSessions,
    SuppressEndProgram,
    ShowOnStart,
    AlwaysOnTop,
    SendOnEnter,
    Count
};
inline constexpr std::size_t kMiscFlagCount = static_cast<std::size_t>(MiscFlag::Count);

struct MiscFlagKey {
    MiscFlag flag;
    BoolKey key;
    bool inAccountSettings;  // settings.tmp; otherwise Vellix.ini
    bool needsMessaging;
    int label;  // string table
};
const std::array<MiscFlagKey, kMiscFlagCount>& miscFlagKeys();

struct MiscSettings {
    std::array<bool, kMiscFlagCount> flags{};
    int autoOffline = 10;
    int folderInMenu = 10;
    bool& operator[](MiscFlag f) { return flags[static_cast<std::size_t>(f)]; }
    bool operator[](MiscFlag f) const { return flags[static_cast<std::size_t>(f)]; }
};

MiscSettings readMiscSettings(const ProfileFile& ini, const ProfileFile& account);
// Writes every value; the first failure's reason, if any.
Status writeMiscSettings(const MiscSettings& settings, ProfileFile& ini, ProfileFile& account);

}  // namespace vellix
