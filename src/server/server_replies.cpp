#include "server/server_replies.h"

#include <algorithm>

#include "core/ascii_case.h"
#include "server/reply_tags.h"

namespace vellix {
namespace {

bool contains(std::string_view reply, std::string_view text) {
    return reply.find(text) != std::string_view::npos;
}

// Tag values are read into buffers of these sizes, terminator included.
constexpr std::size_t kVersionTag = 100;
constexpr std::size_t kLoginDisconnect = 256;
constexpr std::size_t kSessionTag = 36;
constexpr std::size_t kFlagTag = 32;
constexpr std::size_t kAddressTag = 256;
constexpr std::size_t kAlertTag = 1024;
constexpr std::size_t kFolderName = 100;
constexpr std::size_t kFolderDisplayName = 60;
constexpr std::size_t kBuddyText = 100;
constexpr std::size_t kBuddyStatus = 24;

std::optional<bool> enabledFlag(const std::string& value) {
    if (value.empty()) return std::nullopt;
    return value == "enabled";
}

std::optional<bool> enabledFlagNoCase(const std::string& value) {
    if (value.empty()) return std::nullopt;
    return equalsNoCase(value, "enabled");
}

// A malformed value is no message for the user.
bool isMessage(const std::string& value) {
    return !value.empty() && value != kServerError;
}

}  // namespace

VersionReply readVersionReply(std::string_view reply) {
    VersionReply out;
    out.disconnect = GetTagValue(reply, "disconnect", kVersionTag);
    out.newestVersion = GetTagValue(reply, "vxversion", kVersionTag);
    out.newestVersion.resize(std::min(out.newestVersion.size(), out.newestVersion.find(' ')));
    out.updateOfferOff = equalsNoCase(GetTagValue(reply, "autoupdate", kVersionTag), "no");
    return out;
}

std::optional<bool> updateAvailable(const VersionReply& reply, std::string_view ownVersion) {
    if (reply.updateOfferOff) return std::nullopt;
    // Compared like zero-terminated texts: a shorter version ends with a 0 byte.
    for (std::size_t i = 0; i < ownVersion.size(); ++i) {
        const auto own = static_cast<unsigned char>(asciiLower(ownVersion[i]));
        const auto newest = static_cast<unsigned char>(
            i < reply.newestVersion.size() ? asciiLower(reply.newestVersion[i]) : '\0');
        if (own != newest) return own < newest;
        if (newest == '\0') return false;
    }
    return false;
}

LoginReply readLoginReply(std::string_view reply) {
    LoginReply out;
    if (contains(reply, kBadPasswordReply)) {
        out.refusal = LoginRefusal::BadPassword;
        return out;
    }
    if (contains(reply, kInvalidSessionReply)) {
        out.refusal = LoginRefusal::InvalidSession;
        return out;
    }
    out.disconnect = GetTagValue(reply, "disconnect", kLoginDisconnect);
    out.session = GetTagValue(reply, "session", kSessionTag);
    out.messaging = enabledFlag(GetTagValue(reply, "instantmessaging", kFlagTag));
    out.email = GetTagValue(reply, "email", kAddressTag);
    out.name = GetTagValue(reply, "name", kAddressTag);
    out.modifyGlobalContacts =
        enabledFlagNoCase(GetTagValue(reply, "modifyglobalcontacts", kFlagTag));
    const std::string calendar = GetTagValue(reply, "calendar", kVersionTag);
    if (!calendar.empty()) out.calendar = !equalsNoCase(calendar, "disabled");
    return out;
}

CountsReply readCountsReply(std::string_view reply) {
    CountsReply out;
    if (contains(reply, kInvalidSessionReply)) {
        out.invalidSession = true;
        return out;
    }
    ReplyBlocks blocks(reply, "folder");
    std::int32_t order = 0;
    for (;;) {
        // An alert after the last block is in the rest of the reply at every block.
        std::string alert = blocks.restValue("alert", kAlertTag);
        if (isMessage(alert) &&
            std::find(out.alerts.begin(), out.alerts.end(), alert) == out.alerts.end()) {
            out.alerts.push_back(std::move(alert));
        }
        std::string disconnect = blocks.restValue("disconnect", kLoginDisconnect);
        if (isMessage(disconnect)) {
            out.disconnect = std::move(disconnect);
            break;
        }
        if (!blocks.next()) break;
        FolderStatus folder;
        folder.name = blocks.value("name", kFolderName);
        folder.total = blocks.integer("total");
        folder.unread = blocks.integer("unread");
        folder.newCount = blocks.integer("new");
        folder.recent = blocks.integer("recent");
        folder.displayName = blocks.value("displayname", kFolderDisplayName);
        folder.order = order++;
        // A block without a usable name cannot be kept apart from the others.
        if (folder.name.empty() || folder.name == kServerError) continue;
        if (folder.newCount > 0) out.newMail = true;
        out.folders.push_back(std::move(folder));
    }
    return out;
}

std::vector<BuddyRecord> readBuddyList(std::string_view reply, const StatusLocalizer& localize) {
    std::vector<BuddyRecord> out;
    ReplyBlocks blocks(reply, "buddy");
    while (blocks.next()) {
        BuddyRecord buddy;
        buddy.email = blocks.value("email", kBuddyText);
        buddy.name = blocks.value("name", kBuddyText);
        buddy.status = localize(blocks.value("status", kBuddyStatus));
        out.push_back(std::move(buddy));
    }
    return out;
}

std::vector<UserRecord> readUserList(std::string_view reply) {
    std::vector<UserRecord> out;
    ReplyBlocks blocks(reply, "user");
    while (blocks.next()) {
        out.push_back(
            UserRecord{blocks.value("name", kBuddyText), blocks.value("email", kBuddyText)});
    }
    return out;
}

std::optional<std::string> readImSettings(std::string_view reply) {
    constexpr std::string_view open = "<IMSettings>";
    const auto begin = reply.find(open);
    const auto end = reply.find("</IMSettings>");
    if (begin == std::string_view::npos || end == std::string_view::npos) return std::nullopt;
    const auto from = begin + open.size();
    if (end < from) return std::string{};
    return std::string(reply.substr(from, end - from));
}

}  // namespace vellix
