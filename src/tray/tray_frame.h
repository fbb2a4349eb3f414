#pragma once
// The tray frame: owner of the tray icon. It applies display states posted by the other
// frames, runs the icon's timers, and answers clicks on the icon.

#include <functional>
#include <string>
#include <utility>

#include "core/frame.h"
#include "core/frame_registry.h"
#include "core/guarded.h"
#include "core/session_state.h"
#include "core/string_table.h"
#include "core/user_settings.h"
#include "server/folder_table.h"
#include "tray/notification_state.h"
#include "tray/tray_host.h"
#include "tray/tray_icon.h"

namespace vellix {

// Local time of day as hour (0..23) and minute.
using TimeOfDay = std::function<std::pair<int, int>()>;
std::pair<int, int> localTimeOfDay();

// What the tray frame reads and whom it talks to; everything outlives the frame.
struct TrayFrameDeps {
    const Clock& clock;
    const FrameRegistry& frames;
    TrayHost& host;
    const FolderTable& folders;
    NotificationState& notifications;
    const Guarded<SessionState>& session;
    const AccountSettingsFile& accountSettings;  // "TipFolder"
    std::string iniPath;                         // Vellix.ini: "ToolIconDblClick"
    const StringTable& strings;
    TimeOfDay timeOfDay = localTimeOfDay;
};

class CMainFrame final : public Frame {
    Q_OBJECT
  public:
    explicit CMainFrame(TrayFrameDeps deps);
    ~CMainFrame() override;

  protected:
    LResult handleMessage(Message& message) override;
    void onTimer(int id) override;

  private:
    void onServerState(Message& message);
    std::string tooltipFor(TrayState state, std::string noticeText) const;
    void applyState(TrayState state, const std::string& text);
    void onIconCallback(Message& message);
    void onDoubleClick();

    TrayFrameDeps deps_;
    CTrayIcon icon_;
};

}  // namespace vellix
