#pragma once
// The per-folder notification rules as settings.tmp stores them.

#include <string_view>

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

}  // namespace vellix
