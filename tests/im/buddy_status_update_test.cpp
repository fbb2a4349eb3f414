// A buddy's status change: the table, the tray signal, the sound and the window refreshes.
#include <gtest/gtest.h>

#include "core/frame_registry.h"
#include "core/sound_player.h"
#include "core/tray_state.h"
#include "im/buddy_status_update.h"
#include "server/buddy_table.h"
#include "support/recording_frame.h"

namespace vellix {
namespace {

struct RecordingSound : SoundPlayer {
    void play(const std::string& path) override { played.push_back(path); }
    std::vector<std::string> played;
};

std::vector<MessageId> ids(const test::RecordingFrame& frame) {
    std::vector<MessageId> out;
    for (const auto& m : frame.messages()) out.push_back(m.id);
    return out;
}

TEST(BuddyStatus, SignalsFollowTheChangeAndTheSettings) {
    const struct {
        std::string_view email;
        std::string_view shown;
        bool playSounds, blink;
        std::string sound;
        bool changed, trayBlink, played;
    } cases[] = {
        {"BOB@x.test", "Online", true, true, "/s/on.wav", true, true, true},
        {"bob@x.test", "online", true, true, "/s/on.wav", false, false, false},  // same word
        {"bob@x.test", "Online", false, true, "/s/on.wav", true, false, false},  // sounds off
        {"bob@x.test", "Online", true, false, "", true, false, false},
        {"bob@x.test", "Away", true, true, "/s/on.wav", true, false, false},
        {"nobody@x.test", "Online", true, true, "/s/on.wav", false, false, false},
    };
    const Clock clock(0.01);
    for (const auto& c : cases) {
        FrameRegistry registry;
        auto tray = test::startRecordingFrame(registry, FrameKind::Tray, clock);
        auto handler = test::startRecordingFrame(registry, FrameKind::WindowHandler, clock);
        auto buddyWindow = test::startRecordingFrame(registry, FrameKind::BuddyWindow, clock);
        BuddyTable table;
        table.replace({{"bob@x.test", "Bob B", "Offline"}});
        if (c.shown == "online") table.replace({{"bob@x.test", "Bob B", "Online"}});
        RecordingSound sound;
        const BuddyStatusSignals signals{registry,
                                         table,
                                         "Online",
                                         [&] { return c.playSounds; },
                                         [&] { return c.blink; },
                                         [&] { return c.sound; },
                                         &sound};
        SCOPED_TRACE(std::string(c.email) + " " + std::string(c.shown));
        EXPECT_EQ(applyBuddyStatus(signals, c.email, c.shown), c.changed);
        ASSERT_TRUE(buddyWindow.frame->waitForMessages(1));
        if (c.changed) {
            ASSERT_TRUE(handler.frame->waitForMessages(1));
        }
        EXPECT_EQ(ids(*buddyWindow.frame), std::vector<MessageId>{UM_REFRESH_BUDDIES});
        EXPECT_EQ(ids(*handler.frame), c.changed ? std::vector<MessageId>{UM_BUDDY_STATUS_CHANGED}
                                                 : std::vector<MessageId>{});
        const auto trayMessages = tray.frame->messages();  // sent: already handled
        ASSERT_EQ(trayMessages.size(), c.trayBlink ? 1u : 0u);
        if (c.trayBlink) {
            EXPECT_EQ(std::tuple(trayMessages[0].id, trayMessages[0].w, trayMessages[0].text),
                      std::tuple(UM_SERVER_STATE, trayStateToWire(TrayState::Notice), "Bob B"));
        }
        EXPECT_EQ(sound.played.size(), c.played ? 1u : 0u);
        if (c.changed) {
            EXPECT_EQ(table.findByEmail("bob@x.test")->status, c.shown);
        }
    }
}

}  // namespace
}  // namespace vellix
