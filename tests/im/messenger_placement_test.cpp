// Where a messenger window opens from its saved edges.
#include <gtest/gtest.h>

#include "im/messenger_placement.h"

namespace vellix {
namespace {

TEST(MessengerPlacement, RestoredRect) {
    const ScreenRect own{100, 100, 500, 400};
    const ScreenRect one{0, 0, 1920, 1080};
    const ScreenRect two{-1280, 0, 1920, 1080};  // a second monitor on the left
    const struct {
        SavedEdges saved;
        ScreenRect desktop;
        int monitors;
        ScreenRect expected;
    } cases[] = {
        {{0, 0, 0, 0}, one, 1, own},
        {{10, 20, 0, 0}, one, 1, {10, 20, 500, 400}},
        {{-50, -10, 350, 290}, one, 1, {0, 0, 400, 300}},
        {{-1000, 10, -600, 310}, two, 2, {-1000, 10, -600, 310}},  // on the left monitor
        {{-1500, 10, -1100, 310}, two, 2, {-1280, 10, -880, 310}},
        {{10, 10, 3000, 300}, one, 1, own},  // wider than the screen
        {{10, 10, 2500, 300}, two, 2, {10, 10, 2500, 300}},
        {{600, 10, 500, 300}, one, 1, own},  // edges crossed
    };
    for (const auto& c : cases) {
        EXPECT_EQ(restoredRect(c.saved, own, c.desktop, c.monitors), c.expected)
            << c.saved.left << "," << c.saved.top << "," << c.saved.right << "," << c.saved.bottom;
    }
    EXPECT_EQ(restoredInputHeight(10), 25);
    EXPECT_EQ(restoredInputHeight(120), 120);
    EXPECT_EQ(edgesToSave({1, 2, 500, 400}, true).right, 400);
}

}  // namespace
}  // namespace vellix
