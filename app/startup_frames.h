#pragma once
// The composition of the start-up frames: the state they share and the desktop services
// each one is handed.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/application.h"
#include "core/spelling_engine.h"
#include "core/string_table.h"
#include "im/buddy_window_view.h"
#include "im/window_table.h"
#include "server/buddy_table.h"
#include "server/event_receiver.h"
#include "server/folder_table.h"
#include "server/internet_session.h"
#include "sync/contact_sync_run.h"
#include "tray/notification_state.h"

namespace vellix {

class DesktopShell;
class ServerDialogs;
class CredentialsPrompt;
class TrayHost;
class MenuHost;
class MenuDesktop;
class ExitConfirmation;
class NoteWindows;
class SoundPlayer;
class NewMailNotifier;
class ConversationWindows;
class HunspellSpellingEngine;
class UpdaterLauncher;

// What the server frame fills and the other frames read; outlives every frame.
struct SharedState {
    FolderTable folders;
    BuddyTable buddies;
    UserList users;
    NotificationState notifications;
    ContactSyncState contacts;
    WindowTable windowTable;
};

// The GUI-thread objects behind the frames' ports; outlive every frame.
struct DesktopServices {
    const StringTable& strings;
    DesktopShell& shell;
    ServerDialogs& dialogs;
    CredentialsPrompt& prompt;
    TrayHost& tray;
    MenuHost& menu;
    MenuDesktop& menuDesktop;
    ExitConfirmation& exitConfirmation;
    NoteWindows& noteWindows;
    SoundPlayer& sound;
    NewMailNotifier& notifier;
    EventReceiverFactory makeReceiver;
    SpellingEngine* spelling = nullptr;
    std::function<void(const std::string&)> trace{};
    // The spelling dialogs of the options window work on the engine itself.
    HunspellSpellingEngine* spellingDialogs = nullptr;
    UpdaterLauncher* updater = nullptr;
    ConversationWindows* conversations = nullptr;
    // Offers from the receiver, handed on by the window handler on its thread.
    std::function<void(FileTransferRequest)> incomingFile{};
    // The buddy window and its tray question.
    BuddyWindowViewFactory makeBuddyWindow{};
    std::function<bool()> trayAvailable{};
};

// How the account reaches its server: the proxy choice of its settings.
ConnectionSettings connectionOf(const AccountSettings& account);
// Where a worker's requests go now, in the shape its record takes: {URL, session, connection}.
template <class Endpoint>
Endpoint currentEndpoint(Application& app) {
    const AccountSettings account = app.account().get();
    return Endpoint{account.url, app.session().get().sessionId, connectionOf(account)};
}

// The address-book frame, started by the server frame after a login.
FrameSpec addressBookFrame(Application& app, SharedState& shared, DesktopServices& services);

std::vector<FrameSpec> startupFrames(Application& app, SharedState& shared,
                                     DesktopServices& services);

}  // namespace vellix
