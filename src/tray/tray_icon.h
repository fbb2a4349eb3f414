#pragma once
// The tray icon's display state machine: which picture and tooltip each state shows, the
// blink and connection animations, the timed notice, and the host calls with their retry.
// It runs on its owner frame's thread and uses that frame's timers 16 and 18.

#include <optional>
#include <string>

#include "core/frame.h"
#include "core/tray_state.h"
#include "tray/tray_host.h"

namespace vellix {

inline constexpr int kTrayAnimationTimer = 16;
inline constexpr int kTrayNoticeTimer = 18;
inline constexpr Milliseconds kBlinkPeriod{500};
inline constexpr Milliseconds kAnimationPeriod{150};
inline constexpr Milliseconds kConnectingNotice{2000};
inline constexpr Milliseconds kTimedNotice{10000};

// Animation frames with a fixed role.
inline constexpr int kFrameBlinkOn = 20;
inline constexpr int kFrameBlinkOff = 21;
inline constexpr int kFrameLost = 30;
inline constexpr int kConnectedFrameFirst = 1;
inline constexpr int kConnectedFrameLast = 13;
inline constexpr int kConnectedFrameInitial = 10;

// The picture of an animation frame (222..249); nothing for a frame without one.
std::optional<int> trayIconForFrame(int frame);
// The frame after `frame` in its animation; 0 (no picture) for frames outside one.
int nextTrayFrame(int frame);

class CTrayIcon {
  public:
    // The owner runs the timers and reports them through onAnimationTimer/onNoticeTimer.
    CTrayIcon(Frame& owner, TrayHost& host);

    void setState(TrayState state, const std::string& text);
    void onAnimationTimer();
    void onNoticeTimer();
    // Stops the timers and takes the icon off the tray.
    void remove();

    TrayState state() const { return state_; }
    int frame() const { return frame_; }
    int connectedFrame() const { return connectedFrame_; }
    const std::string& text() const { return text_; }
    bool shown() const { return shown_; }
    bool timedStateRunning() const { return timedRunning_; }

  private:
    void showFrame(int frame);
    void update(std::optional<int> icon);
    void stopTimers();

    Frame& owner_;
    TrayHost& host_;
    int frame_ = 0;
    TrayState state_ = TrayState::Connecting;
    TrayState previousState_ = TrayState::Connecting;
    std::string text_;
    std::string savedText_;
    int connectedFrame_ = kConnectedFrameInitial;
    bool timedRunning_ = false;
    bool shown_ = false;
};

}  // namespace vellix
