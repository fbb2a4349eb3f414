#include "tray/tray_icon.h"

#include <gtest/gtest.h>

#include "recording_tray_host.h"

namespace vellix {
namespace {

using test::RecordingTrayHost;

class TrayIconTest : public ::testing::Test {
  protected:
    Clock clock_;
    Frame owner_{"owner", clock_};
    RecordingTrayHost host_;
    CTrayIcon icon_{owner_, host_};

    int lastIcon() const { return host_.calls().empty() ? -1 : host_.calls().back().icon; }
    bool animating() const { return owner_.hasTimer(kTrayAnimationTimer); }
    bool noticing() const { return owner_.hasTimer(kTrayNoticeTimer); }
};

TEST(TrayFrames, EveryAnimationCyclesThroughExistingPictures) {
    for (int start : {1, 20, 30}) {
        int frame = start, steps = 0;
        do {
            ASSERT_TRUE(trayIconForFrame(frame)) << frame;
            frame = nextTrayFrame(frame);
            ++steps;
        } while (frame != start && steps < 20);
        EXPECT_EQ(steps, start == 20 ? 2 : 13) << start;
    }
    EXPECT_FALSE(trayIconForFrame(0));
}

TEST_F(TrayIconTest, StatesShowTheirPicturesAndTimers) {
    struct Step {
        int state;  // 0: one animation tick instead
        int icon;   // picture handed to the host afterwards
        bool animating, noticing;
    };
    const Step steps[] = {
        {5, 249, true, true},  {0, 238, true, true},  {1, 232, false, true},  {3, 232, true, true},
        {0, 233, true, true},  {0, 222, true, true},  {1, 222, false, false}, {2, 234, true, false},
        {0, 236, true, false}, {0, 234, true, false}, {4, 249, false, false}, {3, 222, true, false},
        {0, 234, true, false}, {0, 223, true, false}, {1, 223, false, false},
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        const Step& step = steps[i];
        if (step.state) {
            icon_.setState(trayStateFromWire(step.state), "tip " + std::to_string(step.state));
        } else {
            icon_.onAnimationTimer();
        }
        EXPECT_EQ(std::tuple(lastIcon(), animating(), noticing()),
                  std::tuple(step.icon, step.animating, step.noticing))
            << "step " << i;
    }
    // The first picture was added, every later one changed in place.
    const auto calls = host_.calls();
    EXPECT_EQ(calls.front().action, TrayAction::Add);
    for (std::size_t i = 1; i < calls.size(); ++i) EXPECT_EQ(calls[i].action, TrayAction::Modify);
}

TEST_F(TrayIconTest, NoticeOverlaysAndRestoresThePreviousState) {
    icon_.setState(trayStateFromWire(2), "New mail: Inbox:3");
    icon_.setState(trayStateFromWire(6), "Hello (1:00 PM)");
    EXPECT_EQ(host_.calls().back().tip, "Hello (1:00 PM)");
    icon_.setState(trayStateFromWire(6),
                   "Again (1:01 PM)");  // a second notice keeps the first's return point
    icon_.onNoticeTimer();
    EXPECT_EQ(icon_.state(), TrayState::NewMail);
    EXPECT_EQ(host_.calls().back().tip, "New mail: Inbox:3");
    EXPECT_EQ(lastIcon(), 234);
    EXPECT_TRUE(animating());
    EXPECT_FALSE(noticing());
}

TEST_F(TrayIconTest, LostStateReappliesWhenConnectingNoticeEnds) {
    icon_.setState(trayStateFromWire(5), "connecting");
    icon_.setState(trayStateFromWire(4), "lost");
    EXPECT_TRUE(noticing());  // the connecting notice still runs
    host_.clear();
    icon_.onNoticeTimer();
    ASSERT_EQ(host_.calls().size(), 1u);
    EXPECT_EQ(host_.calls()[0].icon, 249);
    EXPECT_EQ(host_.calls()[0].tip, "lost");
    EXPECT_FALSE(icon_.timedStateRunning());
}

TEST_F(TrayIconTest, InvalidStateRemovesTheIconAndTipsAreCut) {
    icon_.setState(trayStateFromWire(1), std::string(80, 'x'));
    EXPECT_EQ(host_.calls().back().tip, std::string(63, 'x'));
    icon_.setState(trayStateFromWire(9), "gone");
    EXPECT_EQ(host_.calls().back().action, TrayAction::Delete);
    EXPECT_FALSE(icon_.shown());
    icon_.setState(trayStateFromWire(9), "gone");  // nothing shown: nothing to remove
    EXPECT_EQ(host_.calls().size(), 2u);
    icon_.setState(trayStateFromWire(1), "back");
    EXPECT_EQ(host_.calls().back().action, TrayAction::Add);
}

TEST_F(TrayIconTest, FailedHostCallsAreRetried) {
    using A = TrayAction;
    struct Case {
        bool shownBefore;
        std::vector<bool> failures;
        std::vector<A> expected;
        bool shownAfter;
    };
    const Case cases[] = {
        {true, {true}, {A::Modify, A::Add}, true},
        {true, {true, true}, {A::Modify, A::Add, A::Modify}, true},
        {true, {true, true, true}, {A::Modify, A::Add, A::Modify}, false},
        {false, {true}, {A::Add, A::Modify}, true},
        {false, {true, true}, {A::Add, A::Modify}, false},
    };
    for (const Case& c : cases) {
        Frame owner("owner", clock_);
        RecordingTrayHost host;
        CTrayIcon icon(owner, host);
        if (c.shownBefore) icon.setState(trayStateFromWire(1), "up");
        host.clear();
        host.failNext(c.failures);
        icon.setState(trayStateFromWire(4), "lost");
        std::vector<A> actions;
        for (const auto& call : host.calls()) actions.push_back(call.action);
        EXPECT_EQ(actions, c.expected);
        EXPECT_EQ(icon.shown(), c.shownAfter);
    }
}

}  // namespace
}  // namespace vellix
