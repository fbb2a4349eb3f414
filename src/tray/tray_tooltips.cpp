#include "tray/tray_tooltips.h"

#include <cstdint>
#include <cstdio>

namespace vellix {
namespace {

bool isContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::string countsText(const StringTable& strings, int totalId, std::int64_t total,
                       std::int64_t unread, std::int64_t fresh) {
    return strings.text(totalId) + ":" + std::to_string(total) + ", " +
           strings.text(IDS_TRAY_UNREAD) + ":" + std::to_string(unread) + ", " +
           strings.text(IDS_TRAY_NEW) + ":" + std::to_string(fresh);
}

}  // namespace

std::size_t utf8Length(std::string_view text) {
    std::size_t n = 0;
    for (char c : text) n += isContinuation(c) ? 0 : 1;
    return n;
}

std::string cutUtf8(std::string_view text, std::size_t maxChars) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isContinuation(text[i])) continue;
        if (chars == maxChars) return std::string(text.substr(0, i));
        ++chars;
    }
    return std::string(text);
}

std::string connectedTooltip(const std::vector<FolderStatus>& folders,
                             const std::optional<FolderStatus>& tipFolder,
                             const StringTable& strings) {
    if (tipFolder) {
        return strings.text(IDS_TRAY_FOLDER) + " \"" + tipFolder->name + "\": " +
               countsText(strings, IDS_TRAY_FOLDER_TOTAL, tipFolder->total, tipFolder->unread,
                          tipFolder->newCount);
    }
    // Sums in 64 bits: a server's counts must not overflow into nonsense.
    std::int64_t total = 0, unread = 0, fresh = 0;
    for (const auto& folder : folders) {
        total += folder.total;
        unread += folder.unread;
        fresh += folder.newCount;
    }
    return countsText(strings, IDS_TRAY_TOTAL, total, unread, fresh);
}

std::string newMailTooltip(const std::vector<FolderStatus>& folders,
                           const std::function<bool(const FolderStatus&)>& blinks,
                           const StringTable& strings) {
    std::string text;
    for (const auto& folder : folders) {
        if (folder.newCount <= 0 || !blinks(folder)) continue;
        text += text.empty() ? strings.text(IDS_TRAY_NEW_MAIL_IN) + ": " : std::string(", ");
        if (utf8Length(text) + utf8Length(folder.name) > kNewMailListLimit) {
            text += strings.text(IDS_TRAY_MORE);
            break;
        }
        text += folder.name + ":" + std::to_string(folder.newCount);
    }
    return text;
}

std::string fixedStateTooltip(TrayState state, const StringTable& strings) {
    switch (state) {
        case TrayState::Waiting:
            return strings.text(IDS_TRAY_WAITING);
        case TrayState::Lost:
            return strings.text(IDS_TRAY_LOST);
        case TrayState::Connecting:
            return strings.text(IDS_TRAY_CONNECTING);
        default:
            return strings.text(IDS_TRAY_INVALID);
    }
}

std::string retryTooltip(long long seconds, const StringTable& strings) {
    return fillPlaceholder(strings.text(IDS_TRAY_RETRYING), "%d", std::to_string(seconds));
}

std::string noticeTooltip(std::string_view text, int hour, int minute) {
    char time[32];
    std::snprintf(time, sizeof time, " (%d:%02d %s)", (hour + 11) % 12 + 1, minute,
                  hour < 12 ? "AM" : "PM");
    return std::string(text) + time;
}

}  // namespace vellix
