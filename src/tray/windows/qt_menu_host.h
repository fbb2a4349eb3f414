#pragma once
// The tray menu on screen: a QMenu made from the menu model, shown on the GUI thread.

#include <memory>

#include "tray/menu_host.h"

class QMenu;
class QIcon;

namespace vellix {

// A QMenu for the model; each command action carries its id as data(). The caller owns it.
std::unique_ptr<QMenu> makeQMenu(const MenuModel& model);

// The 16x16 picture of a presence item (kPicture*); a null icon for anything else.
QIcon statusPicture(int picture);

class QtMenuHost final : public MenuHost {
  public:
    // From any thread: a thread other than the GUI thread waits until the menu closes.
    int showMenu(const MenuModel& model, int x, int y) override;
};

}  // namespace vellix
