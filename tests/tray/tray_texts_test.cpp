// Texts the tray and the mail-to hand-over build: tooltips and compose requests.
#include <gtest/gtest.h>

#include "support/folders.h"
#include "tray/mailto.h"
#include "tray/tray_tooltips.h"

namespace vellix {
namespace {

using test::folder;

const StringTable kEnglish(Language::English);

TEST(TrayTooltips, NoticeUsesTwelveHourClock) {
    for (const auto& [hour, minute, expected] :
         {std::tuple{23, 5, "Hi (11:05 PM)"}, std::tuple{0, 30, "Hi (12:30 AM)"},
          std::tuple{12, 0, "Hi (12:00 PM)"}, std::tuple{11, 59, "Hi (11:59 AM)"},
          std::tuple{1, 7, "Hi (1:07 AM)"}}) {
        EXPECT_EQ(noticeTooltip("Hi", hour, minute), expected);
    }
}

TEST(TrayTooltips, ConnectedShowsTipFolderOrSums) {
    const std::vector folders{folder("Inbox", 10, 3, 2), folder("Work", 5, 1, 0)};
    EXPECT_EQ(connectedTooltip(folders, std::nullopt, kEnglish), "Total:15, Unread:4, New:2");
    EXPECT_EQ(connectedTooltip(folders, folders[1], kEnglish),
              "Folder \"Work\": Total:5, Unread:1, New:0");
    EXPECT_EQ(connectedTooltip({}, std::nullopt, kEnglish), "Total:0, Unread:0, New:0");
    // Sums past 32 bits stay right.
    const std::vector big{folder("A", 2'000'000'000, 0, 0), folder("B", 2'000'000'000, 0, 0)};
    EXPECT_EQ(connectedTooltip(big, std::nullopt, kEnglish), "Total:4000000000, Unread:0, New:0");
}

TEST(TrayTooltips, NewMailListsBlinkingFoldersAndStopsAt44) {
    auto blinksUnlessMuted = [](const FolderStatus& f) { return f.name != "Muted"; };
    const std::pair<std::vector<FolderStatus>, const char*> cases[] = {
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
    for (const auto& [folders, expected] : cases) {
        EXPECT_EQ(newMailTooltip(folders, blinksUnlessMuted, kEnglish), expected);
    }
}

TEST(TrayTooltips, CutKeepsWholeCharactersAndFixedStatesHaveTheirTexts) {
    EXPECT_EQ(cutUtf8("short", kTipMaxChars), "short");
    std::string chinese;
    for (int i = 0; i < 70; ++i) chinese += "新";
    const std::string cut = cutUtf8(chinese, kTipMaxChars);
    EXPECT_EQ(utf8Length(cut), 63u);
    EXPECT_EQ(cut.size(), 63u * 3);

    const StringTable zh(Language::Chinese);
    std::vector<std::string> seen;
    for (int state : {3, 4, 5, 0, 7})
        seen.push_back(fixedStateTooltip(trayStateFromWire(state), zh));
    EXPECT_NE(seen[0], seen[1]);
    EXPECT_NE(seen[1], seen[2]);
    EXPECT_EQ(seen[3], seen[4]);
    for (const auto& text : seen) EXPECT_GE(utf8Length(text), 2u);
    // The retry text fits the tooltip in both languages.
    EXPECT_EQ(retryTooltip(20, StringTable(Language::English)),
              "Vellix - server unreachable — retrying in 20 s");
    EXPECT_LE(utf8Length(retryTooltip(300, zh)), kTipMaxChars);
}

TEST(MailtoTest, BuildsTheComposeRequest) {
    const std::string compose = "&View=Compose&NextNew=Yes";
    const std::pair<const char*, std::string> cases[] = {
        {"mailto:ann@example.com?subject=Hello&to=bob@example.com",
         "&NextTo=ann@example.com,bob@example.com&NextSubject=Hello"},
        {"?to=bob@example.com", "&NextTo=bob@example.com"},
        {"MAILTO://ann@example.com", "&NextTo=ann@example.com"},
        {"ann@x.org?Subject=a%20b&BODY=line1%0Aline2&cc=c@x.org",
         "&NextTo=ann@x.org&NextSubject=a%20b&NextBody=line1%0Aline2"},
        {"", ""},
        {"mailto:", ""},
        {"a@x?to=&to=b@x&&subject=", "&NextTo=a@x,,b@x"},
        {"a@x?subject=one&subject=two", "&NextTo=a@x&NextSubject=two"},
        {"mailto", "&NextTo=mailto"},
    };
    for (const auto& [text, request] : cases)
        EXPECT_EQ(parseMailto(text), compose + request) << text;
    // The link leaves the tray state alone.
    const WebmailLink link = mailtoLink("a@x");
    EXPECT_EQ(link.format, compose + "&NextTo=a@x");
    EXPECT_EQ(link.trayStateAfter, TrayState::Keep);
}

}  // namespace
}  // namespace vellix
