#include "tray/tray_frame.h"

#include <algorithm>
#include <ctime>

#include "server/webmail_link.h"
#include "tray/new_mail_pass.h"
#include "tray/tray_tooltips.h"

namespace vellix {

std::pair<int, int> localTimeOfDay() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_hour, local.tm_min};
}

CMainFrame::CMainFrame(TrayFrameDeps deps)
    : Frame("Vellix", deps.clock), deps_(std::move(deps)), icon_(*this, deps_.host) {
    // Clicks arrive on the host's thread and are handled here, in order with the states.
    deps_.host.setActivationHandler([this](const TrayActivation& activation) {
        post(UM_TRAY_CALLBACK, kTrayIconId, 0, makePayload(activation));
    });
}

CMainFrame::~CMainFrame() {
    deps_.host.setActivationHandler({});
}

LResult CMainFrame::handleMessage(Message& message) {
    switch (message.id) {
        case UM_SERVER_STATE:
            onServerState(message);
            return 0;
        case UM_TRAY_CALLBACK:
            onIconCallback(message);
            return 0;
        case UM_QUIT_THREAD:
            icon_.remove();
            deps_.notifications.disconnected = false;
            return Frame::handleMessage(message);
        default:
            return Frame::handleMessage(message);
    }
}

void CMainFrame::onTimer(int id) {
    if (id == kTrayAnimationTimer) icon_.onAnimationTimer();
    if (id == kTrayNoticeTimer) {
        icon_.onNoticeTimer();
        deps_.notifications.disconnected = icon_.state() == TrayState::Lost;
    }
}

void CMainFrame::onServerState(Message& message) {
    TrayState state = trayStateFromWire(message.w);
    if (state == TrayState::Keep) state = icon_.state();
    // A lost connection that is about to be retried says so, with lParam the seconds.
    const std::string text = state == TrayState::Lost && message.l > 0
                                 ? retryTooltip(message.l, deps_.strings)
                                 : tooltipFor(state, message.take<std::string>().value_or(""));
    // A state without a text to show is not worth showing.
    if (utf8Length(text) < 2) return;
    applyState(state, text);
}

std::string CMainFrame::tooltipFor(TrayState state, std::string noticeText) const {
    switch (state) {
        case TrayState::Connected: {
            const std::string tip = deps_.accountSettings.read(account::kTipFolder);
            const auto tipFolder = tip.empty() ? std::nullopt : deps_.folders.findFolder(tip);
            return connectedTooltip(deps_.folders.copyFolders(), tipFolder, deps_.strings);
        }
        case TrayState::NewMail:
            return newMailTooltip(
                deps_.folders.copyFolders(),
                [this](const FolderStatus& f) {
                    return deps_.notifications.effective(f, BlinkIcon);
                },
                deps_.strings);
        case TrayState::Notice: {
            const auto [hour, minute] = deps_.timeOfDay();
            return noticeTooltip(noticeText, hour, minute);
        }
        default:
            // A lost connection the user asked for (log out) comes with its own words.
            if (state == TrayState::Lost && !noticeText.empty()) return noticeText;
            return fixedStateTooltip(state, deps_.strings);
    }
}

void CMainFrame::applyState(TrayState state, const std::string& text) {
    icon_.setState(state, text);
    deps_.notifications.disconnected = icon_.state() == TrayState::Lost;
}

void CMainFrame::onIconCallback(Message& message) {
    const auto activation = message.take<TrayActivation>().value_or(TrayActivation{});
    switch (activation.click) {
        case TrayClick::Menu:
            deps_.frames.post(FrameKind::Menu, UM_SHOW_MENU, static_cast<WParam>(activation.x),
                              activation.y);
            break;
        case TrayClick::DoubleClick:
            onDoubleClick();
            break;
    }
}

void CMainFrame::onDoubleClick() {
    const int rule = readKey(ProfileFile(deps_.iniPath), ini::kToolIconDblClick);
    if (rule == 1) {
        deps_.frames.post(FrameKind::BuddyWindow, UM_SHOW_MAIN_WINDOW);
        return;
    }
    if (rule != 0) return;
    WebmailLink link{std::string(kLinkInbox), {}, TrayState::Connected};
    const auto folders = deps_.folders.copyFolders();
    const auto unread = std::find_if(folders.begin(), folders.end(),
                                     [](const FolderStatus& f) { return f.newCount != 0; });
    if (unread != folders.end()) {
        link = firstUnreadLink(unread->name);
    } else if (deps_.session.read([](const SessionState& s) { return s.sessionId.empty(); })) {
        return;
    }
    deps_.frames.post(FrameKind::Server, UM_OPEN_LINK, 0, 0, makePayload(std::move(link)));
}

}  // namespace vellix
