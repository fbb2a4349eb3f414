#include "core/string_table.h"

#include "core/string_entries.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <iterator>

namespace vellix {
namespace {

using Entry = StringEntry;

// Kept sorted by id: lookups use a binary search.
constexpr std::array kEntries{
    Entry{IDS_MENU_INBOX, "Go to my &Inbox", "转到我的收件箱(&I)"},
    Entry{IDS_MENU_REFRESH, "&Refresh mail counts", "刷新邮件数目(&R)"},
    Entry{IDS_MENU_COMPOSE, "&Compose new e-mail", "撰写新邮件(&C)"},
    Entry{IDS_NO_SERVER_ACCESS,
          "There is no Internet access to the Skyloom server, so your account cannot be opened.",
          "无法连接到Skyloom服务器，不能打开您的帐户。"},
    Entry{IDS_TRAY_WAITING, "Vellix - waiting for the server", "Vellix - 正在等待服务器响应"},
    Entry{IDS_TRAY_LOST, "Vellix - connection to the server lost", "Vellix - 与服务器的连接已断开"},
    Entry{IDS_TRAY_CONNECTING, "Vellix - connecting to the server", "Vellix - 正在连接服务器"},
    Entry{IDS_TRAY_INVALID, "Vellix - unknown state", "Vellix - 状态未知"},
    Entry{IDS_MENU_FIRST_UNREAD, "Go to first &unread message", "转到第一封未读邮件(&U)"},
    Entry{IDS_MENU_DELAY_BLINK, "Delay &blinking icon notification", "暂缓图标闪烁通知(&B)"},
    Entry{IDS_MENU_DELAY_SOUND, "Delay &sound notification", "暂缓声音通知(&S)"},
    Entry{IDS_MENU_DELAY_NOTICE, "Delay new-mail &message box notification",
          "暂缓新邮件消息框通知(&M)"},
    Entry{IDS_TRAY_TOTAL, "Total", "总数"},
    Entry{IDS_TRAY_UNREAD, "Unread", "未读"},
    Entry{IDS_TRAY_NEW, "New", "新邮件"},
    Entry{IDS_TRAY_FOLDER, "Folder", "文件夹"},
    Entry{IDS_TRAY_FOLDER_TOTAL, "Total", "总数"},
    Entry{IDS_TRAY_NEW_MAIL_IN, "New mail", "新邮件"},
    Entry{IDS_TRAY_MORE, "...", "等"},
    Entry{IDS_MENU_ALERTS, "%d system messages", "%d 条系统消息"},
    Entry{IDS_MENU_ABOUT, "&About Brisgate Vellix...", "关于 Brisgate Vellix(&A)..."},
    Entry{IDS_MENU_EXIT, "&Close Vellix", "关闭 Vellix(&X)"},
    Entry{IDS_MENU_PROPERTIES, "&Properties...", "属性(&P)..."},
    Entry{IDS_MENU_SEND_IM, "Send &instant message", "发送即时消息(&I)"},
    Entry{IDS_MENU_ADD_BUDDY, "A&dd to buddy list...", "添加到好友列表(&D)..."},
    Entry{IDS_MENU_FAX, "Compose new &fax", "撰写新传真(&F)"},
    Entry{IDS_MENU_MAKER_SITE, "About Brisgate &Technologies...",
          "关于 Brisgate Technologies(&T)..."},
    Entry{IDS_NOTE_TITLE, "New Mail", "新邮件"},
    Entry{IDS_NOTE_LABEL, "New mail has arrived in:", "以下文件夹中有新邮件："},
    Entry{IDS_NOTE_DONT_REOPEN, "Do not open this window again until more new mail arrives",
          "在收到更多新邮件之前不再打开此窗口"},
    Entry{IDS_NOTE_CLOSE, "Close", "关闭"},
    Entry{IDS_NOTE_OPEN, "Open", "打开"},
    Entry{IDS_EXIT_QUESTION, "Do you really want to close Vellix?", "确认希望关闭Vellix吗？"},
    Entry{IDS_EXIT_DONT_SHOW, "Don't show this message again", "以后不要显示该邮件"},
    Entry{IDS_BUTTON_YES, "&Yes", "是(&Y)"},
    Entry{IDS_BUTTON_NO, "&No", "否(&N)"},
    Entry{IDS_DISCONNECT_TITLE, "Vellix Alert!", "Vellix 警报！"},
    Entry{IDS_DISCONNECT_TEXT, "You have been disconnected from the Skyloom server.",
          "您已从Skyloom服务器上断开。"},
    Entry{IDS_DISCONNECT_OK, "Reconnect", "重新连接"},
    Entry{IDS_DISCONNECT_CANCEL, "Cancel", "取消"},
    Entry{IDS_LOGIN_TITLE, "Login Information", "登录信息"},
    Entry{IDS_LOGIN_ACCOUNT, "&Account:", "帐户(&A)："},
    Entry{IDS_LOGIN_PASSWORD, "&Password:", "密码(&P)："},
    Entry{IDS_LOGIN_REMEMBER, "Remember my password from now on", "从现在起记住我的密码"},
    Entry{IDS_BUTTON_OK, "OK", "确定"},
    Entry{IDS_BUTTON_CANCEL, "Cancel", "取消"},
    Entry{IDS_ALERT_TITLE, "Vellix System Message", "Vellix 系统消息"},
    Entry{IDS_ALERT_OK, "OK", "确定"},
    Entry{IDS_BUDDY_LIST_TITLE, "Buddy List", "好友列表"},
    Entry{IDS_BUDDY_LIST_ADD, "&Add >>", "添加(&A) >>"},
    Entry{IDS_BUDDY_LIST_REMOVE, "<< &Remove", "<< 删除(&R)"},
    Entry{IDS_BUDDY_LIST_SHOW_ALL, "&Show all users", "显示所有用户(&S)"},
    Entry{IDS_BUDDY_LIST_MANUAL, "&Manual...", "手动添加(&M)..."},
    Entry{IDS_BUDDY_LIST_EMAIL, "E-mail", "电子邮件"},
    Entry{IDS_BUDDY_LIST_REMOVE_QUESTION, "Are you sure you want to remove the selected entries?",
          "确实要删除所选项吗？"},
    Entry{IDS_BUTTON_APPLY, "&Apply", "应用(&A)"},
    Entry{IDS_BUDDIES_TAB, "Buddies", "好友"},
    Entry{IDS_STATUS_ONLINE, "Online", "联机"},
    Entry{IDS_STATUS_OFFLINE, "Offline", "脱机"},
    Entry{IDS_MENU_GROUP_CONVERSATION, "Start &group conversation", "开始群组对话(&G)"},
    Entry{IDS_STATUS_AWAY, "Away", "离开"},
    Entry{IDS_STATUS_INVISIBLE, "Invisible", "隐身"},
    Entry{IDS_MENU_HISTORY_FOLDER, "Open &history folder", "打开历史记录文件夹(&H)"},
    Entry{IDS_MENU_LOG_OUT, "Log &out", "注销(&O)"},
    Entry{IDS_MENU_LOG_IN, "&Log in...", "登录(&L)..."},
    Entry{IDS_MENU_CALENDAR, "Go to my ca&lendar", "转到我的日历(&L)"},
    Entry{IDS_MENU_MORE_FOLDERS, "More folders", "更多文件夹"},
    Entry{IDS_MENU_SHOW_MAIN_WINDOW, "&Show main window", "显示主窗口(&S)"},
    Entry{IDS_MENU_MY_STATUS, "My status: ", "我的状态："},
    Entry{IDS_ALL_USERS, "All users", "所有用户"},
    Entry{IDS_MY_BUDDIES, "My buddies", "我的好友"},
    Entry{IDS_FOLDERS_TAB, "Folders", "文件夹"},
    Entry{IDS_MANUAL_TITLE, "Add a Buddy", "添加好友"},
    Entry{IDS_MANUAL_NAME, "&Full name:", "全名(&F)："},
    Entry{IDS_MANUAL_ADDRESS, "&E-mail address:", "电子邮件地址(&E)："},
    Entry{IDS_MANUAL_MISSING, "Please type the buddy's e-mail address.",
          "请输入好友的电子邮件地址。"},
    Entry{
        IDS_MANUAL_MALFORMED,
        "This is not an e-mail address: it needs one \"@\" with text on both sides and no spaces.",
        "这不是有效的电子邮件地址：它需要一个“@”，两侧都有文字，且不含空格。"},
    Entry{IDS_MANUAL_LISTED, "This address is your own or already in your buddy list.",
          "该地址是您自己的地址，或已在您的好友列表中。"},
    Entry{IDS_AUTH_TITLE, "Authentication Required", "需要身份验证"},
    Entry{IDS_AUTH_SERVER, "The server %s asks for a user name and password.",
          "服务器 %s 要求提供用户名和密码。"},
    Entry{IDS_AUTH_PROXY, "The proxy server %s asks for a user name and password.",
          "代理服务器 %s 要求提供用户名和密码。"},
    Entry{IDS_AUTH_USER, "&User name:", "用户名(&U)："},
    Entry{IDS_AUTH_PASSWORD, "&Password:", "密码(&P)："},
};
static_assert(std::ranges::is_sorted(kEntries, {}, &Entry::id));

struct StatusWord {
    std::string_view protocol;
    int id;
};

constexpr std::array kStatusWords{
    StatusWord{"Online", IDS_STATUS_ONLINE},
    StatusWord{"Away", IDS_STATUS_AWAY},
    StatusWord{"Invisible", IDS_STATUS_INVISIBLE},
    StatusWord{"Offline", IDS_STATUS_OFFLINE},
};

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    return std::ranges::equal(a, b, [&](char x, char y) { return lower(x) == lower(y); });
}

const Entry* findIn(std::span<const Entry> entries, int id) {
    auto it = std::ranges::lower_bound(entries, id, {}, &Entry::id);
    return (it != entries.end() && it->id == id) ? &*it : nullptr;
}

const Entry* find(int id) {
    if (const Entry* entry = findIn(kEntries, id)) return entry;
    return findIn(optionsStringEntries(), id);
}

}  // namespace

