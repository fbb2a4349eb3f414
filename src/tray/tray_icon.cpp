#include "tray/tray_icon.h"

#include <algorithm>

#include "tray/tray_tooltips.h"

namespace vellix {

std::optional<int> trayIconForFrame(int frame) {
    if (frame >= 1 && frame <= 11) return 222 + frame;
    if (frame == 12) return 222;
    if (frame == 13 || frame == kFrameBlinkOn) return 234;
    if (frame == kFrameBlinkOff || frame == 22) return 236;
    if (frame == kFrameLost) return 249;
    if (frame >= 31 && frame <= 41) return 207 + frame;
    if (frame == 42) return 237;
    return std::nullopt;
}

int nextTrayFrame(int frame) {
    if (frame >= 1 && frame <= 12) return frame + 1;
    if (frame == 13) return 1;
    if (frame == kFrameBlinkOn) return kFrameBlinkOff;
    if (frame == kFrameBlinkOff) return kFrameBlinkOn;
    if (frame >= 30 && frame <= 41) return frame + 1;
    if (frame == 42) return 30;
    return 0;
}

CTrayIcon::CTrayIcon(Frame& owner, TrayHost& host) : owner_(owner), host_(host) {
}

void CTrayIcon::stopTimers() {
    owner_.killTimer(kTrayAnimationTimer);
    owner_.killTimer(kTrayNoticeTimer);
    timedRunning_ = false;
}

void CTrayIcon::setState(TrayState state, const std::string& text) {
    const TrayState old = state_;
    // Leaving an animated state stops its timers, except towards "lost", which keeps a
    // running notice so it can re-apply itself, and except from "connecting", whose notice
    // timer is left to run out.
    if ((old == TrayState::NewMail || old == TrayState::Waiting || old == TrayState::Notice) &&
        state != TrayState::Lost) {
        stopTimers();
    }
    if (state != TrayState::Notice) text_ = text;
    connectedFrame_ = std::clamp(connectedFrame_, kConnectedFrameFirst, kConnectedFrameLast);

    switch (state) {
        case TrayState::Connected:
            // A still picture: an animation left running by "connecting" must not go on.
            owner_.killTimer(kTrayAnimationTimer);
            showFrame(connectedFrame_);
            break;
        case TrayState::NewMail:
            owner_.setTimer(kTrayAnimationTimer, kBlinkPeriod);
            showFrame(kFrameBlinkOn);
            break;
        case TrayState::Waiting:
            owner_.setTimer(kTrayAnimationTimer, kAnimationPeriod);
            showFrame(connectedFrame_);
            break;
        case TrayState::Lost:
            owner_.killTimer(kTrayAnimationTimer);
            showFrame(kFrameLost);
            break;
        case TrayState::Connecting:
            owner_.setTimer(kTrayAnimationTimer, kAnimationPeriod);
            owner_.setTimer(kTrayNoticeTimer, kConnectingNotice);
            timedRunning_ = true;
            showFrame(kFrameLost);
            break;
        case TrayState::Notice:
            if (old != TrayState::Notice) {
                previousState_ = old;
                savedText_ = text_;
            }
            text_ = text;
            owner_.setTimer(kTrayAnimationTimer, kAnimationPeriod);
            owner_.setTimer(kTrayNoticeTimer, kTimedNotice);
            timedRunning_ = true;
            showFrame(kFrameBlinkOn);
            break;
        default:
            update(std::nullopt);
            break;
    }
    state_ = state;
}

void CTrayIcon::onAnimationTimer() {
    const int next = nextTrayFrame(frame_);
    // State 1 later shows the frame where the animation stopped.
    if (next >= kConnectedFrameFirst && next <= kConnectedFrameLast) connectedFrame_ = next;
    showFrame(next);
}

void CTrayIcon::onNoticeTimer() {
    owner_.killTimer(kTrayNoticeTimer);
    timedRunning_ = false;
    if (state_ == TrayState::Lost) {
        setState(TrayState::Lost, text_);
    } else if (state_ == TrayState::Notice) {
        const std::string saved = savedText_;
        setState(previousState_, saved);
    }
}

void CTrayIcon::remove() {
    stopTimers();
    update(std::nullopt);
}

void CTrayIcon::showFrame(int frame) {
    frame_ = frame;
    update(trayIconForFrame(frame));
}

void CTrayIcon::update(std::optional<int> icon) {
    TrayAction action = TrayAction::Delete;
    if (!icon) {
        if (!shown_) return;
    } else {
        action = shown_ ? TrayAction::Modify : TrayAction::Add;
    }
    const int picture = icon.value_or(0);
    const std::string tip = cutUtf8(text_, kTipMaxChars);
    bool ok = host_.apply(action, picture, tip);
    // A failed change is retried as an add, a failed add as a change: this also brings the
    // icon back after the desktop's tray lost it.
    if (!ok && action == TrayAction::Modify) {
        ok = host_.apply(TrayAction::Add, picture, tip) ||
             host_.apply(TrayAction::Modify, picture, tip);
    } else if (!ok && action == TrayAction::Add) {
        ok = host_.apply(TrayAction::Modify, picture, tip);
    }
    shown_ = ok && action != TrayAction::Delete;
}

}  // namespace vellix
