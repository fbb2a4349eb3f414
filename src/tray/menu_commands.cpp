#include "tray/menu_commands.h"

#include <filesystem>
#include <system_error>

#include "core/options_page_names.h"
#include "core/settings_keys.h"
#include "core/settings_paths.h"
#include "server/webmail_link.h"
#include "tray/new_mail_pass.h"

namespace vellix {
namespace {

constexpr std::string_view kHistoryFolderName = "History/";

bool hasSession(const MenuContext& context) {
    return context.session.read([](const SessionState& s) { return !s.sessionId.empty(); });
}

void openLink(const MenuContext& context, std::string format, std::string argument,
              TrayState trayStateAfter) {
    WebmailLink link;
    link.format = std::move(format);
    link.arguments[0] = std::move(argument);
    link.trayStateAfter = trayStateAfter;
    context.frames.post(FrameKind::Server, UM_OPEN_LINK, 0, 0, makePayload(std::move(link)));
}

void toggleBlink(MenuContext& context) {
    auto& state = context.notification;
    const bool delayed = state.blinkDelayed.load();
    // A silenced icon starts blinking again; a blinking one turns steady.
    postTrayState(context.frames, delayed ? TrayState::NewMail : TrayState::Connected);
    state.blinkDelayed = !delayed;
}

void setStatus(MenuContext& context, int id) {
    context.manualStatus = id != menu_id::kStatusOnline;
    context.frames.post(FrameKind::Server, UM_SET_STATUS, 0, 0,
                        makePayload(context.strings.text(id)));
}

void openHistoryFolder(const MenuContext& context) {
    if (!context.desktop) return;
    // The conversations write theirs in the account's folder; before a login, the data folder.
    const std::string account =
        context.session.read([](const SessionState& s) { return s.account; });
    const std::string path =
        (account.empty()
             ? context.dataFolder
             : userFolderPath(context.dataFolder, account).valueOr(context.dataFolder)) +
        std::string(kHistoryFolderName);
    std::error_code error;
    std::filesystem::create_directories(path, error);
    if (!error) return context.desktop->openFolder(path);
    std::string text = context.strings.text(IDS_DESKTOP_ACTION_FAILED);
    context.desktop->showMessage(text.replace(text.find("%s"), 2, path + ": " + error.message()));
}

void runFixedCommand(MenuContext& context, const MenuModel& model, int id) {
    namespace m = menu_id;
    switch (id) {
        case m::kAbout:
            return (void)showOptionsPage(context.frames, kPageNameAbout);
        case m::kMakerSite:
            if (context.desktop) context.desktop->openUrl(std::string(kMakerSiteUrl));
            return;
        case m::kShowMainWindow:
            context.frames.post(FrameKind::BuddyWindow, UM_SHOW_MAIN_WINDOW);
            return;
        case m::kLogIn:
            runLoginDialog(context, UM_RELOAD_ACCOUNT, 1);
            return;
        case m::kLogOut:
            context.frames.post(FrameKind::Server, UM_LOGOUT);
            return;
        case m::kLogInAs:
            context.frames.post(FrameKind::Server, UM_RELOAD_ACCOUNT, 0);
            return;
        case m::kProperties:
            return (void)showOptionsPage(context.frames, {});
        case m::kExit: {
            if (!context.exitConfirmation) return;
            ProfileFile ini(context.iniPath);
            runExitCommand(ini, *context.exitConfirmation, context.frames);
            return;
        }
        case m::kCompose:
            if (hasSession(context)) {
                openLink(context, "&View=Compose&New=Yes", {}, TrayState::Keep);
            } else if (context.desktop) {
                context.desktop->showMessage(context.strings.text(IDS_NO_SERVER_ACCESS));
            }
            return;
        case m::kFax: {
            const std::string path = faxClientPath(ProfileFile(context.iniPath));
            if (!path.empty() && context.desktop) context.desktop->startProgram(path);
            return;
        }
        case m::kRefresh:
            context.frames.post(FrameKind::Server, UM_RELOGIN, 0);
            return;
        case m::kCalendar:
            return openLink(context, "&NextView=CalendarWeekView", {}, TrayState::Connected);
        case m::kInbox:
            return openLink(context, std::string(kLinkInbox), {}, TrayState::Connected);
        case m::kFirstUnread: {
            const auto it = model.folders.find(model.firstNewFolderId);
            if (it == model.folders.end()) return;
            context.frames.post(FrameKind::Server, UM_OPEN_LINK, 0, 0,
                                makePayload(firstUnreadLink(it->second.name)));
            return;
        }
        case m::kDelayBlink:
        case m::kDelayBlinkAlt:
            return toggleBlink(context);
        case m::kDelaySound:
        case m::kDelaySoundAlt:
            context.notification.soundDelayed = !context.notification.soundDelayed;
            return;
        case m::kDelayNotice:
        case m::kDelayNoticeAlt:
            context.notification.noticeDelayed = !context.notification.noticeDelayed;
            return;
        case m::kAlerts:
        case m::kAlertsAlt:
            context.frames.post(FrameKind::Note, UM_SHOW_ALERT);
            return;
        case m::kStatusOnline:
        case m::kStatusAway:
        case m::kStatusInvisible:
        case m::kStatusOffline:
            return setStatus(context, id);
        case m::kGroupConversation:
            context.frames.post(FrameKind::WindowHandler, UM_START_CONVERSATION);
            return;
        case m::kHistoryFolder:
            return openHistoryFolder(context);
        case m::kAddBuddy:
            return (void)showOptionsPage(context.frames, kPageNameBuddyList);
        default:
            return;
    }
}

}  // namespace

std::string faxClientPath(const ProfileFile& ini) {
    std::string path = readKey(ini, ini::kFaxClient);
    if (path.empty()) return {};
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) ? path : std::string();
}

