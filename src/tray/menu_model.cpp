#include "tray/menu_model.h"

#include <array>
#include <utility>

namespace vellix {
namespace {

MenuItem command(int id, std::string text, bool enabled = true) {
    MenuItem item;
    item.id = id;
    item.text = std::move(text);
    item.enabled = enabled;
    return item;
}

MenuItem separator() {
    MenuItem item;
    item.kind = MenuItem::Kind::Separator;
    return item;
}

MenuItem submenu(std::string text) {
    MenuItem item;
    item.kind = MenuItem::Kind::Submenu;
    item.text = std::move(text);
    return item;
}

std::string doubleAmpersands(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 4);
    for (char c : text) {
        out += c;
        if (c == '&') out += '&';
    }
    return out;
}

std::string upperFirst(std::string word) {
    if (!word.empty() && word[0] >= 'a' && word[0] <= 'z')
        word[0] = static_cast<char>(word[0] - 32);
    return word;
}

std::string alertsText(const StringTable& strings, int count) {
    std::string text = strings.text(IDS_MENU_ALERTS);
    const auto at = text.find("%d");
    if (at != std::string::npos) text.replace(at, 2, std::to_string(count));
    return text;
}

const MenuItem* findIn(const std::vector<MenuItem>& items, int id) {
    for (const auto& item : items) {
        if (item.kind == MenuItem::Kind::Command && item.id == id) return &item;
        if (item.kind == MenuItem::Kind::Submenu) {
            if (const MenuItem* found = findIn(item.children, id)) return found;
        }
    }
    return nullptr;
}

int pictureFor(const StringTable& strings, const std::string& status) {
    if (status == strings.text(IDS_STATUS_ONLINE)) return kPictureOnline;
    if (status == strings.text(IDS_STATUS_AWAY)) return kPictureAway;
    return kPictureOffline;
}

// Folder items go into the root (before log-in) until the first page is full, then into a
// chain of nested "more folders" submenus.
void addFolders(const MenuSnapshot& in, const StringTable& strings, MenuModel& model,
                std::vector<MenuItem>& dynamic) {
    std::vector<MenuItem> pages;  // pages[0] is the root's share; the rest nest in order
    pages.emplace_back();
    int listed = 0;
    int id = menu_id::kFirstFolder;
    for (const auto& folder : in.folders) {
        if (!ruleIsOn(folder.rules[InMenu], in.defaultInMenu)) continue;
        if (id > menu_id::kLastFolder) break;
        if (in.folderInMenu > 0 && listed > 0 && listed % in.folderInMenu == 0) {
            pages.push_back(submenu(strings.text(IDS_MENU_MORE_FOLDERS)));
        }
        MenuItem item = command(id, folderItemText(folder), in.hasSession);
        if (folder.newCount != 0) item.checked = item.checkPicture = true;
        if (folder.newCount > 0 && model.firstNewFolderId == 0) model.firstNewFolderId = id;
        auto& page = pages.size() == 1 ? pages[0].children : pages.back().children;
        page.push_back(std::move(item));
        model.folders.emplace(id, folder);
        ++listed;
        ++id;
    }
    if (listed == 0) return;
    // Fold the nested pages from the innermost outwards.
    for (std::size_t i = pages.size() - 1; i >= 2; --i) {
        pages[i - 1].children.push_back(std::move(pages[i]));
    }
    for (auto& item : pages[0].children) dynamic.push_back(std::move(item));
    if (pages.size() > 1) dynamic.push_back(std::move(pages[1]));
    dynamic.push_back(separator());
}

void addMessaging(const MenuSnapshot& in, const StringTable& strings, MenuModel& model,
                  std::vector<MenuItem>& dynamic) {
    dynamic.push_back(separator());
    MenuItem status = submenu(strings.text(IDS_MENU_MY_STATUS) + upperFirst(in.statusWord));
    constexpr std::array<std::pair<int, int>, 4> kStatuses{{
        {menu_id::kStatusOnline, kPictureOnline},
        {menu_id::kStatusAway, kPictureAway},
        {menu_id::kStatusInvisible, kPictureOffline},
        {menu_id::kStatusOffline, kPictureOffline},
    }};
    for (const auto& [id, picture] : kStatuses) {
        MenuItem item = command(id, strings.text(id));
        item.picture = picture;
        item.checked = item.text == in.statusWord;
        status.children.push_back(std::move(item));
    }
    dynamic.push_back(std::move(status));

    MenuItem buddies = submenu(strings.text(IDS_MENU_SEND_IM));
    const std::string offline = strings.text(IDS_STATUS_OFFLINE);
    int id = menu_id::kFirstBuddy;
    for (const auto& buddy : in.buddies) {
        if (in.hideOfflineBuddies && buddy.status == offline) continue;
        if (id > menu_id::kLastBuddy) break;
        MenuItem item =
            command(id, doubleAmpersands(buddy.name.empty() ? buddy.email : buddy.name));
        item.picture = pictureFor(strings, buddy.status);
        buddies.children.push_back(std::move(item));
        model.buddies.emplace(id, buddy);
        ++id;
    }
    if (buddies.children.empty()) buddies.enabled = false;
    dynamic.push_back(std::move(buddies));
    dynamic.push_back(separator());
    dynamic.push_back(
        command(menu_id::kGroupConversation, strings.text(IDS_MENU_GROUP_CONVERSATION)));
    dynamic.push_back(command(menu_id::kHistoryFolder, strings.text(IDS_MENU_HISTORY_FOLDER)));
    dynamic.push_back(command(menu_id::kAddBuddy, strings.text(IDS_MENU_ADD_BUDDY)));
}

void addSessionItems(const MenuSnapshot& in, const StringTable& strings, MenuModel& model,
                     std::vector<MenuItem>& dynamic) {
    const std::array<std::tuple<bool, bool, int, int>, 3> delays{{
        {in.blinkPending, in.blinkDelayed, menu_id::kDelayBlink, IDS_MENU_DELAY_BLINK},
        {in.soundPending, in.soundDelayed, menu_id::kDelaySound, IDS_MENU_DELAY_SOUND},
        {in.noticePending, in.noticeDelayed, menu_id::kDelayNotice, IDS_MENU_DELAY_NOTICE},
    }};
    bool anyDelay = false;
    for (const auto& [pending, delayed, id, text] : delays) {
        if (!pending) continue;
        MenuItem item = command(id, strings.text(text));
        item.checked = delayed;
        dynamic.push_back(std::move(item));
        anyDelay = true;
    }
    if (anyDelay) dynamic.push_back(separator());
    dynamic.push_back(command(menu_id::kCompose, strings.text(IDS_MENU_COMPOSE)));
    if (in.faxClient) dynamic.push_back(command(menu_id::kFax, strings.text(IDS_MENU_FAX)));
    dynamic.push_back(command(menu_id::kRefresh, strings.text(IDS_MENU_REFRESH)));
    dynamic.push_back(separator());
    if (in.calendar)
        dynamic.push_back(command(menu_id::kCalendar, strings.text(IDS_MENU_CALENDAR)));
    MenuItem inbox = command(menu_id::kInbox, strings.text(IDS_MENU_INBOX));
    if (model.firstNewFolderId == 0) {
        inbox.isDefault = true;
        dynamic.push_back(std::move(inbox));
    } else {
        dynamic.push_back(std::move(inbox));
        MenuItem first = command(menu_id::kFirstUnread, strings.text(IDS_MENU_FIRST_UNREAD));
        first.isDefault = true;
        dynamic.push_back(std::move(first));
    }
    if (in.messaging) addMessaging(in, strings, model, dynamic);
    dynamic.push_back(separator());
}

}  // namespace

