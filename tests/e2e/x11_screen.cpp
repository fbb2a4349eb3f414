#include "x11_screen.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <cstring>

namespace vellix::test {
namespace {

// A window that vanishes between listing and reading must not end the test program.
int ignoreErrors(Display*, XErrorEvent*) {
    return 0;
}

// The property's items as bytes when they come in `format` bits each, else nothing.
std::string property(Display* display, Window window, Atom property, Atom type, int format) {
    Atom typeReturn = None;
    int formatReturn = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::string bytes;
    if (XGetWindowProperty(display, window, property, 0, 1024, False, type, &typeReturn,
                           &formatReturn, &count, &after, &data) == Success &&
        data != nullptr && formatReturn == format) {
        // Xlib hands 32-bit items over as longs.
        bytes.assign(reinterpret_cast<const char*>(data),
                     count * (format == 32 ? sizeof(long) : 1));
    }
    if (data != nullptr) XFree(data);
    return bytes;
}

}  // namespace

X11Screen::X11Screen(const std::string& display) {
    XSetErrorHandler(ignoreErrors);
    display_ = XOpenDisplay(display.c_str());
}

X11Screen::~X11Screen() {
    if (display_ != nullptr) XCloseDisplay(display_);
}

unsigned long X11Screen::root() const {
    return XDefaultRootWindow(display_);
}

bool X11Screen::trayOwned() const {
    const Atom selection = XInternAtom(display_, "_NET_SYSTEM_TRAY_S0", False);
    return XGetSelectionOwner(display_, selection) != None;
}

std::vector<ScreenWindow> X11Screen::windows() const {
    const Atom netName = XInternAtom(display_, "_NET_WM_NAME", False);
    const Atom netPid = XInternAtom(display_, "_NET_WM_PID", False);
    const Atom wmName = XInternAtom(display_, "WM_NAME", False);
    const Atom cardinal = XInternAtom(display_, "CARDINAL", False);
    std::vector<ScreenWindow> found;
    std::vector<Window> pending{root()};
    while (!pending.empty()) {
        const Window parent = pending.back();
        pending.pop_back();
        Window rootReturn = 0;
        Window parentReturn = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display_, parent, &rootReturn, &parentReturn, &children, &count)) continue;
        for (unsigned int i = 0; i < count; ++i) {
            ScreenWindow window;
            window.id = children[i];
            window.parent = parent;
            XWindowAttributes attributes{};
            if (!XGetWindowAttributes(display_, children[i], &attributes)) continue;
            window.viewable = attributes.map_state == IsViewable;
            window.width = attributes.width;
            window.height = attributes.height;
            Window unused = 0;
            XTranslateCoordinates(display_, children[i], root(), 0, 0, &window.x, &window.y,
                                  &unused);
            window.name = property(display_, children[i], netName, AnyPropertyType, 8);
            if (window.name.empty()) {
                window.name = property(display_, children[i], wmName, AnyPropertyType, 8);
            }
            const std::string pid = property(display_, children[i], netPid, cardinal, 32);
            if (pid.size() == sizeof(long)) std::memcpy(&window.pid, pid.data(), sizeof(long));
            found.push_back(window);
            pending.push_back(children[i]);
        }
        if (children != nullptr) XFree(children);
    }
    return found;
}

std::vector<std::uint32_t> X11Screen::grab(const ScreenWindow& area) const {
    if (area.width <= 0 || area.height <= 0) return {};
    XImage* image =
        XGetImage(display_, root(), area.x, area.y, static_cast<unsigned int>(area.width),
                  static_cast<unsigned int>(area.height), XAllPlanes(), ZPixmap);
    if (image == nullptr) return {};
    std::vector<std::uint32_t> pixels;
    pixels.reserve(static_cast<std::size_t>(area.width) * static_cast<std::size_t>(area.height));
    for (int y = 0; y < area.height; ++y)
        for (int x = 0; x < area.width; ++x)
            pixels.push_back(static_cast<std::uint32_t>(XGetPixel(image, x, y)));
    XDestroyImage(image);
    return pixels;
}

namespace {

void tap(Display* display, KeySym sym, bool shift) {
    const KeyCode shiftCode = XKeysymToKeycode(display, XK_Shift_L);
    const KeyCode code = XKeysymToKeycode(display, sym);
    if (code == 0) return;
    if (shift) XTestFakeKeyEvent(display, shiftCode, True, CurrentTime);
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    if (shift) XTestFakeKeyEvent(display, shiftCode, False, CurrentTime);
}

void focus(Display* display, Window window) {
    XRaiseWindow(display, window);
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    XSync(display, False);
}

}  // namespace

void X11Screen::type(unsigned long window, const std::string& text) const {
    focus(display_, window);
    for (char c : text) {
        // Printable ASCII keysyms are the characters' own codes.
        if (c < 0x20 || c > 0x7E) continue;
        const KeySym sym = static_cast<KeySym>(c);
        // The keysym's own key; upper case and punctuation above the digits need Shift.
        const KeyCode code = XKeysymToKeycode(display_, sym);
        const bool shift = code != 0 && XkbKeycodeToKeysym(display_, code, 0, 0) != sym;
        tap(display_, sym, shift);
    }
    XSync(display_, False);
}

void X11Screen::press(unsigned long window, const std::string& key, bool control) const {
    pressHolding(window, key, control ? "Control_L" : "");
}

void X11Screen::pressHolding(unsigned long window, const std::string& key,
                             const std::string& held) const {
    focus(display_, window);
    const KeyCode heldCode =
        held.empty() ? 0 : XKeysymToKeycode(display_, XStringToKeysym(held.c_str()));
    if (heldCode) XTestFakeKeyEvent(display_, heldCode, True, CurrentTime);
    tap(display_, XStringToKeysym(key.c_str()), false);
    if (heldCode) XTestFakeKeyEvent(display_, heldCode, False, CurrentTime);
    XSync(display_, False);
}

}  // namespace vellix::test
