#pragma once
// Where a messenger window opens and what it saves when it closes: screen arithmetic only.

namespace vellix {

struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const ScreenRect&) const = default;
};

// The four saved edges; 0 means "the window's own value for this edge".
struct SavedEdges {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

inline constexpr int kDefaultInputHeight = 70;
inline constexpr int kMinInputHeight = 25;
// The recipient list's width, left out of the saved right edge while it is shown.
inline constexpr int kRecipientPaneWidth = 100;

// `own` is the window's own rectangle, `desktop` the virtual screen (all monitors).
// With several monitors a window left of or above the desktop is moved onto it; with
// one, a window at negative coordinates moves to 0. A window larger than the desktop gets
// its own rectangle.
ScreenRect restoredRect(const SavedEdges& saved, const ScreenRect& own, const ScreenRect& desktop,
                        int monitorCount);
int restoredInputHeight(int saved);
SavedEdges edgesToSave(const ScreenRect& window, bool recipientPaneShown);

}  // namespace vellix
