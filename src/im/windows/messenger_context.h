#pragma once
// What every messenger window is handed: the shared state and the desktop services. All of
// it outlives the windows; the windows use it on the GUI thread only.

#include <functional>
#include <string>

#include "core/frame_registry.h"
#include "core/guarded.h"
#include "core/main_frame.h"
#include "core/session_state.h"
#include "core/string_table.h"
#include "core/user_settings.h"
#include "im/window_table.h"
#include "server/buddy_table.h"

namespace vellix {

class DesktopShell;
class NewMailNotifier;
class SoundPlayer;
class SpellChecker;

struct MessengerContext {
    FrameRegistry& frames;
    WindowTable& table;
    BuddyTable& buddies;
    Guarded<SessionState>& session;
    Guarded<std::string>& statusWord;  // the user's own status, as shown
    AccountSettingsFile& accountSettings;
    std::string iniPath;
    std::string dataFolder;  // ends with "/"
    const StringTable& strings;
    std::function<std::string()> serverUrl;
    MailtoLinkFactory mailtoLink{};
    SoundPlayer* sound = nullptr;
    NewMailNotifier* notifier = nullptr;  // a notifier of the conversations' own
    SpellChecker* spelling = nullptr;
    DesktopShell* shell = nullptr;
    // Offers a file to the recipients ("a@x,b@x"); `group` for a conversation of several
    // people. Empty where the program cannot send files: the window's command is disabled.
    std::function<void(const std::string& recipients, bool group)> sendFile{};
    // Diagnostics: one line per entry shown (its kind; a system message's own text).
    std::function<void(const std::string&)> trace{};
};

}  // namespace vellix
