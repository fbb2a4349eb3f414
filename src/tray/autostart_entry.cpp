#include "tray/autostart_entry.h"

#include "core/atomic_file.h"
#include "core/profile_document.h"
#include "tray/desktop_entry.h"

namespace vellix {

std::string autostartEntryPath(const Environment& env) {
    const std::string base = configHome(env);
    if (base.empty()) return {};
    return base + "/autostart/" + std::string(kDesktopFileName);
}

bool startsOnLogin(const Environment& env) {
    const auto bytes = readFileBytes(autostartEntryPath(env));
    if (!bytes || !bytes->has_value()) return false;
    const auto hidden = desktopEntryValue(**bytes, "Hidden");
    const auto enabled = desktopEntryValue(**bytes, "X-GNOME-Autostart-enabled");
    return !(hidden && equalsIgnoreCase(*hidden, "true")) &&
           !(enabled && equalsIgnoreCase(*enabled, "false"));
}

Status setStartOnLogin(const Environment& env, bool enabled, std::string_view executable) {
    const std::string path = autostartEntryPath(env);
    if (path.empty()) return failure("no home folder for the autostart entry");
    if (!enabled) return removeFile(path);
    if (Status made = createFolders(path.substr(0, path.rfind('/'))); !made) return made;
    return writeFileAtomically(path, autostartEntryText(executable));
}

}  // namespace vellix
