#include <algorithm>
#include <array>

#include "core/string_entries.h"
#include "core/string_table.h"

namespace vellix {
namespace {

constexpr std::array kOptionsEntries{
    StringEntry{IDS_INTERVAL_RANGE, "The polling interval must be between 1 and 360 minutes.",
                "检查间隔必须在 1 到 360 分钟之间。"},
    StringEntry{IDS_TIP_ALL_FOLDERS, "Total of all folders", "所有文件夹的总数"},
    StringEntry{IDS_PAGE_SERVER, "Server", "服务器"},
    StringEntry{IDS_SERVER_URL, "&Server address:", "服务器地址(&S)："},
    StringEntry{IDS_SERVER_ACCOUNT, "&Account:", "帐户(&A)："},
    StringEntry{IDS_SERVER_PASSWORD, "&Password:", "密码(&P)："},
    StringEntry{IDS_SERVER_REMEMBER, "&Remember my password", "记住我的密码(&R)"},
    StringEntry{IDS_SERVER_INTERVAL,
                "Check for new mail every (&minutes):", "检查新邮件的间隔(分钟)(&M)："},
    StringEntry{IDS_SERVER_CONNECTION, "Connection", "连接"},
    StringEntry{IDS_SERVER_DIRECT, "&Detect automatically", "自动检测(&D)"},
    StringEntry{IDS_SERVER_PROXY, "Use an HTTP pro&xy", "使用 HTTP 代理(&X)"},
    StringEntry{IDS_SERVER_PROXY_SERVER, "Proxy ser&ver:", "代理服务器(&V)："},
    StringEntry{IDS_SERVER_PROXY_PORT, "P&ort:", "端口(&O)："},
    StringEntry{IDS_SERVER_MAIL_CLIENT, "Mail pro&gram:", "邮件程序(&G)："},
    StringEntry{IDS_BROWSE, "&Browse...", "浏览(&B)..."},
    StringEntry{IDS_SELECT_APPLICATION, "Select Application", "选择应用程序"},
    StringEntry{IDS_PROGRAM_FILTER, "Programs (*);;All Files (*)", "程序 (*);;所有文件 (*)"},
    StringEntry{IDS_PROXY_SERVER_MISSING,
                "In order to use HTTP proxy, please supply the proxy server information.",
                "要使用 HTTP 代理，请填写代理服务器信息。"},
    StringEntry{IDS_RESTART_NOTICE,
                "Changes that you have made to connection settings will not go into effect "
                "until you restart Vellix.",
                "您对连接设置所做的更改将在重新启动 Vellix 后生效。"},
    StringEntry{IDS_SETTINGS_NOT_SAVED, "The settings could not be saved: %s", "无法保存设置：%s"},
    StringEntry{IDS_SERVER_FIRST_START,
                "Welcome to Vellix. Type the address of your Skyloom server, your account and "
                "your password, then press OK.",
                "欢迎使用 Vellix。请输入 Skyloom 服务器的地址、您的帐户和密码，然后按“确定”。"},
    StringEntry{IDS_PAGE_MISC, "Misc", "其他"},
    StringEntry{IDS_MISC_NEW_BROWSER, "Open web pages in a &new browser window",
                "在新的浏览器窗口中打开网页(&N)"},
    StringEntry{IDS_MISC_HIDE_OFFLINE, "&Hide offline buddies", "隐藏脱机好友(&H)"},
    StringEntry{IDS_MISC_AUTO_OFFLINE, "Show me as Away after this many idle &minutes (0 = never):",
                "空闲多少分钟后显示为离开(0 = 从不)(&M)："},
    StringEntry{IDS_MISC_AUTO_SPELL, "Check &spelling before sending", "发送前检查拼写(&S)"},
    StringEntry{IDS_MISC_FOLDER_IN_MENU,
                "&Folders in the tray menu before the rest move to a submenu (0 = never):",
                "托盘菜单中显示的文件夹数，其余移入子菜单(0 = 从不)(&F)："},
    StringEntry{IDS_MISC_LOG_CHATS, "&Log chat sessions", "记录聊天会话(&L)"},
    StringEntry{IDS_MISC_SUPPRESS_END, "Close Vellix &without asking",
                "关闭 Vellix 时不再询问(&W)"},
    StringEntry{IDS_MISC_SHOW_ON_START, "Show the main window at s&tart", "启动时显示主窗口(&T)"},
    StringEntry{IDS_MISC_ALWAYS_ON_TOP, "Keep the main window on t&op", "主窗口总在最前(&O)"},
    StringEntry{IDS_MISC_SEND_ON_ENTER, "Send messages with &Enter", "按 Enter 键发送消息(&E)"},
    StringEntry{IDS_MISC_SPELL_OPTIONS, "Spelling o&ptions...", "拼写选项(&P)..."},
    StringEntry{IDS_MISC_DICTIONARY, "&Dictionary...", "词典(&D)..."},
    StringEntry{IDS_MISC_MAKE_DEFAULT, "Make Vellix the default m&ail program",
                "将 Vellix 设为默认邮件程序(&A)"},
    StringEntry{IDS_MISC_IS_DEFAULT, "Vellix is the default mail program.",
                "Vellix 是默认邮件程序。"},
    StringEntry{IDS_MISC_NOT_DEFAULT, "Vellix is not the default mail program.",
                "Vellix 不是默认邮件程序。"},
    StringEntry{IDS_MISC_DEFAULT_UNKNOWN, "The default mail program cannot be told: %s",
                "无法确定默认邮件程序：%s"},
    StringEntry{IDS_MISC_NUMBER_RANGE, "Please type a whole number from 0 to 9999.",
                "请输入 0 到 9999 之间的整数。"},
    StringEntry{IDS_PAGE_NOTIFICATIONS, "Notifications", "通知"},
    StringEntry{IDS_NOTIFY_FOLDERS, "Folders", "文件夹"},
    StringEntry{IDS_NOTIFY_DEFAULTS, "[Defaults]", "[默认设置]"},
    StringEntry{IDS_NOTIFY_RESET, "&Reset all folders", "重置所有文件夹(&R)"},
    StringEntry{IDS_NOTIFY_RESET_QUESTION,
                "Are you sure you want to reset all folders to use default settings?",
                "确实要将所有文件夹重置为使用默认设置吗？"},
    StringEntry{IDS_NOTIFY_RULES,
                "When new mail arrives in the &selected folder:", "所选文件夹收到新邮件时(&S)："},
    StringEntry{IDS_PAGE_ABOUT, "About", "关于"},
    StringEntry{IDS_ABOUT_VERSION, "version ", "版本 "},
    StringEntry{IDS_ABOUT_PRODUCT, "Brisgate Vellix", "Brisgate Vellix 邮件助手"},
    StringEntry{IDS_ABOUT_SUMMARY,
                "Tells you about new mail on your Skyloom server and keeps you in touch with "
                "your colleagues.",
                "在 Skyloom 服务器上有新邮件时通知您，并让您与同事保持联系。"},
    StringEntry{IDS_ABOUT_MAKER, "Brisgate Technologies - www.brisgate.example",
                "Brisgate 科技 - www.brisgate.example"},
    StringEntry{IDS_PAGE_SOUNDS, "Sounds", "声音"},
    StringEntry{IDS_SOUNDS_PLAY_SOUNDS, "&Play sounds", "播放声音(&P)"},
    StringEntry{IDS_SOUNDS_NEW_MAIL, "&New mail:", "新邮件(&N)："},
    StringEntry{IDS_SOUNDS_INCOMING_FILE, "&Incoming file:", "收到文件(&I)："},
    StringEntry{IDS_SOUNDS_NEW_IM, "New &message:", "新消息(&M)："},
    StringEntry{IDS_SOUNDS_IM_SENT, "Message s&ent:", "消息已发送(&E)："},
    StringEntry{IDS_SOUNDS_BUDDY_ONLINE, "&Buddy online:", "好友上线(&B)："},
    StringEntry{IDS_SOUNDS_PLAY, "Play", "播放"},
    StringEntry{IDS_SOUNDS_DOUBLE_CLICK, "Double-clicking the tray i&con:", "双击托盘图标(&C)："},
    StringEntry{IDS_SOUNDS_DBL_MAIL, "Opens new mail in the browser", "在浏览器中打开新邮件"},
    StringEntry{IDS_SOUNDS_DBL_WINDOW, "Opens the main window", "打开主窗口"},
    StringEntry{IDS_SOUNDS_TIP_FOLDER, "The &tooltip counts:", "提示中显示的数目(&T)："},
    StringEntry{IDS_SOUNDS_FILTER, "Sounds (*.wav *.oga *.ogg);;All Files (*)",
                "声音 (*.wav *.oga *.ogg);;所有文件 (*)"},
    StringEntry{IDS_OPTIONS_APPLY, "&Apply", "应用(&A)"},
    StringEntry{IDS_OPTIONS_HELP, "&Help", "帮助(&H)"},
    StringEntry{IDS_VELLIX_ERROR, "Vellix Error", "Vellix 错误"},
    StringEntry{IDS_HELP_MISSING, "The help page %s is missing. Reinstall Vellix to get it back.",
                "帮助页面 %s 不存在。请重新安装 Vellix。"},
    StringEntry{IDS_DESKTOP_ACTION_FAILED, "The desktop could not do this: %s",
                "桌面无法完成此操作：%s"},
    StringEntry{IDS_NET_HOST_NOT_FOUND,
                "The server's name was not found. Check the server address on the Server page.",
                "找不到服务器名称。请在“服务器”页上检查服务器地址。"},
    StringEntry{IDS_NET_REFUSED,
                "The server refused the connection or cannot be reached. Check the address and "
                "port, and whether the server is running.",
                "服务器拒绝了连接或无法访问。请检查地址和端口，以及服务器是否正在运行。"},
    StringEntry{IDS_NET_TIMEOUT, "The server did not answer in time.", "服务器没有及时响应。"},
    StringEntry{IDS_NET_BAD_ADDRESS,
                "The server address is not a web address (it must begin with http:// or https://).",
                "服务器地址不是有效的网址（必须以 http:// 或 https:// 开头）。"},
    StringEntry{IDS_NET_CERTIFICATE, "The server's certificate was not accepted.",
                "服务器的证书未被接受。"},
    StringEntry{IDS_NET_OTHER, "The connection failed: %s", "连接失败：%s"},
    StringEntry{IDS_TRAY_LOGGED_OUT, "Vellix - logged out", "Vellix - 已注销"},
    StringEntry{IDS_ACCOUNT_CHANGED,
                "You have changed the account. Log out now and log in with the new account?",
                "您已更改帐户。要立即注销并使用新帐户登录吗？"},
    StringEntry{IDS_RULE_BLINK, "Blink the tray icon", "闪烁托盘图标"},
    StringEntry{IDS_RULE_SOUND, "Play a sound", "播放声音"},
    StringEntry{IDS_RULE_NOTICE, "Pop up a message", "弹出消息"},
    StringEntry{IDS_RULE_OPEN, "Open the first unread message in the browser",
                "在浏览器中打开第一封未读邮件"},
    StringEntry{IDS_RULE_IN_MENU, "Show in the tray menu", "在托盘菜单中显示"},
    StringEntry{IDS_RULE_IN_WINDOW, "Show in the main window", "在主窗口中显示"},
    StringEntry{IDS_OPTIONS_TITLE, "Vellix Properties", "Vellix 属性"},
};

constexpr auto sorted() {
    auto entries = kOptionsEntries;
    std::ranges::sort(entries, {}, &StringEntry::id);
    return entries;
}
constexpr auto kSorted = sorted();

}  // namespace

std::span<const StringEntry> optionsStringEntries() {
    return kSorted;
}

}  // namespace vellix
