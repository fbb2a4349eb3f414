#include <gtest/gtest.h>

#include <algorithm>

#include "support/folders.h"
#include "tray/menu_model.h"

namespace vellix {
namespace {

using test::folder;

// The menu's shape in one line: ids with "*" default, "-" grayed, "v" checked; "|" a
// separator; "[...]" a submenu.
std::string shape(const std::vector<MenuItem>& items) {
    std::string out;
    for (const auto& item : items) {
        if (!out.empty()) out += ' ';
        if (item.kind == MenuItem::Kind::Separator) {
            out += '|';
        } else if (item.kind == MenuItem::Kind::Submenu) {
            out += '[' + shape(item.children) + ']';
        } else {
            out += std::to_string(item.id);
            if (item.isDefault) out += '*';
            if (!item.enabled) out += '-';
            if (item.checked) out += 'v';
        }
    }
    return out;
}

std::vector<FolderStatus> folders(int count) {
    std::vector<FolderStatus> out;
    for (int i = 0; i < count; ++i) out.push_back(folder("F" + std::to_string(i)));
    return out;
}

const StringTable kStrings(Language::English);
constexpr const char* kHead = "32778 32776 115 |";
constexpr const char* kTail = "32773 | 32774";

TEST(MenuModelTest, OrderFollowsTheState) {
    const auto base = [] {
        MenuSnapshot s;
        s.hasSession = true;
        return s;
    };
    struct Case {
        const char* name;
        MenuSnapshot snapshot;
        std::string body;  // between kHead and kTail
    };
    std::vector<Case> cases;
    cases.push_back({"logged out", {}, "106 107- |"});
    {
        MenuSnapshot s;
        s.savedUser = "ann";
        s.savedPassword = true;
        s.folders = {folder("Inbox", 0, 0, 2)};
        s.pendingAlerts = 2;
        cases.push_back({"logged out, saved", s, "33000-v | 108 106 107- | 32766"});
        s.savedPassword = false;
        cases.push_back({"user without password", s, "33000-v | 106 107- | 32766"});
        s.savedPassword = true;
        s.hasSession = true;
        s.disconnected = true;
        cases.push_back({"disconnected", s, "108 106 107- |"});
    }
    cases.push_back({"session", base(), "32775 32772 | 32771* | 106- 107 |"});
    {
        auto s = base();
        s.folders = {folder("Inbox"), folder("Junk", 0, 0, 3), folder("Sent", 0, 0, 1)};
        s.calendar = true;
        s.faxClient = true;
        cases.push_back({"new mail, calendar, fax", s,
                         "33000 33001v 33002v | 32775 1079 32772 | 109 32771 32777* | 106- 107 |"});
        s.folders[1].rules[InMenu] = kRuleOff;
        s.folders[2].rules[InMenu] = 7;  // not a rule value: off
        s.folders[0].rules[InMenu] = kRuleOn;
        s.defaultInMenu = false;
        s.folders.push_back(folder("Trash"));
        cases.push_back({"in-menu rule", s, "33000 | 32775 1079 32772 | 109 32771* | 106- 107 |"});
    }
    {
        auto s = base();
        s.blinkPending = s.blinkDelayed = true;
        s.noticePending = true;
        s.soundDelayed = true;  // not pending: no item
        cases.push_back({"delays", s, "32760v 32764 | 32775 32772 | 32771* | 106- 107 |"});
    }
    {
        auto s = base();
        s.messaging = true;
        s.statusWord = "Away";
        s.buddies = {{"a@x", "Ann", "Online"}, {"b@x", "Bob", "Offline"}, {"c@x", "", "Away"}};
        cases.push_back({"messaging", s,
                         "32775 32772 | 32771* | [32782 32790v 32791 32783] [34000 34001 34002] | "
                         "32781 32797 32780 | 106- 107 |"});
        s.hideOfflineBuddies = true;
        s.buddies[1].status = "offline";  // the check compares the shown word exactly
        s.buddies.push_back({"d@x", "Dan", "Offline"});
        cases.push_back({"hide offline", s,
                         "32775 32772 | 32771* | [32782 32790v 32791 32783] [34000 34001 34002] | "
                         "32781 32797 32780 | 106- 107 |"});
    }
    for (const auto& c : cases) {
        const MenuModel model = buildMenu(c.snapshot, kStrings);
        EXPECT_EQ(shape(model.items), std::string(kHead) + " " + c.body + " " + kTail) << c.name;
    }
}

TEST(MenuModelTest, FoldersCollapseIntoNestedSubmenus) {
    struct Case {
        int count;
        int perMenu;
        std::vector<std::size_t> pages;  // folder items per nesting level
    } cases[] = {
        {0, 10, {}},
        {1, 10, {1}},
        {10, 10, {10}},
        {25, 10, {10, 10, 5}},
        {25, 0, {25}},
        {300, 0, {300}},
        {300, 100, {100, 100, 100}},
        {350, 0, {301}},  // ids stop where commands stop being accepted
    };
    for (const auto& c : cases) {
        MenuSnapshot s;
        s.hasSession = true;
        s.folders = folders(c.count);
        s.folderInMenu = c.perMenu;
        const MenuModel model = buildMenu(s, kStrings);
        std::vector<std::size_t> pages;
        const std::vector<MenuItem>* level = &model.items;
        int expectedId = menu_id::kFirstFolder;
        while (level) {
            const std::vector<MenuItem>* next = nullptr;
            std::size_t listed = 0;
            for (const auto& item : *level) {
                if (item.kind == MenuItem::Kind::Submenu &&
                    item.text == kStrings.text(IDS_MENU_MORE_FOLDERS)) {
                    next = &item.children;
                } else if (item.id >= menu_id::kFirstFolder && item.id <= menu_id::kLastFolder) {
                    EXPECT_EQ(item.id, expectedId++);
                    ++listed;
                }
            }
            if (listed) pages.push_back(listed);
            level = next;
        }
        EXPECT_EQ(pages, c.pages) << c.count << " per " << c.perMenu;
        EXPECT_EQ(model.folders.size(), std::min(c.count, 301)) << c.count;
    }
}

TEST(MenuModelTest, Texts) {
    FolderStatus f = folder("R&D & Co");
    f.total = 12;
    f.unread = 3;
    f.newCount = 1;
    EXPECT_EQ(folderItemText(f), "R&&D && Co (12/3/1)");
    f.displayName.clear();
    f.name = "Inbox";
    EXPECT_EQ(folderItemText(f), "Inbox (12/3/1)");

    MenuSnapshot s;
    s.savedUser = "a&b@x";
    s.savedPassword = true;
    s.pendingAlerts = 4;
    s.folders = {folder("x")};
    MenuModel model = buildMenu(s, kStrings);
    EXPECT_EQ(model.find(menu_id::kLogInAs)->text, "Log in as a&&b@x");
    EXPECT_EQ(model.find(menu_id::kAlerts)->text, "4 system messages");
    EXPECT_FALSE(model.find(menu_id::kFirstFolder)->enabled);

    s.hasSession = s.messaging = true;
    s.statusWord = "invisible";
    s.folders = {folder("a"), folder("b", 0, 0, 2), folder("c", 0, 0, 5)};
    s.buddies = {{"a@x", "Ann", "Online"}, {"b@x", "Bob", "Away"}, {"c@x", "Cy", "Busy"}};
    model = buildMenu(s, kStrings);
    EXPECT_EQ(model.firstNewFolderId, menu_id::kFirstFolder + 1);
    EXPECT_TRUE(model.find(menu_id::kFirstFolder + 1)->checkPicture);
    EXPECT_EQ(model.find(34000)->picture, kPictureOnline);
    EXPECT_EQ(model.find(34001)->picture, kPictureAway);
    EXPECT_EQ(model.find(34002)->picture, kPictureOffline);
    EXPECT_EQ(model.buddies.at(34002).email, "c@x");
    const auto status = std::ranges::find_if(model.items, [](const MenuItem& i) {
        return i.kind == MenuItem::Kind::Submenu && i.children.size() == 4;
    });
    ASSERT_NE(status, model.items.end());
    EXPECT_EQ(status->text, "My status: Invisible");
    EXPECT_EQ(status->children[3].picture, kPictureOffline);
}

}  // namespace
}  // namespace vellix