const MenuItem* MenuModel::find(int id) const {
    return findIn(items, id);
}

// The counts hold no "&", so doubling the whole text doubles only the name's.
std::string folderItemText(const FolderStatus& folder) {
    return doubleAmpersands(folderCountsText(folder));
}

MenuModel buildMenu(const MenuSnapshot& in, const StringTable& strings) {
    MenuModel model;
    std::vector<MenuItem> dynamic;  // everything that goes above the log-in item
    bool loggedIn = false;
    bool alerts = false;
    if (!in.disconnected) {
        addFolders(in, strings, model, dynamic);
        alerts = in.pendingAlerts > 0;
        loggedIn = in.hasSession;
    }
    if (loggedIn) {
        addSessionItems(in, strings, model, dynamic);
    } else if (!in.savedUser.empty() && in.savedPassword) {
        dynamic.push_back(command(menu_id::kLogInAs,
                                  std::string(kLogInAsPrefix) + doubleAmpersands(in.savedUser)));
    }

    auto& items = model.items;
    items.push_back(command(menu_id::kAbout, strings.text(IDS_MENU_ABOUT)));
    items.push_back(command(menu_id::kMakerSite, strings.text(IDS_MENU_MAKER_SITE)));
    items.push_back(command(menu_id::kShowMainWindow, strings.text(IDS_MENU_SHOW_MAIN_WINDOW)));
    items.push_back(separator());
    for (auto& item : dynamic) items.push_back(std::move(item));
    items.push_back(command(menu_id::kLogIn, strings.text(IDS_MENU_LOG_IN), !loggedIn));
    items.push_back(command(menu_id::kLogOut, strings.text(IDS_MENU_LOG_OUT), loggedIn));
    items.push_back(separator());
    if (alerts) items.push_back(command(menu_id::kAlerts, alertsText(strings, in.pendingAlerts)));
    items.push_back(command(menu_id::kProperties, strings.text(IDS_MENU_PROPERTIES)));
    items.push_back(separator());
    items.push_back(command(menu_id::kExit, strings.text(IDS_MENU_EXIT)));
    return model;
}

}  // namespace vellix
