#pragma once
// The desktop's notification area as the tray icon sees it. Calls come from the tray
// frame's thread; activations are reported on whatever thread the host runs on.

#include <functional>
#include <string>

namespace vellix {

// Mouse messages the icon's callback carries (the numbers the callback always used).
inline constexpr int kTrayRightButtonDown = 0x0204;
inline constexpr int kTrayLeftDoubleClick = 0x0203;
inline constexpr int kTrayIconId = 0x80;

enum class TrayAction { Add, Modify, Delete };

struct TrayActivation {
    int mouseMessage = 0;  // kTrayRightButtonDown or kTrayLeftDoubleClick
    int x = 0;             // cursor position on the screen
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
