#include "tray/note_placement.h"

#include <gtest/gtest.h>

namespace vellix {
namespace {

TEST(NotePlacement, BesideTheIconInsideTheScreen) {
    const QRect screen(0, 0, 1920, 1050);  // a 30-pixel panel below
    const QSize note(300, 200);
    struct Case {
        const char* name;
        QRect icon;
        QPoint expected;
    };
    const Case cases[] = {
        {"bottom-right panel: above, right edges aligned", {1880, 1055, 24, 24}, {1604, 850}},
        {"top-right panel: below", {1880, 2, 24, 24}, {1604, 26}},
        {"icon at the left edge: kept on screen", {4, 1055, 24, 24}, {0, 850}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(placeNearTrayIcon(c.icon, note, screen), c.expected);
    }
    EXPECT_EQ(placeNearTrayIcon({1880, 1055, 24, 24}, {2000, 200}, screen), QPoint(0, 850));
}

}  // namespace
}  // namespace vellix
