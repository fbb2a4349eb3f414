#include "tray/tray_tooltips.h"

#include <gtest/gtest.h>

namespace vellix {
namespace {

FolderStatus folder(std::string name, int total, int unread, int fresh) {
    FolderStatus f;
    f.name = f.displayName = std::move(name);
    f.total = total;
    f.unread = unread;
    f.newCount = fresh;
    return f;
}

TEST(TrayTooltips, NoticeUsesTwelveHourClock) {
    struct Case {
        int hour, minute;
        const char* expected;
    };
    for (const Case& c :
         {Case{23, 5, "Hi (11:05 PM)"}, Case{0, 30, "Hi (12:30 AM)"}, Case{12, 0, "Hi (12:00 PM)"},
          Case{11, 59, "Hi (11:59 AM)"}, Case{1, 7, "Hi (1:07 AM)"}}) {
        EXPECT_EQ(noticeTooltip("Hi", c.hour, c.minute), c.expected) << c.hour << ":" << c.minute;
    }
}

TEST(TrayTooltips, ConnectedShowsTipFolderOrSums) {
    const StringTable en(Language::English);
    const std::vector folders{folder("Inbox", 10, 3, 2), folder("Work", 5, 1, 0)};
    EXPECT_EQ(connectedTooltip(folders, std::nullopt, en), "Total:15, Unread:4, New:2");
    EXPECT_EQ(connectedTooltip(folders, folders[1], en),
              "Folder \"Work\": Total:5, Unread:1, New:0");
    EXPECT_EQ(connectedTooltip({}, std::nullopt, en), "Total:0, Unread:0, New:0");
    // Sums past 32 bits stay right.
    const std::vector big{folder("A", 2'000'000'000, 0, 0), folder("B", 2'000'000'000, 0, 0)};
    EXPECT_EQ(connectedTooltip(big, std::nullopt, en), "Total:4000000000, Unread:0, New:0");
}

TEST(TrayTooltips, NewMailListsBlinkingFoldersAndStopsAt44) {
    const StringTable en(Language::English);
    auto blinksUnlessMuted = [](const FolderStatus& f) { return f.name != "Muted"; };
    struct Case {
        std::vector<FolderStatus> folders;
        const char* expected;
    };
    const Case cases[] = {
        {{folder("Inbox", 9, 9, 3), folder("Muted", 1, 1, 1), folder("Old", 1, 1, 0)},
         "New mail: Inbox:3"},
        {{folder("Inbox", 0, 0, 3), folder("Lists", 0, 0, 12)}, "New mail: Inbox:3, Lists:12"},
        // "New mail: Inbox:3, " is 19 long: 19 + 25 = 44 still fits, 19 + 26 does not.
        {{folder("Inbox", 0, 0, 3), folder(std::string(25, 'a'), 0, 0, 1)},
         "New mail: Inbox:3, aaaaaaaaaaaaaaaaaaaaaaaaa:1"},
        {{folder("Inbox", 0, 0, 3), folder(std::string(26, 'b'), 0, 0, 1), folder("X", 0, 0, 1)},
         "New mail: Inbox:3, ..."},
        {{folder("Muted", 0, 0, 4), folder("Neg", 0, 0, -1)}, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(newMailTooltip(c.folders, blinksUnlessMuted, en), c.expected);
    }
}

TEST(TrayTooltips, CutKeepsWholeCharacters) {
    EXPECT_EQ(cutUtf8(std::string(70, 'x'), kTipMaxChars), std::string(63, 'x'));
    EXPECT_EQ(cutUtf8("short", kTipMaxChars), "short");
    std::string chinese;
    for (int i = 0; i < 70; ++i) chinese += "新";
    const std::string cut = cutUtf8(chinese, kTipMaxChars);
    EXPECT_EQ(utf8Length(cut), 63u);
    EXPECT_EQ(cut.size(), 63u * 3);
}

TEST(TrayTooltips, FixedStatesHaveTheirTexts) {
    const StringTable zh(Language::Chinese);
    std::vector<std::string> seen;
    for (int state : {3, 4, 5, 0, 7}) seen.push_back(fixedStateTooltip(state, zh));
    EXPECT_NE(seen[0], seen[1]);
    EXPECT_NE(seen[1], seen[2]);
    EXPECT_EQ(seen[3], seen[4]);
    for (const auto& text : seen) EXPECT_GE(utf8Length(text), 2u);
}

}  // namespace
}  // namespace vellix
