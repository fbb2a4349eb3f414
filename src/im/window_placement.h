#pragma once
// Where the buddy window opens and what it stores when it goes: the four edges (0 keeps the
// default), the maximized flag and the always-on-top flag of section "VellixWindow".

#include <vector>

#include "core/profile_file.h"

namespace vellix {

struct WindowRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool empty() const { return right <= left || bottom <= top; }
    bool intersects(const WindowRect& other) const {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
    bool operator==(const WindowRect&) const = default;
};

struct WindowPlacement {
    WindowRect rect;
    bool maximized = false;
    bool alwaysOnTop = false;
};

WindowPlacement readBuddyWindowPlacement(const ProfileFile& ini);
// The edges only when not maximized (a maximized window keeps its last normal rectangle).
Status saveBuddyWindowPlacement(ProfileFile& ini, const WindowRect& rect, bool maximized);

// The rectangle the window opens at: each stored edge that is 0 takes the default's; a
// result that is empty or on none of the screens (a monitor unplugged since) is the default.
WindowRect openingRect(const WindowRect& stored, const WindowRect& fallback,
                       const std::vector<WindowRect>& screens);

}  // namespace vellix
