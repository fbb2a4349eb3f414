#pragma once
// The menu frame: builds the tray menu on each right-click, shows it through the menu host
// and runs the chosen command; also asks for the login data missing at start.

#include "core/frame.h"
#include "tray/menu_commands.h"
#include "tray/menu_host.h"
#include "tray/menu_model.h"

namespace vellix {

struct MenuFrameDeps {
    MenuContext context;
    MenuHost* host = nullptr;
};

class CMainFrame_Menu final : public Frame {
    Q_OBJECT
  public:
    CMainFrame_Menu(MenuFrameDeps deps, const Clock& clock);

  protected:
    LResult handleMessage(Message& message) override;

  private:
    void showMenu(int x, int y);

    MenuFrameDeps deps_;
    // The menu of the last right-click; its command maps stay valid until the next one.
    MenuModel menu_;
};

}  // namespace vellix
