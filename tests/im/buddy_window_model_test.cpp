#include <gtest/gtest.h>

#include "im/buddy_list_form.h"
#include "im/buddy_window_model.h"
#include "im/window_placement.h"

namespace vellix {
namespace {

// A group in one line: "name:picture" items, "<none>" for the placeholder.
std::string line(const std::vector<BuddyItem>& group) {
    std::string out;
    for (const auto& item : group) {
        if (!out.empty()) out += ' ';
        out += item.text + ':' + std::to_string(static_cast<int>(item.picture));
    }
    return out;
}

TEST(BuddyWindowModelTest, GroupsByStatusWordInTableOrder) {
    struct Case {
        const char* name;
        std::vector<BuddyRecord> buddies;
        std::string online, offline;
    };
    const std::vector<Case> cases = {
        {"empty table", {}, "<none>:19", "<none>:19"},
        {"letter case of Away and Offline",
         {{"a@x", "Ann", "aWAY"}, {"b@x", "Bob", "OFFLINE"}, {"c@x", "Cy", "Online"}},
         "Ann:16 Cy:15",
         "Bob:17"},
        {"invisible and unknown words count as online",
         {{"d@x", "Di", "Invisible"}, {"e@x", "Ed", "Busy"}},
         "Di:15 Ed:15",
         "<none>:19"},
        {"all offline",
         {{"f@x", "Fay", "Offline"}, {"g@x", "Gus", "Offline"}},
         "<none>:19",
         "Fay:17 Gus:17"},
    };
    for (const auto& c : cases) {
        bool firstFill = false;
        const BuddyGroups groups = groupBuddies(c.buddies, "Offline", "Away", firstFill);
        EXPECT_EQ(line(groups.online), c.online) << c.name;
        EXPECT_EQ(line(groups.offline), c.offline) << c.name;
    }
}

TEST(BuddyWindowModelTest, OnlineGroupOpensOnceWhenItFirstGetsABuddy) {
    bool firstFill = true;
    const std::vector<BuddyRecord> offline = {{"a@x", "Ann", "Offline"}};
    const std::vector<BuddyRecord> online = {{"a@x", "Ann", "Online"}};
    EXPECT_FALSE(groupBuddies(offline, "Offline", "Away", firstFill).openOnline);
    EXPECT_TRUE(firstFill);
    const BuddyGroups opened = groupBuddies(online, "Offline", "Away", firstFill);
    EXPECT_TRUE(opened.openOnline);
    EXPECT_EQ(opened.online[0].buddy->email, "a@x");
    EXPECT_FALSE(groupBuddies(online, "Offline", "Away", firstFill).openOnline);
}

TEST(BuddyWindowModelTest, FolderFilterAndText) {
    const auto folder = [](const char* name, const char* display, int rule, bool stale, int news) {
        FolderStatus f;
        f.name = name;
        f.displayName = display;
        f.total = 9;
        f.unread = 4;
        f.newCount = news;
        f.stale = stale;
        f.rules[InWindow] = rule;
        return f;
    };
    const std::vector<FolderStatus> folders = {
        folder("INBOX", "Inbox", kRuleOn, false, 2), folder("Sent", "", kRuleUseDefault, false, 0),
        folder("Junk", "Junk", kRuleOff, false, 1),  folder("Old", "Old", kRuleOn, true, 0),
        folder("Odd", "Odd", 7, false, 0),
    };
    const auto texts = [&](bool defaultOn) {
        std::string out;
        for (const auto& item : windowFolders(folders, defaultOn)) {
            out += item.text + ':' + std::to_string(static_cast<int>(item.picture)) + ' ';
        }
        return out;
    };
    EXPECT_EQ(texts(true), "Inbox (9/4/2):20 Sent (9/4/0):19 ");
    EXPECT_EQ(texts(false), "Inbox (9/4/2):20 ");
}

TEST(BuddyWindowModelTest, TitleNamesTheAccountWhileLoggedIn) {
    const auto title = [](const char* session, const char* account, const char* name) {
        SessionState s;
        s.sessionId = session;
        s.account = account;
        s.displayName = name;
        return buddyWindowTitle(s);
    };
    EXPECT_EQ(title("", "a@x", "Ann"), "Vellix");
    EXPECT_EQ(title("S1", "a@x", "Ann"), "Ann - Vellix");
    EXPECT_EQ(title("S1", "a@x", ""), "a@x - Vellix");
    EXPECT_EQ(title("S1", "", ""), "Vellix");
}

TEST(BuddyListFormTest, FormTextNumbersEntriesAndEncodesValues) {
    EXPECT_EQ(buddyListFormText({}), "");
    EXPECT_EQ(buddyListFormText({{"Bob Baker", "bob@demo.local"}, {"Zoë & Co", "z+1@x.org"}}),
              "BuddyEmail1=bob%40demo.local&BuddyName1=Bob%20Baker&"
              "BuddyEmail2=z%2B1%40x.org&BuddyName2=Zo%C3%AB%20%26%20Co");
}

TEST(BuddyListFormTest, AddSkipsOwnAddressAndListedOnes) {
    std::vector<UserRecord> list = {{"Bob", "bob@x"}};
    const std::vector<UserRecord> picked = {
        {"Me", "ME@x"}, {"Bob again", "BOB@X"}, {"Cy", "cy@x"}, {"Cy twice", "cy@x"}};
    EXPECT_EQ(addBuddyEntries(list, picked, "me@x"), 1u);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1].name, "Cy");
    const auto left = usersNotListed({{"Bob", "Bob@x"}, {"Di", "di@x"}, {"Cy", "cy@x"}}, list);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].email, "di@x");
}

TEST(BuddyListFormTest, ManualAddressRules) {
    const std::pair<const char*, EntryProblem> cases[] = {
        {"", EntryProblem::MissingAddress},         {"ann@x.org", EntryProblem::None},
        {"ann", EntryProblem::MalformedAddress},    {"@x.org", EntryProblem::MalformedAddress},
        {"ann@", EntryProblem::MalformedAddress},   {"a@b@c", EntryProblem::MalformedAddress},
        {"an n@x", EntryProblem::MalformedAddress}, {"ann@x\t", EntryProblem::MalformedAddress},
    };
    for (const auto& [address, problem] : cases) {
        EXPECT_EQ(checkManualEntry(address), problem) << address;
    }
}

TEST(WindowPlacementTest, ZeroEdgesKeepTheDefaultAndLostScreensFallBack) {
    const WindowRect fallback{700, 60, 960, 580};
    const std::vector<WindowRect> screens = {{0, 0, 1024, 768}, {1024, 0, 2944, 1080}};
    struct Case {
        const char* name;
        WindowRect stored, expected;
    };
    const Case cases[] = {
        {"nothing stored", {}, fallback},
        {"all four", {10, 20, 300, 400}, {10, 20, 300, 400}},
        {"left only", {100, 0, 0, 0}, {100, 60, 960, 580}},
        {"on the second screen", {1500, 100, 1800, 700}, {1500, 100, 1800, 700}},
        {"screen since unplugged", {3000, 100, 3300, 700}, fallback},
        {"inverted", {900, 100, 800, 700}, fallback},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(openingRect(c.stored, fallback, screens), c.expected) << c.name;
    }
}

}  // namespace
}  // namespace vellix
