#pragma once
// The per-folder notification rules as settings.tmp stores them, and the delay switches
// the tray menu flips.

#include <string_view>

#include "core/frame_registry.h"
#include "core/profile_file.h"
#include "core/user_settings.h"
#include "server/folder_table.h"
#include "tray/notification_state.h"

namespace vellix {

// Takes the six defaults, and merges the saved entries into the table the way a server
// reply is merged (missing records are created), then copies each entry's rule values.
void loadRules(const UserSettings& settings, NotificationState& state, FolderTable& table);
void loadRules(const ProfileFile& file, NotificationState& state, FolderTable& table);

// Writes "TipFolder", the six defaults, then the non-stale folders in server order as
// entries numbered from 0, and an empty name key behind the last one. One atomic write.
Status saveRules(ProfileFile& file, std::string_view tipFolder, const NotificationState& state,
                 const FolderTable& table);

// Blink: a silenced icon starts blinking again (tray state 2), a blinking one turns steady
// (tray state 1). Either way the tray frame hears UM_SERVER_STATE with lParam 1.
void toggleBlinkDelay(NotificationState& state, const FrameRegistry& registry);
void toggleSoundDelay(NotificationState& state);
void toggleNoticeDelay(NotificationState& state);

}  // namespace vellix
