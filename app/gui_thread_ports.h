#pragma once
// Ports whose windows must live on the GUI thread but whose callers are frames on other
// threads: each call is carried to the GUI thread and the caller waits for its answer.

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <string>

#include "core/exit_command.h"
#include "core/string_table.h"
#include "im/windows/buddy_list_page.h"
#include "tray/menu_commands.h"

namespace vellix {

class DesktopShell;

// Runs `work` on the GUI thread and waits for it; a direct call when already there.
void runOnGuiThread(QObject* guiObject, const std::function<void()>& work);

class GuiExitConfirmation final : public ExitConfirmation {
  public:
    GuiExitConfirmation(QObject* guiObject, const StringTable& strings);
    Answer ask(bool dontShowAgain) override;

  private:
    QObject* guiObject_;
    const StringTable& strings_;
};

// The buddy-list page on its own, one at a time, until the options window holds it.
class BuddyListOpener {
  public:
    explicit BuddyListOpener(BuddyListPageDeps deps) : deps_(std::move(deps)) {}
    ~BuddyListOpener() { delete dialog_.data(); }
    BuddyListOpener(const BuddyListOpener&) = delete;
    BuddyListOpener& operator=(const BuddyListOpener&) = delete;
    // On the GUI thread: opens the page, or raises the open one.
    void open();
    // On the GUI thread: the user list the page asked for has arrived.
    void userListArrived();

  private:
    BuddyListPageDeps deps_;
    QPointer<BuddyListDialog> dialog_;
};

// The menu's desktop actions: message boxes on the GUI thread, pages and programs through
// the desktop shell.
class GuiMenuDesktop final : public MenuDesktop {
  public:
    GuiMenuDesktop(QObject* guiObject, DesktopShell& shell, BuddyListOpener& buddyList);
    void showMessage(const std::string& text) override;
    void openUrl(const std::string& url) override;
    void openFolder(const std::string& path) override;
    void startProgram(const std::string& path) override;
    void showOptions(OptionsPage page) override;

  private:
    QObject* guiObject_;
    DesktopShell& shell_;
    BuddyListOpener& buddyList_;
};

}  // namespace vellix