Language languageFromLocaleName(std::string_view locale) {
    return locale.starts_with("zh") ? Language::Chinese : Language::English;
}

Language languageFromEnvironment() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);  // NOLINT(concurrency-mt-unsafe): read at start
        if (value && *value) return languageFromLocaleName(value);
    }
    return Language::English;
}

StringTable::StringTable(Language language) : language_(language) {
}

std::string StringTable::text(int id) const {
    const Entry* entry = find(id);
    if (!entry) return {};
    return std::string(language_ == Language::Chinese ? entry->chinese : entry->english);
}

std::string StringTable::localizedStatus(std::string_view protocolWord) const {
    for (const auto& word : kStatusWords) {
        if (equalsIgnoringCase(word.protocol, protocolWord)) return text(word.id);
    }
    return std::string(protocolWord);
}

std::string StringTable::protocolStatus(std::string_view localizedWord) const {
    for (const auto& word : kStatusWords) {
        if (text(word.id) == localizedWord) return std::string(word.protocol);
    }
    return std::string(localizedWord);
}

std::vector<int> StringTable::ids() {
    std::vector<int> out;
    std::ranges::transform(kEntries, std::back_inserter(out), &Entry::id);
    std::ranges::transform(optionsStringEntries(), std::back_inserter(out), &Entry::id);
    std::ranges::sort(out);
    return out;
}

}  // namespace vellix