MenuSnapshot takeMenuSnapshot(const MenuContext& context) {
    MenuSnapshot out;
    const auto& n = context.notification;
    out.disconnected = n.disconnected;
    context.session.read([&](const SessionState& s) {
        out.hasSession = !s.sessionId.empty();
        out.calendar = s.calendar;
        out.messaging = s.messagingEnabled;
    });
    out.defaultInMenu = n.defaults[InMenu];
    out.pendingAlerts = n.pendingAlerts;
    out.blinkPending = n.blinkPending;
    out.soundPending = n.soundPending;
    out.noticePending = n.noticePending;
    out.blinkDelayed = n.blinkDelayed;
    out.soundDelayed = n.soundDelayed;
    out.noticeDelayed = n.noticeDelayed;
    context.account.read([&](const AccountSettings& a) {
        out.savedUser = a.user;
        out.savedPassword = !a.password.empty();
    });
    if (out.disconnected) return out;
    const ProfileFile settings = context.accountSettings.file();
    out.folderInMenu = readKey(settings, account::kFolderInMenu);
    out.folders = context.folders.copyFolders();
    if (!out.hasSession) return out;
    out.faxClient = !faxClientPath(ProfileFile(context.iniPath)).empty();
    if (out.messaging) {
        out.statusWord = context.statusWord.get();
        out.buddies = context.buddies.copy();
        out.hideOfflineBuddies = readKey(settings, account::kHideOfflineBuddies);
    }
    return out;
}

bool runLoginDialog(MenuContext& context, MessageId then, WParam w) {
    if (!context.dialogs) return false;
    ProfileFile ini(context.iniPath);
    // The old single-account keys become slot 1 before the list is read.
    (void)convertOldAccountKeys(ini);
    const auto answer =
        context.dialogs->askLogin(rememberedAccounts(ini), readKey(ini, ini::kLastUser));
    if (!answer) return false;
    // A settings file that cannot be written still lets this login go ahead.
    (void)saveAccount(ini, answer->user, answer->password, answer->remember);
    context.account.update([&](AccountSettings& a) {
        a.user = answer->user;
        a.password = answer->password;
        a.remember = answer->remember;
    });
    context.frames.post(FrameKind::Server, then, w);
    return true;
}

void runMenuCommand(MenuContext& context, const MenuModel& model, int id) {
    if (id >= menu_id::kFirstFolder && id <= menu_id::kLastFolder) {
        const auto it = model.folders.find(id);
        if (it == model.folders.end() || !hasSession(context)) return;
        return openLink(context, "&View=List&NextFolder=%s", it->second.name, TrayState::Connected);
    }
    if (id >= menu_id::kFirstBuddy && id <= menu_id::kLastBuddy) {
        const auto it = model.buddies.find(id);
        if (it == model.buddies.end()) return;
        context.frames.post(FrameKind::WindowHandler, UM_START_CONVERSATION, 0, 0,
                            makePayload(it->second.email));
        return;
    }
    runFixedCommand(context, model, id);
}

}  // namespace vellix
