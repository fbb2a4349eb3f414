#pragma once
// A plain Xlib view of a test display: the window tree with names, owners and places, and
// screen pixels, so end-to-end tests can check what the desktop shows.

#include <cstdint>
#include <string>
#include <vector>

struct _XDisplay;

namespace vellix::test {

struct ScreenWindow {
    unsigned long id = 0;
    unsigned long parent = 0;
    std::string name;  // _NET_WM_NAME, else WM_NAME
    long pid = 0;      // _NET_WM_PID, 0 when not set
    bool viewable = false;
    int x = 0;  // root coordinates
    int y = 0;
    int width = 0;
    int height = 0;
};

class X11Screen {
  public:
    explicit X11Screen(const std::string& display);
    ~X11Screen();
    X11Screen(const X11Screen&) = delete;
    X11Screen& operator=(const X11Screen&) = delete;

    bool connected() const { return display_ != nullptr; }
    unsigned long root() const;
    // True while some client owns the system tray selection of screen 0.
    bool trayOwned() const;
    // Every window below the root, parents before children.
    std::vector<ScreenWindow> windows() const;
    // The pixels of a root-window rectangle, row by row; empty when it cannot be read.
    std::vector<std::uint32_t> grab(const ScreenWindow& area) const;
    // Gives the window the keyboard focus and types the text (ASCII) as key presses.
    void type(unsigned long window, const std::string& text) const;
    // One key (an X keysym name such as "Return"), with Control held when asked.
    void press(unsigned long window, const std::string& key, bool control) const;
    // One key with another held, both X keysym names ("f" with "Alt_L" for a mnemonic).
    void pressHolding(unsigned long window, const std::string& key, const std::string& held) const;

  private:
    _XDisplay* display_ = nullptr;
};

}  // namespace vellix::test
