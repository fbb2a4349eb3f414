#pragma once
// Starting Vellix at login: $XDG_CONFIG_HOME/autostart/vellix.desktop.

#include <string>
#include <string_view>

#include "core/result.h"
#include "core/settings_paths.h"

namespace vellix {

std::string autostartEntryPath(const Environment& env);

// True when the entry exists and the user has not switched it off in the desktop's
// session settings (Hidden=true or X-GNOME-Autostart-enabled=false).
bool startsOnLogin(const Environment& env);

// Writes the entry for `executable`, or removes it.
Status setStartOnLogin(const Environment& env, bool enabled, std::string_view executable);

}  // namespace vellix
