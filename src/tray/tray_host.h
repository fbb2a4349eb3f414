#pragma once
// The desktop's notification area as the tray icon sees it. Calls come from the tray
// frame's thread; activations are reported on whatever thread the host runs on.

#include <functional>
#include <string>

namespace vellix {

inline constexpr int kTrayIconId = 0x80;

// What the user did to the icon: asked for its menu, or double-clicked it.
enum class TrayClick { Menu, DoubleClick };

enum class TrayAction { Add, Modify, Delete };

struct TrayActivation {
    TrayClick click = TrayClick::Menu;
    int x = 0;  // cursor position on the screen
    int y = 0;
};

class TrayHost {
  public:
    virtual ~TrayHost() = default;

    // Adds the icon, changes the shown one, or removes it. `icon` is the picture's
    // resource number (222..249), ignored for Delete. Add fails when the icon is already
    // there, Modify and Delete when it is not: the caller's retry restores a lost icon.
    virtual bool apply(TrayAction action, int icon, const std::string& tip) = 0;

    using ActivationHandler = std::function<void(const TrayActivation&)>;
    // An empty handler stops the reports; once set to empty no report is running or
    // will start.
    virtual void setActivationHandler(ActivationHandler handler) = 0;
};

}  // namespace vellix
