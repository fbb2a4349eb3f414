#include "startup_frames.h"

#include <chrono>

#include "core/settings_paths.h"
#include "im/buddy_window_frame.h"
#include "im/messaging_frame.h"
#include "im/window_handler_frame.h"
#include "server/server_frame.h"
#include "sync/address_book_frame.h"
#include "tray/menu_frame.h"
#include "tray/note_frame.h"
#include "tray/notification_rules.h"
#include "tray/tray_frame.h"
#include "ui/address_book_page.h"
#include "ui/buddy_list_page.h"
#include "ui/options_frame.h"
#include "ui/standard_pages.h"

namespace vellix {

ConnectionSettings connectionOf(const AccountSettings& account) {
    return {account.connectionType, account.proxyServer, account.proxyPort};
}
namespace {

// The local store contacts.ini names, as the run and the Address Book page open it.
std::unique_ptr<LocalContactSource> openContactStore(Application& app,
                                                     const ContactsSettings& settings) {
    return openLocalContactStore(settings,
                                 app.ini().readBool("Vellix", "UseDefaultFileAsName", false));
}

std::unique_ptr<Frame> trayFrame(Application& app, SharedState& shared, DesktopServices& s) {
    return std::make_unique<CMainFrame>(TrayFrameDeps{
        .clock = app.clock(),
        .frames = app.frames(),
        .host = s.tray,
        .folders = shared.folders,
        .notifications = shared.notifications,
        .session = app.session(),
        .accountSettings = app.accountSettings(),
        .iniPath = app.files().iniPath,
        .strings = s.strings,
    });
}

std::unique_ptr<Frame> menuFrame(Application& app, SharedState& shared, DesktopServices& s) {
    MenuContext context{
        .frames = app.frames(),
        .strings = s.strings,
        .folders = shared.folders,
        .buddies = shared.buddies,
        .notification = shared.notifications,
        .session = app.session(),
        .statusWord = app.statusWord(),
        .manualStatus = app.manualStatus(),
        .account = app.account(),
        .accountSettings = app.accountSettings(),
        .iniPath = app.files().iniPath,
        .dataFolder = app.files().dataFolder,
        .desktop = &s.menuDesktop,
        .dialogs = &s.dialogs,
        .exitConfirmation = &s.exitConfirmation,
    };
    return std::make_unique<CMainFrame_Menu>(MenuFrameDeps{std::move(context), &s.menu},
                                             app.clock());
}

std::unique_ptr<Frame> noteFrame(Application& app, SharedState& shared, DesktopServices& s) {
    return std::make_unique<CMainFrame_Note>(app.clock(),
                                             NoteFrameDeps{.registry = app.frames(),
                                                           .folders = shared.folders,
                                                           .state = shared.notifications,
                                                           .settings = app.accountSettings(),
                                                           .strings = s.strings,
                                                           .windows = s.noteWindows,
                                                           .sound = &s.sound,
                                                           .notifier = &s.notifier});
}

std::unique_ptr<Frame> serverFrame(Application& app, SharedState& shared, DesktopServices& s) {
    ServerFrameDeps deps{
        .frames = app.frames(),
        .session = app.session(),
        .statusWord = app.statusWord(),
        .account = app.account(),
        .accountSettings = app.accountSettings(),
        .iniPath = app.files().iniPath,
        .dataFolder = app.files().dataFolder,
        .programFolder = app.files().programFolder,
        .folders = shared.folders,
        .buddies = shared.buddies,
        .users = shared.users,
        .text = [&strings = s.strings](int id) { return strings.text(id); },
        .dialogs = &s.dialogs,
        .prompt = &s.prompt,
        .makeReceiver = s.makeReceiver,
        .spelling = s.spelling,
        .shell = &s.shell,
        // The saved notification rules come with the account's settings.
        .accountSettingsLoaded =
            [&app, &shared] {
                loadRules(app.accountSettings().file(), shared.notifications, shared.folders);
            },
        .startAddressBook = [&app] { (void)app.startOnDemand(FrameKind::AddressBook); },
        .trace = s.trace,
    };
    return std::make_unique<CMainFrame_ServerInterface>(std::move(deps), app.clock());
}

std::unique_ptr<Frame> messagingFrame(Application& app, DesktopServices& s) {
    return std::make_unique<CMainFrame_IMInterface>(MessagingFrameDeps{
        .clock = app.clock(),
        .session = app.session(),
        .serverUrl = [&app] { return app.account().get().url; },
        .connection = [&app] { return connectionOf(app.account().get()); },
        .trace = s.trace,
    });
}

std::unique_ptr<Frame> windowHandlerFrame(Application& app, SharedState& shared,
                                          DesktopServices& s) {
    return std::make_unique<CMainFrame_WindowHandler>(WindowHandlerDeps{
        .clock = app.clock(),
        .table = shared.windowTable,
        .buddies = shared.buddies,
        .windows = s.conversations,
        .onlineText = [&strings = s.strings] { return strings.text(IDS_STATUS_ONLINE); },
        .incomingFile = s.incomingFile,
        .updater = s.updater,
    });
}

std::unique_ptr<Frame> buddyWindowFrame(Application& app, SharedState& shared, DesktopServices& s) {
    BuddyWindowDeps deps{
        .frames = app.frames(),
        .buddies = shared.buddies,
        .folders = shared.folders,
        .session = app.session(),
        .statusWord = app.statusWord(),
        .manualStatus = app.manualStatus(),
        .text = [&strings = s.strings](int id) { return strings.text(id); },
        .iniPath = app.files().iniPath,
        .defaultInWindow = [&shared] { return shared.notifications.defaults[InWindow].load(); },
        .trayAvailable = s.trayAvailable,
        .makeView = s.makeBuddyWindow,
    };
    return std::make_unique<BuddyWindowFrame>(std::move(deps), app.clock());
}

std::unique_ptr<Frame> optionsFrame(Application& app, SharedState& shared, DesktopServices& s) {
    OptionsContext context{
        .frames = app.frames(),
        .strings = s.strings,
        .folders = shared.folders,
        .notifications = shared.notifications,
        .session = app.session(),
        .account = app.account(),
        .accountSettings = app.accountSettings(),
        .iniPath = app.files().iniPath,
        .programFolder = app.files().programFolder,
        .dataFolder = app.files().dataFolder,
        .executablePath = app.files().executablePath,
        .shell = &s.shell,
        .sound = &s.sound,
        .exitConfirmation = &s.exitConfirmation,
        .spelling = s.spellingDialogs,
        .buddies = &shared.buddies,
        .users = &shared.users,
        .contactSync = &shared.contacts,
        .openContactStore =
            [&app](const ContactsSettings& settings) { return openContactStore(app, settings); },
    };
    // Other subsystems' pages join this list; the window orders them by slot.
    std::vector<OptionsPageEntry> pages = standardOptionsPages();
    pages.push_back(addressBookPageEntry());
    pages.push_back(buddyListPageEntry());
    return std::make_unique<OptionsFrame>(
        OptionsFrameDeps{.context = std::move(context), .pages = std::move(pages)}, app.clock());
}

}  // namespace

FrameSpec addressBookFrame(Application& app, SharedState& shared, DesktopServices& services) {
    auto make = [&app, &shared, trace = services.trace]() -> std::unique_ptr<Frame> {
        AddressBookFrameDeps deps{
            .userFolder =
                [&app] {
                    return userFolderPath(app.files().dataFolder, app.session().get().account)
                        .valueOr(std::string());
                },
            .server =
                [&app, trace] {
                    const AccountSettings account = app.account().get();
                    return ContactServerAddress{account.url, app.session().get().sessionId,
                                                connectionOf(account), trace};
                },
            .mayModifyGlobalContacts =
                [&app] { return app.session().get().mayModifyGlobalContacts; },
            .state = &shared.contacts,
            .makeLocal = [&app](const ContactsSettings& s) { return openContactStore(app, s); },
            // The Address Book page, when open, shows the progress and the end of a run.
            // A line per contact: ten a second are plenty to read.
            .showStatus =
                [&app,
                 last = std::chrono::steady_clock::time_point()](std::string_view line) mutable {
                    const auto now = std::chrono::steady_clock::now();
                    if (now - last < std::chrono::milliseconds(100)) return;
                    last = now;
                    (void)app.frames().post(FrameKind::Options, UM_SYNC_STATUS, 0, 0,
                                            makePayload(std::string(line)));
                },
            .finished =
                [&app](ContactSyncOutcome outcome) {
                    (void)app.frames().post(FrameKind::Options, UM_SYNC_FINISHED,
                                            static_cast<WParam>(outcome));
                },
        };
        return std::make_unique<CMainFrame_AddrBookSync>(std::move(deps), app.clock());
    };
    return {FrameKind::AddressBook, std::move(make), false};
}

std::vector<FrameSpec> startupFrames(Application& app, SharedState& shared,
                                     DesktopServices& services) {
    auto* a = &app;
    auto* sh = &shared;
    auto* sv = &services;
    return {
        {FrameKind::Tray, [a, sh, sv] { return trayFrame(*a, *sh, *sv); }, false},
        {FrameKind::Menu, [a, sh, sv] { return menuFrame(*a, *sh, *sv); }, false},
        {FrameKind::Note, [a, sh, sv] { return noteFrame(*a, *sh, *sv); }, false},
        {FrameKind::Server, [a, sh, sv] { return serverFrame(*a, *sh, *sv); }, false},
        {FrameKind::Messaging, [a, sv] { return messagingFrame(*a, *sv); }, false},
        {FrameKind::WindowHandler, [a, sh, sv] { return windowHandlerFrame(*a, *sh, *sv); }, false},
        {FrameKind::BuddyWindow, [a, sh, sv] { return buddyWindowFrame(*a, *sh, *sv); }, true},
        {FrameKind::Options, [a, sh, sv] { return optionsFrame(*a, *sh, *sv); }, true},
    };
}

}  // namespace vellix
