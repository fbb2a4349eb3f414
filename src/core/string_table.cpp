#include "core/string_table.h"

#include "core/string_entries.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <iterator>

#include "core/status_words.h"

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
    Entry{IDD_RECEIVE_FILE, "Receive File", "接收文件"},
    Entry{IDD_SEND_FILE, "Send File", "发送文件"},
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
    Entry{IDS_IM_SEND, "&Send", "发送(&S)"},
    Entry{IDS_IM_SENDING, "Sending...", "正在发送..."},
    Entry{IDS_IM_BACKGROUND, "Background...", "背景色..."},
    Entry{IDS_IM_TEXT_COLOR, "Text colour...", "文字颜色..."},
    Entry{IDS_IM_SPELL_CHECK, "Spelling", "拼写检查"},
    Entry{IDS_IM_HISTORY, "History", "历史记录"},
    Entry{IDS_IM_NOTICE_TITLE, "Message from %s", "来自 %s 的消息"},
    Entry{IDS_IM_NOTICE_OPEN, "Open", "打开"},
    Entry{IDS_IM_SEND_FILE, "Send a &file...", "发送文件(&F)..."},
    Entry{IDS_IM_EDIT_BUDDIES, "Edit &buddy list...", "编辑好友列表(&B)..."},
    Entry{IDS_IM_OPTIONS, "&Options...", "选项(&O)..."},
    Entry{IDS_IM_MORE, "&More", "更多(&M)"},
    Entry{IDS_RECEIVE_PREFIX, "Receiving", "正在接收"},
    Entry{IDS_RECEIVE_TITLE, "Receiving file -", "正在接收文件 -"},
    Entry{IDS_RECEIVE_FROM, "From: ", "发件人："},
    Entry{IDS_RECEIVE_QUESTION, "Would you like to receive '%s' from %s?",
          "是否接收“%s”（发件人：%s）？"},
    Entry{IDS_RECEIVE_SAVE_AS, "Save this file as...", "将此文件另存为..."},
    Entry{IDS_RECEIVE_COMPLETE, "File transfer complete!", "文件传输完成！"},
    Entry{IDS_RECEIVE_INTERRUPTED, "File transfer interrupted!  The sender may have cancelled.",
          "文件传输中断！  发送方可能已取消。"},
    Entry{IDS_RECEIVE_OPEN, "&Open", "打开(&O)"},
    Entry{IDS_RECEIVE_OPEN_FOLDER, "Open &Folder", "打开文件夹(&F)"},
    Entry{IDS_RECEIVE_KEEP_PARTIAL, "&Keep a partly received file", "保留未接收完整的文件(&K)"},
    Entry{IDS_SEND_SELECT, "Select a file to send", "选择要发送的文件"},
    Entry{IDS_SEND_WAITING, "Waiting for %s to respond...", "正在等待 %s 响应..."},
    Entry{IDS_SEND_TOO_LARGE,
          "'%s' cannot be sent: files of up to 2147483647 bytes (2 GiB) can be offered.",
          "无法发送“%s”：只能发送不超过 2147483647 字节（2 GiB）的文件。"},
    Entry{IDS_TRANSFER_FAILED, "File transfer failed: %s", "文件传输失败：%s"},
    Entry{IDS_TRANSFER_CANCELLED, "File transfer cancelled.", "文件传输已取消。"},
    Entry{IDS_TRANSFER_ALL_FILES, "All Files (*)", "所有文件 (*)"},
    Entry{IDS_TRANSFER_CLOSE, "Close", "关闭"},
    Entry{IDS_UPDATE_TITLE, "Vellix Update", "Vellix 更新"},
    Entry{IDS_UPDATE_NOW, "&Update now", "立即更新(&U)"},
    Entry{IDS_UPDATE_LATER, "&Later", "以后再说(&L)"},
    Entry{IDS_UPDATE_PROGRESS_TITLE, "Downloading the Vellix update", "正在下载 Vellix 更新"},
    Entry{IDS_UPDATE_NOT_SIGNED,
          "The downloaded update does not carry a valid signature from the makers of Vellix. "
          "It was deleted without being run. Vellix will take you to the download page.",
          "下载的更新没有 Vellix 发行方的有效签名，已被删除且未运行。Vellix 将带您转到下载页面。"},
    Entry{IDS_UPDATE_NOT_SAVED, "The update could not be saved on this computer.",
          "无法在此计算机上保存更新。"},
    Entry{IDS_UPDATE_DONE,
          "Vellix has been updated. The new version runs from the next start of Vellix.",
          "Vellix 已更新。下次启动 Vellix 时将运行新版本。"},
    Entry{IDS_UPDATE_INSTALL_FAILED, "The installer did not finish, so Vellix was not updated.",
          "安装程序未能完成，Vellix 未被更新。"},
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
    Entry{IDS_UPDATE_AVAILABLE, "A new version of Vellix is available. Do you want to update now?",
          "有新版本的 Vellix 可用。是否立即更新？"},
    Entry{IDS_MENU_MORE_FOLDERS, "More folders", "更多文件夹"},
    Entry{IDS_UPDATE_DOWNLOAD_ERROR,
          "An error occurred while downloading the update. Vellix will take you to the "
          "download page.",
          "下载更新时出错。Vellix 将带您转到下载页面。"},
    Entry{IDS_MENU_SHOW_MAIN_WINDOW, "&Show main window", "显示主窗口(&S)"},
    Entry{IDS_MENU_MY_STATUS, "My status: ", "我的状态："},
    Entry{IDS_UPDATE_STARTING_INSTALLER, "Starting the installer...", "正在启动安装程序..."},
    Entry{IDS_IM_RECIPIENTS_HEADING, "Recipients", "收件人"},
    Entry{IDS_IM_NO_RECIPIENTS, "Please select at least one recipient.", "请至少选择一个收件人。"},
    Entry{IDS_IM_SEND_UNCHECKED, "The spelling check was cancelled. Send the message anyway?",
          "拼写检查已取消。仍然发送该消息吗？"},
    Entry{IDS_IM_SERVER_ERROR,
          "A server error has occurred. The server may be offline.\r\nPlease contact the "
          "administrator if the problem persists.",
          "服务器发生错误，服务器可能已脱机。\r\n如果问题仍然存在，请与管理员联系。"},
    Entry{IDS_IM_SPELLING_DONE, "The spelling check is complete.", "拼写检查已完成。"},
    Entry{IDS_ALL_USERS, "All users", "所有用户"},
    Entry{IDS_MY_BUDDIES, "My buddies", "我的好友"},
    Entry{IDS_TRANSFER_REFUSED, "The recipient refused the file.", "对方拒绝接收该文件。"},
    Entry{IDS_TRANSFER_COMPLETE, "File transfer complete!", "文件传输完成！"},
    Entry{IDS_TRANSFER_NO_RESPONSE, "The user did not respond to the file transfer request.",
          "对方没有响应文件传输请求。"},
    Entry{IDS_TRANSFER_GROUP_WAIT, "Waiting for the group's file transfer status...",
          "正在等待群组的文件传输状态..."},
    Entry{IDS_TRANSFER_UPLOADED,
          "Upload complete. Waiting for the recipient to finish downloading...",
          "上传完成，正在等待对方完成下载..."},
    Entry{IDS_TRANSFER_SEND_TITLE, "Sending file - ", "正在发送文件 - "},
    Entry{IDS_TRANSFER_TO_LABEL, "To:", "收件人："},
    Entry{IDS_TRANSFER_REFUSED_BY, "These users refused the file:", "以下用户拒绝接收该文件："},
    Entry{IDS_TRANSFER_COMPLETED_BY, "These users received the file:", "以下用户已接收该文件："},
    Entry{IDS_TRANSFER_SENDING, "Sending", "正在发送"},
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
    Entry{IDS_TRAY_RETRYING, "Vellix - server unreachable — retrying in %d s",
          "Vellix - 无法连接服务器，%d 秒后重试"},
    Entry{IDS_SETTINGS_UNREADABLE,
          "The settings file %s cannot be read. Vellix leaves it as it is and does not save "
          "settings into it.",
          "无法读取设置文件 %s。Vellix 将保留该文件原样，不会向其中保存设置。"},
};
static_assert(std::ranges::is_sorted(kEntries, {}, &Entry::id));

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

std::string fillPlaceholder(std::string text, std::string_view placeholder,
                            std::string_view value) {
    if (const auto at = text.find(placeholder); at != std::string::npos) {
        text.replace(at, placeholder.size(), value);
    }
    return text;
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
    return vellix::localizedStatus(protocolWord, [this](int id) { return text(id); });
}

std::string StringTable::protocolStatus(std::string_view localizedWord) const {
    return vellix::protocolStatus(localizedWord, [this](int id) { return text(id); });
}

std::vector<int> StringTable::ids() {
    std::vector<int> out;
    std::ranges::transform(kEntries, std::back_inserter(out), &Entry::id);
    std::ranges::transform(optionsStringEntries(), std::back_inserter(out), &Entry::id);
    std::ranges::sort(out);
    return out;
}

}  // namespace vellix
