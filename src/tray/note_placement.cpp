#include "tray/note_placement.h"

#include <algorithm>

namespace vellix {

QPoint placeNearTrayIcon(const QRect& icon, const QSize& window, const QRect& screen) {
    // A panel at the bottom puts the note above the icon; at the top, below it.
    const bool below = icon.center().y() < screen.center().y();
    int y = below ? icon.bottom() + 1 : icon.top() - window.height();
    // Right edges line up, as the icon usually sits at the right of the panel.
    int x = icon.right() + 1 - window.width();
    x = std::clamp(x, screen.left(), std::max(screen.left(), screen.right() + 1 - window.width()));
    y = std::clamp(y, screen.top(), std::max(screen.top(), screen.bottom() + 1 - window.height()));
    return {x, y};
}

}  // namespace vellix
