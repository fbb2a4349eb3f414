#pragma once
// What every options page may read and change: the program's shared state, its files and
// the desktop ports. Built once by the composition root; everything here outlives the
// options window. Used on the GUI thread only.

#include <QString>

#include <functional>
#include <memory>
#include <string>

#include "core/account_store.h"
#include "core/frame_registry.h"
#include "core/guarded.h"
#include "core/session_state.h"
#include "core/string_table.h"
#include "core/user_settings.h"
#include "server/buddy_table.h"
#include "server/folder_table.h"
#include "sync/contact_source.h"
#include "sync/contact_sync_run.h"
#include "sync/contacts_settings.h"
#include "tray/notification_state.h"
#include "ui/options_pages.h"

namespace vellix {

class DesktopShell;
class SoundPlayer;
class ExitConfirmation;
class HunspellSpellingEngine;

struct OptionsContext {
    FrameRegistry& frames;
    const StringTable& strings;
    FolderTable& folders;
    NotificationState& notifications;
    Guarded<SessionState>& session;
    Guarded<AccountSettings>& account;
    AccountSettingsFile& accountSettings;
    std::string iniPath;        // Vellix.ini
    std::string programFolder;  // ends with "/"; the help pages live below it
    std::string dataFolder;     // ends with "/"
    std::string executablePath;
    DesktopShell* shell = nullptr;
    SoundPlayer* sound = nullptr;
    ExitConfirmation* exitConfirmation = nullptr;
    HunspellSpellingEngine* spelling = nullptr;
    const BuddyTable* buddies = nullptr;
    const UserList* users = nullptr;
    // The synchronization state the address-book frame keeps, and a way to open the local
    // store a page names (null when it cannot be opened), for its folder list.
    ContactSyncState* contactSync = nullptr;
    std::function<std::unique_ptr<LocalContactSource>(const ContactsSettings&)> openContactStore{};

    LoginState loginState() const {
        return session.read([](const SessionState& s) {
            return LoginState{.loggedIn = s.loggedIn, .messaging = s.messagingEnabled};
        });
    }
    QString text(int id) const { return QString::fromStdString(strings.text(id)); }
};

}  // namespace vellix
