#include "tray/new_mail_pass.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/temp_folder.h"
#include "tray/notification_rules.h"

namespace vellix {
namespace {

FolderStatus folder(std::string name, int recent = 0, FolderRules rules = {2, 2, 2, 2, 2, 2}) {
    FolderStatus f;
    f.name = name;
    f.displayName = "[" + name + "]";
    f.newCount = 1;
    f.recent = recent;
    f.rules = rules;
    return f;
}

using Arrange = std::function<void(NotificationState&)>;

TEST(NewMailPassTest, TellsTheUserByRulesFlagsAndArrivals) {
    const FolderRules soundAndNote{2, 1, 1, 2, 2, 2}, soundOnly{2, 1, 0, 2, 2, 2},
        noteOnly{2, 0, 1, 2, 2, 2}, open{2, 2, 2, 1, 2, 2};
    const Arrange later = [](NotificationState& s) { s.firstCheckSinceStart = false; };
    const Arrange silenced = [](NotificationState& s) {
        s.firstCheckSinceStart = false;
        s.blinkDelayed = s.soundDelayed = true;
    };
    struct Step {
        std::vector<FolderStatus> reply;  // in server order
        std::string expected;             // b(link) s(ound) n(otice) or '-', then the folder opened
        Arrange before = {};
    };
    struct Case {
        const char* what;
        Arrange setup;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"first check announces all, then only blinks",
         {},
         {{{folder("Inbox", 0, soundAndNote)}, "bsn"},
          {{folder("Inbox", 0, soundAndNote)}, "b--"}}},
        {"shipped defaults, recent 0 after the first pass: blinks on every pass",
         {},
         {{{folder("Inbox")}, "bs-"}, {{folder("Inbox")}, "b--"}, {{folder("Inbox")}, "b--"}}},
        {"sound once per fresh arrival",
         later,
         {{{folder("Inbox", 2, soundOnly)}, "bs-"},
          {{folder("Inbox", 0, soundOnly)}, "b--"},
          {{folder("Inbox", 1, soundOnly)}, "bs-"}}},
        {"sound delay switched off repeats the sound",
         later,
         {{{folder("Inbox", 1, soundOnly)}, "bs-"},
          {{folder("Inbox", 0, soundOnly)}, "bs-", [](auto& s) { s.soundDelayed = false; }}}},
        {"silenced blinking stays off until fresh mail",
         silenced,
         {{{folder("Inbox")}, "---"}, {{folder("Inbox", 3)}, "bs-"}}},
        {"fresh under the note rule lets another folder's sound play",
         [](NotificationState& s) { s.firstCheckSinceStart = false, s.soundDelayed = true; },
         {{{folder("A", 0, soundOnly), folder("B", 1, noteOnly)}, "bsn"}}},
        {"only the first folder by name is opened, on every pass, whatever the delays",
         silenced,
         {{{folder("Work", 0, open), folder("Inbox", 0, open)}, "---Inbox"},
          {{folder("Work", 0, open), folder("Inbox", 0, open)}, "---Inbox"}}},
        {"rule values outside 0..2 count as off",
         later,
         {{{folder("Inbox", 1, {7, -1, 3, 9, 2, 2})}, "---"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        NotificationState state;
        if (c.setup) c.setup(state);
        FolderTable table;
        for (const Step& step : c.steps) {
            if (step.before) step.before(state);
            table.merge(step.reply);
            table.applyRules(step.reply);
            const NewMailActions a = runNewMailPass(table.copyWithNewMail(), state);
            const std::string got = std::string{a.blink ? 'b' : '-', a.playSound ? 's' : '-',
                                                a.showNotice ? 'n' : '-'} +
                                    a.openFolder.value_or("");
            EXPECT_EQ(got, step.expected);
            EXPECT_FALSE(state.firstCheckSinceStart);
        }
    }
}

TEST(NewMailPassTest, ARuleNoFolderWantsClearsItsPendingAndDelayedFlags) {
    struct Flags {
        std::atomic<bool> NotificationState::*pending;
        std::atomic<bool> NotificationState::*delayed;
        FolderRule rule;
    };
    for (const Flags f :
         {Flags{&NotificationState::blinkPending, &NotificationState::blinkDelayed, BlinkIcon},
          Flags{&NotificationState::soundPending, &NotificationState::soundDelayed, PlaySound},
          Flags{&NotificationState::noticePending, &NotificationState::noticeDelayed,
                ShowNotice}}) {
        for (const int value : {1, 0}) {
            SCOPED_TRACE(std::to_string(f.rule) + " = " + std::to_string(value));
            NotificationState state;
            state.firstCheckSinceStart = false;
            state.*f.pending = false;
            state.*f.delayed = true;
            FolderStatus inbox = folder("Inbox");
            inbox.rules[f.rule] = value;
            runNewMailPass({inbox}, state);
            // Wanted with recent 0 keeps the user's silence.
            EXPECT_EQ((state.*f.pending).load(), value == 1);
            EXPECT_EQ((state.*f.delayed).load(), value == 1);
        }
    }
}

TEST(NewMailPassTest, NoteLinesAndDesktopNotice) {
    NotificationState state;
    const std::vector<FolderStatus> folders = {folder("A", 0, {0, 0, 1, 0, 2, 2}),
                                               folder("B", 2, {0, 0, 0, 0, 2, 2}),
                                               folder("C", 1, {0, 1, 0, 0, 2, 2})};
    const auto lines = noticeFolders(folders, state);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].name, "A");
    // B has every announcing rule off; A's mail is not fresh after the first check.
    EXPECT_EQ(desktopNoticeBody(arrivedFolders(folders, state, false)), "[C] (1)");
    EXPECT_EQ(desktopNoticeBody(arrivedFolders(folders, state, true)), "[A] (1)\n[C] (1)");
}

TEST(NotificationRulesTest, LoadSaveRoundTripKeepsOddValuesAndEndsAtTheFirstEmptyName) {
    test::TempFolder dir;
    ProfileFile file(dir.file("settings.tmp"));
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
    FolderStatus inbox, listedWork;
    inbox.name = "Inbox";
    listedWork.name = "Work";
    listedWork.order = 1;
    table.merge({inbox, listedWork});
    ASSERT_TRUE(saveRules(file, "Inbox", state, table));
    const ProfileDocument doc = file.load();
    for (const auto& [key, value] :
         std::vector<std::pair<std::string, std::string>>{{"TipFolder", "Inbox"},
                                                          {"DefaultBlinkIcon", "No"},
                                                          {"DefaultInWindow", "Yes"},
                                                          {"Entry0:Name", "Inbox"},
                                                          {"Entry0:InWindow", "2"},
                                                          {"Entry1:Name", "Work"},
                                                          {"Entry1:PlaySound", "7"},
                                                          {"Entry2:Name", ""}}) {
        EXPECT_EQ(doc.find("Vellix", key).value_or("<absent>"), value) << key;
    }
    NotificationState reloadedState;
    FolderTable reloaded;
    loadRules(file, reloadedState, reloaded);
    EXPECT_EQ(reloaded.copyFolders().size(), 2u);
    EXPECT_EQ(reloaded.findFolder("Work")->rules, work.rules);
    EXPECT_EQ(reloaded.findFolder("Inbox")->order, 0);
    EXPECT_FALSE(reloadedState.defaults[BlinkIcon]);
}

}  // namespace
}  // namespace vellix
