#pragma once
// The ports between the buddy-window frame and its window. Both live on the GUI thread:
// the frame calls the view directly, and the window reports the user's choices through
// BuddyWindowActions, which the frame turns into messages.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "im/buddy_window_model.h"
#include "im/window_placement.h"

namespace vellix {

// The user's own status as the window offers it: the localized word of each choice.
struct StatusChoices {
    std::vector<std::string> words;  // Online, Away, Invisible, Offline
    std::string current;             // localized; may be none of the four
    bool enabled = false;            // only while logged in with messaging
};

class BuddyWindowActions {
  public:
    virtual ~BuddyWindowActions() = default;
    virtual void openConversation(const BuddyRecord& buddy) = 0;
    virtual void openFolder(const FolderStatus& folder) = 0;
    // `index` into StatusChoices::words.
    virtual void chooseStatus(std::size_t index) = 0;
};

class BuddyWindowView {
  public:
    virtual ~BuddyWindowView() = default;
    virtual void showBuddies(const BuddyGroups& groups) = 0;
    virtual void showFolders(const std::vector<FolderItem>& folders) = 0;
    // Discards both tabs and makes them anew (the buddies tab only with messaging); the
    // folders tab becomes the current one.
    virtual void rebuildTabs(bool withBuddies) = 0;
    virtual void showStatus(const StatusChoices& status) = 0;
    virtual void setTitle(const std::string& title) = 0;
    virtual void setAlwaysOnTop(bool onTop) = 0;
    // Opening placement; the window stays hidden.
    virtual void place(const WindowPlacement& placement) = 0;
    // Shows, restores from minimized and raises.
    virtual void showAndRaise() = 0;
    // The rectangle and maximized state to store when the window goes.
    virtual WindowRect normalRect() const = 0;
    virtual bool isMaximized() const = 0;
};

using BuddyWindowViewFactory =
    std::function<std::unique_ptr<BuddyWindowView>(BuddyWindowActions& actions)>;

}  // namespace vellix
