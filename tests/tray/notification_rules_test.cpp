#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "core/clock.h"
#include "support/recording_frame.h"
#include "tray/notification_rules.h"

namespace vellix {
namespace {

TEST(NotificationRulesTest, LoadSaveRoundTripKeepsOddValuesAndEndsAtTheFirstEmptyName) {
    QTemporaryDir dir;
    ProfileFile file(dir.filePath(QStringLiteral("settings.tmp")).toStdString());
    ASSERT_TRUE(file.writeSection("Vellix", {{"DefaultBlinkIcon", "No"},
                                             {"DefaultShowNotice", "yes"},
                                             {"Entry0:Name", "Work"},
                                             {"Entry0:PlaySound", "7"},
                                             {"Entry0:OpenMessage", "1"},
                                             {"Entry1:Name", ""},
                                             {"Entry2:Name", "Lost"}}));
    NotificationState state;
    FolderTable table;
    loadRules(file, state, table);
    EXPECT_FALSE(state.defaults[BlinkIcon]);
    EXPECT_TRUE(state.defaults[PlaySound]);
    EXPECT_TRUE(state.defaults[ShowNotice]);
    ASSERT_EQ(table.size(), 1u);
    const FolderStatus work = *table.findFolder("Work");
    EXPECT_EQ(work.rules, (FolderRules{2, 7, 2, 1, 2, 2}));
    EXPECT_FALSE(state.effective(work, PlaySound));

    // The server lists Inbox before Work; Work's rules survive the merge.
    FolderStatus inbox;
    inbox.name = "Inbox";
    table.merge({inbox, [&] {
                     FolderStatus w;
                     w.name = "Work";
                     w.order = 1;
                     return w;
                 }()});
    ASSERT_TRUE(saveRules(file, "Inbox", state, table));
    const ProfileDocument doc = file.load();
    const auto key = [&](std::string_view name) {
        return doc.find("Vellix", name).value_or("<absent>");
    };
    EXPECT_EQ(key("TipFolder"), "Inbox");
    EXPECT_EQ(key("DefaultBlinkIcon"), "No");
    EXPECT_EQ(key("DefaultInWindow"), "Yes");
    EXPECT_EQ(key("Entry0:Name"), "Inbox");
    EXPECT_EQ(key("Entry0:InWindow"), "2");
    EXPECT_EQ(key("Entry1:Name"), "Work");
    EXPECT_EQ(key("Entry1:PlaySound"), "7");
    EXPECT_EQ(key("Entry2:Name"), "");

    NotificationState reloadedState;
    FolderTable reloaded;
    loadRules(file, reloadedState, reloaded);
    EXPECT_EQ(reloaded.copyFolders().size(), 2u);
    EXPECT_EQ(reloaded.findFolder("Work")->rules, work.rules);
    EXPECT_EQ(reloaded.findFolder("Inbox")->order, 0);
    EXPECT_FALSE(reloadedState.defaults[BlinkIcon]);
}

TEST(NotificationRulesTest, BlinkToggleTellsTheTrayAndFlipsTheFlag) {
    Clock clock;
    FrameRegistry registry;
    auto tray = test::startRecordingFrame(registry, FrameKind::Tray, clock);
    NotificationState state;
    toggleBlinkDelay(state, registry);
    EXPECT_TRUE(state.blinkDelayed);
    toggleBlinkDelay(state, registry);
    EXPECT_FALSE(state.blinkDelayed);
    ASSERT_TRUE(tray.frame->waitForMessages(2));
    const auto messages = tray.frame->messages();
    EXPECT_EQ(messages[0].id, UM_SERVER_STATE);
    EXPECT_EQ(messages[0].w, 1u);
    EXPECT_EQ(messages[1].w, 2u);
    EXPECT_EQ(messages[0].l, 1);
    EXPECT_EQ(messages[1].l, 1);
    toggleSoundDelay(state);
    toggleNoticeDelay(state);
    EXPECT_TRUE(state.soundDelayed);
    EXPECT_TRUE(state.noticeDelayed);
}

}  // namespace
}  // namespace vellix
