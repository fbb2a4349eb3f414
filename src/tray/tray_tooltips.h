#pragma once
// The tooltip texts of the tray icon's display states.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/string_table.h"
#include "core/tray_state.h"
#include "server/folder_table.h"

namespace vellix {

// Tooltips longer than this (in characters) are cut.
inline constexpr std::size_t kTipMaxChars = 63;
// The new-mail list stops before a folder that would take it past this length.
inline constexpr std::size_t kNewMailListLimit = 44;

// Characters of UTF-8 text (continuation bytes are not counted).
std::size_t utf8Length(std::string_view text);
// The first `maxChars` characters of UTF-8 text.
std::string cutUtf8(std::string_view text, std::size_t maxChars);

// State 1: the counts of the tip folder when there is one, else the sums over `folders`
// (the non-stale folders).
std::string connectedTooltip(const std::vector<FolderStatus>& folders,
                             const std::optional<FolderStatus>& tipFolder,
                             const StringTable& strings);

// State 2: the folders (server order) with new mail whose blink rule is on.
std::string newMailTooltip(const std::vector<FolderStatus>& folders,
                           const std::function<bool(const FolderStatus&)>& blinks,
                           const StringTable& strings);

// Waiting, lost, connecting, and a state outside the table.
std::string fixedStateTooltip(TrayState state, const StringTable& strings);

// State 4 while an automatic retry waits: what happens next, in how many seconds.
std::string retryTooltip(long long seconds, const StringTable& strings);

// State 6: the text with the time of day on a 12-hour clock; hour is 0..23.
std::string noticeTooltip(std::string_view text, int hour, int minute);

}  // namespace vellix
