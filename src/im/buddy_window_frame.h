#pragma once
// The buddy window's frame, `CWinThread_VX_Window`'s part: it lives on the GUI thread, where
// the window lives, and turns the server frame's refresh messages into what the window
// shows and the window's double-clicks into messages. All calls come on the GUI thread;
// other threads reach it only by posting. It is not waited for at exit.

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/frame.h"
#include "core/frame_registry.h"
#include "core/guarded.h"
#include "core/session_state.h"
#include "im/buddy_window_view.h"

namespace vellix {

struct BuddyWindowDeps {
    FrameRegistry& frames;
    const BuddyTable& buddies;
    const FolderTable& folders;
    const Guarded<SessionState>& session;
    const Guarded<std::string>& statusWord;
    // Set when the user picks a status other than Online: the idle rule leaves it alone.
    std::atomic<bool>& manualStatus;
    std::function<std::string(int)> text;
    std::string iniPath;  // Vellix.ini
    // The program-wide default of the folders' `InWindow` rule.
    std::function<bool()> defaultInWindow{};
    // Without a tray the window is the way in, so it shows at start.
    std::function<bool()> trayAvailable{};
    // Makes the window; none runs the frame without one.
    BuddyWindowViewFactory makeView{};
};

class BuddyWindowFrame final : public Frame, private BuddyWindowActions {
    Q_OBJECT
  public:
    BuddyWindowFrame(BuddyWindowDeps deps, const Clock& clock);
    ~BuddyWindowFrame() override;

    // The window, made on first use: an idle tray that never shows it keeps the widget code
    // and its pages out of memory.
    BuddyWindowView* view();

  protected:
    LResult handleMessage(Message& message) override;

  private:
    void refreshBuddies();
    void refreshFolders();
    void rebuildTabs();
    void refreshStatus(std::optional<std::string> chosen = std::nullopt);
    void savePlacement();

    void openConversation(const BuddyRecord& buddy) override;
    void openFolder(const FolderStatus& folder) override;
    void chooseStatus(std::size_t index) override;

    BuddyWindowDeps deps_;
    std::unique_ptr<BuddyWindowView> view_;
    bool firstFill_ = true;
};

}  // namespace vellix
