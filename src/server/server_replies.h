#pragma once
// What the server frame reads out of the status interface's replies. Values are cut to the
// sizes their buffers always had, so a hostile reply cannot grow them.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "server/buddy_table.h"
#include "server/folder_table.h"

namespace vellix {

inline constexpr std::string_view kInvalidSessionReply = "<error>invalid session</error>";
inline constexpr std::string_view kBadPasswordReply = "<error>Invalid username or password</error>";

struct VersionReply {
    std::string disconnect;
    std::string newestVersion;    // up to its first blank
    bool updateOfferOff = false;  // "autoupdate" is "no", any letter case
};
VersionReply readVersionReply(std::string_view reply);

// Nothing when the offer is switched off (the flag stays as it was); otherwise whether the
// own version sorts below the newest one, as text over the own version's length.
std::optional<bool> updateAvailable(const VersionReply& reply, std::string_view ownVersion);

enum class LoginRefusal { None, BadPassword, InvalidSession };

struct LoginReply {
    LoginRefusal refusal = LoginRefusal::None;
    std::string disconnect;
    std::string session;
    std::string email;
    std::string name;
    // Nothing when the reply leaves the flag as it was.
    std::optional<bool> messaging;
    std::optional<bool> modifyGlobalContacts;
    std::optional<bool> calendar;
};
LoginReply readLoginReply(std::string_view reply);

struct CountsReply {
    bool invalidSession = false;
    std::vector<FolderStatus> folders;  // numbered in reply order
    std::vector<std::string> alerts;    // each text once
    std::string disconnect;             // reading stopped here when not empty
    bool newMail = false;               // some folder reports new messages
};
CountsReply readCountsReply(std::string_view reply);

// Maps a server status word to the word shown; words outside the four stay as sent.
using StatusLocalizer = std::function<std::string(std::string_view)>;
std::vector<BuddyRecord> readBuddyList(std::string_view reply, const StatusLocalizer& localize);
std::vector<UserRecord> readUserList(std::string_view reply);

// The settings text between "<IMSettings>" and "</IMSettings>"; nothing without both.
std::optional<std::string> readImSettings(std::string_view reply);

}  // namespace vellix
