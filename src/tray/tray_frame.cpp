#include "tray/tray_frame.h"

#include <ctime>

#include "server/webmail_link.h"
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
        post(UM_TRAY_CALLBACK, kTrayIconId, activation.mouseMessage, makePayload(activation));
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
        case UM_TRAY_APPLY_STATE:
            applyState(static_cast<int>(message.l), message.take<std::string>().value_or(""));
            return 0;
        case UM_TRAY_REMOVE_ICON:
            icon_.remove();
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
        deps_.notifications.disconnected = icon_.state() == kTrayLost;
    }
}

void CMainFrame::onServerState(Message& message) {
    const int state = message.w == 0 ? icon_.state() : static_cast<int>(message.w);
    const std::string text = tooltipFor(state, message.take<std::string>().value_or(""));
    // A state without a text to show is not worth showing.
    if (utf8Length(text) < 2) return;
    applyState(state, text);
}

std::string CMainFrame::tooltipFor(int state, std::string noticeText) const {
    switch (state) {
        case kTrayConnected: {
            const std::string tip = deps_.accountSettings.read(account::kTipFolder);
            const auto tipFolder = tip.empty() ? std::nullopt : deps_.folders.findFolder(tip);
            return connectedTooltip(deps_.folders.copyFolders(), tipFolder, deps_.strings);
        }
        case kTrayNewMail:
            return newMailTooltip(
                deps_.folders.copyFolders(),
                [this](const FolderStatus& f) {
                    return deps_.notifications.effective(f, BlinkIcon);
                },
                deps_.strings);
        case kTrayNotice: {
            const auto [hour, minute] = deps_.timeOfDay();
            return noticeTooltip(noticeText, hour, minute);
        }
        default:
            // A lost connection the user asked for (log out) comes with its own words.
            if (state == kTrayLost && !noticeText.empty()) return noticeText;
            return fixedStateTooltip(state, deps_.strings);
    }
}

void CMainFrame::applyState(int state, const std::string& text) {
    icon_.setState(state, text);
    deps_.notifications.disconnected = icon_.state() == kTrayLost;
}

void CMainFrame::onIconCallback(Message& message) {
    const auto activation = message.take<TrayActivation>().value_or(TrayActivation{});
    switch (message.l) {
        case kTrayRightButtonDown:
            deps_.frames.post(FrameKind::Menu, UM_SHOW_MENU, static_cast<WParam>(activation.x),
                              activation.y);
            break;
        case kTrayLeftDoubleClick:
            onDoubleClick();
            break;
        default:
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
    WebmailLink link;
    link.trayStateAfter = kTrayConnected;
    for (const auto& folder : deps_.folders.copyFolders()) {
        if (folder.newCount != 0) {
            link.format = kLinkFirstUnread;
            link.arguments[0] = folder.name;
            break;
        }
    }
    if (link.format.empty()) {
        if (deps_.session.read([](const SessionState& s) { return s.sessionId.empty(); })) return;
        link.format = kLinkInbox;
    }
    deps_.frames.post(FrameKind::Server, UM_OPEN_LINK, 0, 0, makePayload(std::move(link)));
}

}  // namespace vellix
