#pragma once
// What each tray-menu command does. Nearly every command is a post to another frame; the
// few that need the desktop or a dialog go through the ports below.

#include <atomic>
#include <string>

#include "core/account_store.h"
#include "core/exit_command.h"
#include "core/frame_registry.h"
#include "core/guarded.h"
#include "core/session_state.h"
#include "core/string_table.h"
#include "core/user_settings.h"
#include "server/buddy_table.h"
#include "server/folder_table.h"
#include "server/server_dialogs.h"
#include "tray/menu_model.h"
#include "tray/notification_state.h"

namespace vellix {

// Desktop actions of the menu, carried out on the GUI thread by the implementation.
class MenuDesktop {
  public:
    virtual ~MenuDesktop() = default;
    // A modal message box with `text`; returns once it is closed.
    virtual void showMessage(const std::string& text) = 0;
    // Opens a web address in the user's browser.
    virtual void openUrl(const std::string& url) = 0;
    // Opens a folder in the file manager.
    virtual void openFolder(const std::string& path) = 0;
    // Starts a program detached from Vellix.
    virtual void startProgram(const std::string& path) = 0;
};

inline constexpr std::string_view kMakerSiteUrl = "https://www.brisgate.example/";

struct MenuContext {
    FrameRegistry& frames;
    const StringTable& strings;
    const FolderTable& folders;
    const BuddyTable& buddies;
    NotificationState& notification;
    const Guarded<SessionState>& session;
    const Guarded<std::string>& statusWord;
    // Set when the user picks a status other than Online: the idle rule leaves it alone.
    std::atomic<bool>& manualStatus;
    Guarded<AccountSettings>& account;
    const AccountSettingsFile& accountSettings;
    std::string iniPath;     // Vellix.ini
    std::string dataFolder;  // ends with "/"; holds the chat history folder
    MenuDesktop* desktop = nullptr;
    ServerDialogs* dialogs = nullptr;
    ExitConfirmation* exitConfirmation = nullptr;
};

// The fax client's path when it is configured and the file exists; empty otherwise.
std::string faxClientPath(const ProfileFile& ini);

// Reads the shared state the menu build needs.
MenuSnapshot takeMenuSnapshot(const MenuContext& context);

// Runs the login dialog; on OK stores the account and posts `then` with `w` to the server
// frame. False when cancelled or when no dialog is available.
bool runLoginDialog(MenuContext& context, MessageId then, WParam w);

// Runs one command of the menu last built; ids the menu does not know do nothing.
void runMenuCommand(MenuContext& context, const MenuModel& model, int id);

}  // namespace vellix
