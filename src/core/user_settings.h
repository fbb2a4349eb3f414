#pragma once
// The account's own settings: the settings.tmp copy downloaded after each login, the
// accessor every thread uses to read and write it, and the values read at login.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/guarded.h"
#include "core/profile_file.h"
#include "core/settings_keys.h"
#include "core/spelling_engine.h"

namespace vellix {

// Reads and writes bound to the current settings.tmp. The server thread sets the path;
// any thread reads. While the path is empty reads give their defaults and writes fail.
class AccountSettingsFile {
  public:
    void setPath(std::string path) { path_.set(std::move(path)); }
    std::string path() const { return path_.get(); }
    // A snapshot bound to the path as it is now.
    ProfileFile file() const { return ProfileFile(path_.get()); }

    std::string read(const TextKey& key) const { return readKey(file(), key); }
    int read(const IntKey& key) const { return readKey(file(), key); }
    bool read(const BoolKey& key) const { return readKey(file(), key); }
    std::string readText(std::string_view section, std::string_view key,
                         std::string_view fallback = {}) const {
        return file().readText(section, key, fallback);
    }
    int readInt(std::string_view section, std::string_view key, int fallback) const {
        return file().readInt(section, key, fallback);
    }
    bool readBool(std::string_view section, std::string_view key, bool fallback) const {
        return file().readBool(section, key, fallback);
    }
    Status writeText(std::string_view section, std::string_view key, std::string_view value) {
        return file().writeText(section, key, value);
    }
    Status writeInt(std::string_view section, std::string_view key, int value) {
        return file().writeInt(section, key, value);
    }
    Status writeBool(std::string_view section, std::string_view key, bool value) {
        return file().writeBool(section, key, value);
    }
    Status deleteKey(std::string_view section, std::string_view key) {
        return file().deleteKey(section, key);
    }
    // Deletes settings.tmp when the path is known; the path itself stays.
    Status removeFile();

  private:
    Guarded<std::string> path_;
};

// The user dictionary every new account starts with.
inline constexpr std::string_view kUserLexSeed =
    "#LID 24941\nBrisgate\ti\nVellix\ti\nOrvith\ti\nHarbane\ti\nTolvern\ti\nSkyloom\ti\n";

struct AccountSettingsTarget {
    std::string dataFolder;
    // The canonical account name from the login, else the user name as typed.
    std::string accountName;
    SpellingEngine* spelling = nullptr;
    AccountSettingsFile* settings = nullptr;
};

// Stores a download of the account settings. Nothing received deletes the local copy.
// Otherwise creates the user folder and its "lex" dictionary folder (seeding the user
// dictionary when missing), points the spelling engine and the accessor at them, writes
// the text to settings.tmp and stamps "Version". Returns the user folder ("" when nothing
// was received); an error when a folder or file could not be written, after doing what
// could be done.
Result<std::string> receiveAccountSettings(const std::optional<std::string>& text,
                                           const AccountSettingsTarget& target);

struct FolderRuleEntry {
    std::string name;
    // Per-folder rule values, in the order of kFolderRuleNames; 2 when missing.
    std::array<int, 6> rules{};
};
inline constexpr std::array<std::string_view, 6> kFolderRuleNames = {
    account::kRuleBlinkIcon,   account::kRulePlaySound, account::kRuleShowNotice,
    account::kRuleOpenMessage, account::kRuleInMenu,    account::kRuleInWindow};

// What the login reads once the settings are in.
struct UserSettings {
    std::string tipFolder;
    int bkgrndColor = account::kBkgrndColor.fallback;
    int textColor = account::kTextColor.fallback;
    bool defaultBlinkIcon = account::kDefaultBlinkIcon.fallback;
    bool defaultPlaySound = account::kDefaultPlaySound.fallback;
    bool defaultShowNotice = account::kDefaultShowNotice.fallback;
    bool defaultOpenMessage = account::kDefaultOpenMessage.fallback;
    bool defaultInMenu = account::kDefaultInMenu.fallback;
    bool defaultInWindow = account::kDefaultInWindow.fallback;
    std::vector<FolderRuleEntry> entries;  // up to the first empty name
    int interval = account::kInterval.fallback;
};

UserSettings readUserSettings(const ProfileFile& file);

}  // namespace vellix
