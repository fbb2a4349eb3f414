#include "im/messenger_placement.h"

#include <algorithm>

namespace vellix {

ScreenRect restoredRect(const SavedEdges& saved, const ScreenRect& own, const ScreenRect& desktop,
                        int monitorCount) {
    ScreenRect r{saved.left ? saved.left : own.left, saved.top ? saved.top : own.top,
                 saved.right ? saved.right : own.right, saved.bottom ? saved.bottom : own.bottom};
    if (r.width() <= 0 || r.height() <= 0) return own;
    const int minLeft = monitorCount >= 2 ? desktop.left : 0;
    const int minTop = monitorCount >= 2 ? desktop.top : 0;
    if (r.left < minLeft) {
        r.right += minLeft - r.left;
        r.left = minLeft;
    }
    if (r.top < minTop) {
        r.bottom += minTop - r.top;
        r.top = minTop;
    }
    if (r.width() > desktop.width() || r.height() > desktop.height()) return own;
    return r;
}

int restoredInputHeight(int saved) {
    return std::max(saved, kMinInputHeight);
}

SavedEdges edgesToSave(const ScreenRect& window, bool recipientPaneShown) {
    return {window.left, window.top, window.right - (recipientPaneShown ? kRecipientPaneWidth : 0),
            window.bottom};
}

}  // namespace vellix
