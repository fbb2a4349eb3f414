#pragma once
// Ports whose windows must live on the GUI thread but whose callers are frames on other
// threads: each call is carried to the GUI thread and the caller waits for its answer.

#include <QObject>

#include <functional>
#include <memory>
#include <string>

#include "core/exit_command.h"
#include "core/result.h"
#include "core/string_table.h"
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

// The menu's desktop actions: message boxes on the GUI thread, pages and programs through
// the desktop shell. An action that fails says so in a message box.
class GuiMenuDesktop final : public MenuDesktop {
  public:
    GuiMenuDesktop(QObject* guiObject, DesktopShell& shell, const StringTable& strings);
    void showMessage(const std::string& text) override;
    void openUrl(const std::string& url) override;
    void openFolder(const std::string& path) override;
    void startProgram(const std::string& path) override;

  private:
    void reportFailure(const Status& status);

    QObject* guiObject_;
    DesktopShell& shell_;
    const StringTable& strings_;
};

}  // namespace vellix
