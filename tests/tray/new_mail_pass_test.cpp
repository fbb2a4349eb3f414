#include <gtest/gtest.h>

#include <functional>

#include "tray/new_mail_pass.h"

namespace vellix {
namespace {

FolderStatus folder(std::string name, int recent, FolderRules rules = {2, 2, 2, 2, 2, 2}) {
    FolderStatus f;
    f.name = name;
    f.displayName = "[" + name + "]";
    f.newCount = 1;
    f.recent = recent;
    f.rules = rules;
    return f;
}

struct Step {
    std::vector<FolderStatus> reply;  // in server order
    bool blink, sound, notice;
    std::string open;  // "" for none
    std::function<void(NotificationState&)> before = {};
};

struct Case {
    const char* what;
    std::function<void(NotificationState&)> setup;
    std::vector<Step> steps;
};

void later(NotificationState& s) {
    s.firstCheckSinceStart = false;
}

TEST(NewMailPassTest, TellsTheUserByRulesFlagsAndArrivals) {
    const FolderRules soundAndNote{2, 1, 1, 2, 2, 2};
    const FolderRules soundOnly{2, 1, 0, 2, 2, 2};
    const FolderRules noteOnly{2, 0, 1, 2, 2, 2};
    const FolderRules open{2, 2, 2, 1, 2, 2};
    const Case cases[] = {
        {"first check announces all, then only blinks",
         [](NotificationState&) {},
         {{{folder("Inbox", 0, soundAndNote)}, true, true, true, ""},
          {{folder("Inbox", 0, soundAndNote)}, true, false, false, ""}}},
        {"shipped defaults, recent 0 after the first pass: blinks on every pass",
         [](NotificationState&) {},
         {{{folder("Inbox", 0)}, true, true, false, ""},
          {{folder("Inbox", 0)}, true, false, false, ""},
          {{folder("Inbox", 0)}, true, false, false, ""}}},
        {"sound once per fresh arrival",
         later,
         {{{folder("Inbox", 2, soundOnly)}, true, true, false, ""},
          {{folder("Inbox", 0, soundOnly)}, true, false, false, ""},
          {{folder("Inbox", 1, soundOnly)}, true, true, false, ""}}},
        {"sound delay switched off repeats the sound",
         later,
         {{{folder("Inbox", 1, soundOnly)}, true, true, false, ""},
          {{folder("Inbox", 0, soundOnly)},
           true,
           true,
           false,
           "",
           [](NotificationState& s) { s.soundDelayed = false; }}}},
        {"silenced blinking stays off until fresh mail",
         [](NotificationState& s) {
             later(s);
             s.blinkDelayed = true;
             s.soundDelayed = true;
         },
         {{{folder("Inbox", 0)}, false, false, false, ""},
          {{folder("Inbox", 3)}, true, true, false, ""}}},
        {"fresh under the note rule lets another folder's sound play",
         [](NotificationState& s) {
             later(s);
             s.soundDelayed = true;
         },
         {{{folder("A", 0, soundOnly), folder("B", 1, noteOnly)}, true, true, true, ""}}},
        {"only the first folder by name is opened, on every pass, whatever the delays",
         [](NotificationState& s) {
             later(s);
             s.blinkDelayed = true;
             s.soundDelayed = true;
         },
         {{{folder("Work", 0, open), folder("Inbox", 0, open)}, false, false, false, "Inbox"},
          {{folder("Work", 0, open), folder("Inbox", 0, open)}, false, false, false, "Inbox"}}},
        {"rule values outside 0..2 count as off",
         later,
         {{{folder("Inbox", 1, {7, -1, 3, 9, 2, 2})}, false, false, false, ""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        NotificationState state;
        c.setup(state);
        FolderTable table;
        for (std::size_t i = 0; i < c.steps.size(); ++i) {
            const Step& step = c.steps[i];
            SCOPED_TRACE(i);
            if (step.before) step.before(state);
            table.merge(step.reply);
            table.applyRules(step.reply);
            const NewMailActions actions = runNewMailPass(table.copyWithNewMail(), state);
            EXPECT_EQ(actions.blink, step.blink);
            EXPECT_EQ(actions.playSound, step.sound);
            EXPECT_EQ(actions.showNotice, step.notice);
            EXPECT_EQ(actions.openFolder.value_or(""), step.open);
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
        SCOPED_TRACE(static_cast<int>(f.rule));
        for (const int value : {1, 0}) {
            NotificationState state;
            state.firstCheckSinceStart = false;
            state.*f.pending = false;
            state.*f.delayed = true;
            FolderStatus inbox = folder("Inbox", 0);
            inbox.rules[f.rule] = value;
            runNewMailPass({inbox}, state);
            // Blinking wanted with recent 0 keeps the user's silence; so do sound and note.
            EXPECT_EQ((state.*f.pending).load(), value == 1);
            EXPECT_EQ((state.*f.delayed).load(), value == 1);
        }
    }
}

TEST(NewMailPassTest, NoteLinesDesktopNoticeAndLink) {
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
    const WebmailLink link = firstUnreadLink("Sent Items");
    EXPECT_EQ(link.format, "&View=Message&NextFolder=%s&NextFirstUnread=Yes");
    EXPECT_EQ(link.arguments[0], "Sent Items");
    EXPECT_EQ(link.trayStateAfter, 1);
}

}  // namespace
}  // namespace vellix
