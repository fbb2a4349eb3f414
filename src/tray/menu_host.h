#pragma once
// Shows a built tray menu to the user. Called from the menu frame's thread; blocks there
// until the menu closes.

#include "tray/menu_model.h"

namespace vellix {

class MenuHost {
  public:
    virtual ~MenuHost() = default;
    // Shows the menu at the screen point and returns the chosen command id, 0 when the
    // menu was dismissed.
    virtual int showMenu(const MenuModel& model, int x, int y) = 0;
};

}  // namespace vellix
