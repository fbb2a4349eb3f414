#include "im/window_placement.h"

#include <algorithm>
#include <string>

#include "core/settings_keys.h"

namespace vellix {

WindowPlacement readBuddyWindowPlacement(const ProfileFile& ini) {
    WindowPlacement placement;
    placement.rect = {readKey(ini, ini::kBuddyWindowLeft), readKey(ini, ini::kBuddyWindowTop),
                      readKey(ini, ini::kBuddyWindowRight), readKey(ini, ini::kBuddyWindowBottom)};
    placement.maximized = readKey(ini, ini::kBuddyIsMaximized);
    placement.alwaysOnTop = readKey(ini, ini::kBuddyAlwaysOnTop);
    return placement;
}

Status saveBuddyWindowPlacement(ProfileFile& ini, const WindowRect& rect, bool maximized) {
    return ini.edit([&](ProfileDocument& doc) -> Status {
        const auto put = [&](const auto& key, const std::string& value) {
            return doc.set(key.section, key.name, value);
        };
        if (!maximized) {
            for (const auto& [key, value] : {std::pair{ini::kBuddyWindowLeft, rect.left},
                                             std::pair{ini::kBuddyWindowRight, rect.right},
                                             std::pair{ini::kBuddyWindowTop, rect.top},
                                             std::pair{ini::kBuddyWindowBottom, rect.bottom}}) {
                if (Status s = put(key, std::to_string(value)); !s) return s;
            }
        }
        return put(ini::kBuddyIsMaximized, maximized ? "Yes" : "No");
    });
}

WindowRect openingRect(const WindowRect& stored, const WindowRect& fallback,
                       const std::vector<WindowRect>& screens) {
    const auto pick = [](int value, int otherwise) { return value != 0 ? value : otherwise; };
    const WindowRect rect{pick(stored.left, fallback.left), pick(stored.top, fallback.top),
                          pick(stored.right, fallback.right), pick(stored.bottom, fallback.bottom)};
    if (rect.empty()) return fallback;
    const bool visible = std::any_of(screens.begin(), screens.end(), [&](const WindowRect& screen) {
        return rect.intersects(screen);
    });
    return visible ? rect : fallback;
}

}  // namespace vellix
