#pragma once
// The buddy window, the program's main window: the user's own status on top, the buddies
// and folders tabs below. The close button hides it while a tray icon leads back to it and
// only minimizes it otherwise, so the way in is never lost. On the GUI thread.

#include <QWidget>

#include <functional>

#include "im/buddy_window_view.h"

class QComboBox;
class QTabWidget;

namespace vellix {

class StringTable;
class CProperty_VX_Buddies;
class CProperty_VX_Folders;

class CProperty_VX_Sheet final : public QWidget, public BuddyWindowView {
    Q_OBJECT
  public:
    struct Hooks {
        std::function<bool()> trayAvailable;
        // Told when the window is shown or hidden (the tray host's stand-in steps aside).
        std::function<void(bool visible)> visibilityChanged;
    };
    CProperty_VX_Sheet(const StringTable& strings, BuddyWindowActions& actions, Hooks hooks);

    void showBuddies(const BuddyGroups& groups) override;
    void showFolders(const std::vector<FolderItem>& folders) override;
    void rebuildTabs(bool withBuddies) override;
    void showStatus(const StatusChoices& status) override;
    void setTitle(const std::string& title) override;
    void setAlwaysOnTop(bool onTop) override;
    void place(const WindowPlacement& placement) override;
    void showAndRaise() override;
    WindowRect normalRect() const override;
    bool isMaximized() const override;

    // For tests.
    CProperty_VX_Buddies* buddiesTab() const { return buddies_; }
    CProperty_VX_Folders* foldersTab() const { return folders_; }
    QTabWidget* tabs() const { return tabs_; }
    QComboBox* statusBox() const { return status_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    const StringTable& strings_;
    BuddyWindowActions& actions_;
    Hooks hooks_;
    QComboBox* status_;
    QTabWidget* tabs_;
    CProperty_VX_Buddies* buddies_ = nullptr;
    CProperty_VX_Folders* folders_ = nullptr;
    bool startMaximized_ = false;
};

}  // namespace vellix
