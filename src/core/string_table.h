#pragma once
// User-visible texts by their fixed resource number, in English and Simplified Chinese.
// Protocol words ("Online", "Away"...) are never translated; the status helpers map
// between them and the words the user sees.

#include <string>
#include <string_view>
#include <vector>

#include "core/options_strings.h"

namespace vellix {

enum class Language { English, Chinese };

// Status words.
inline constexpr int IDS_STATUS_ONLINE = 32782;
inline constexpr int IDS_STATUS_OFFLINE = 32783;
inline constexpr int IDS_STATUS_AWAY = 32790;
inline constexpr int IDS_STATUS_INVISIBLE = 32791;

// Tray tooltips.
inline constexpr int IDS_TRAY_WAITING = 120;
inline constexpr int IDS_TRAY_LOST = 121;
inline constexpr int IDS_TRAY_CONNECTING = 122;
inline constexpr int IDS_TRAY_INVALID = 123;
inline constexpr int IDS_TRAY_TOTAL = 134;
inline constexpr int IDS_TRAY_UNREAD = 135;
inline constexpr int IDS_TRAY_NEW = 136;
inline constexpr int IDS_TRAY_FOLDER = 137;
inline constexpr int IDS_TRAY_FOLDER_TOTAL = 138;
inline constexpr int IDS_TRAY_NEW_MAIL_IN = 139;
inline constexpr int IDS_TRAY_MORE = 140;
// Tray menu texts.
inline constexpr int IDS_MENU_INBOX = 104;
inline constexpr int IDS_MENU_REFRESH = 105;
inline constexpr int IDS_MENU_COMPOSE = 106;
inline constexpr int IDS_NO_SERVER_ACCESS = 118;
inline constexpr int IDS_MENU_FIRST_UNREAD = 126;
inline constexpr int IDS_MENU_DELAY_BLINK = 130;
inline constexpr int IDS_MENU_DELAY_SOUND = 131;
inline constexpr int IDS_MENU_DELAY_NOTICE = 132;
inline constexpr int IDS_MENU_ALERTS = 141;  // "%d" takes the count
inline constexpr int IDS_MENU_ABOUT = 146;
inline constexpr int IDS_MENU_EXIT = 148;
inline constexpr int IDS_MENU_PROPERTIES = 149;
inline constexpr int IDS_MENU_SEND_IM = 151;
inline constexpr int IDS_MENU_ADD_BUDDY = 152;
inline constexpr int IDS_MENU_FAX = 155;
inline constexpr int IDS_MENU_MAKER_SITE = 162;
inline constexpr int IDS_MENU_GROUP_CONVERSATION = 32784;
inline constexpr int IDS_MENU_HISTORY_FOLDER = 32796;
inline constexpr int IDS_MENU_LOG_OUT = 32797;
inline constexpr int IDS_MENU_LOG_IN = 32799;
inline constexpr int IDS_MENU_CALENDAR = 32801;
inline constexpr int IDS_MENU_MORE_FOLDERS = 32806;
inline constexpr int IDS_MENU_SHOW_MAIN_WINDOW = 32817;
inline constexpr int IDS_MENU_MY_STATUS = 32825;

// Messenger window (dialog 264).
inline constexpr int IDS_IM_RECIPIENTS_HEADING = 32833;
inline constexpr int IDS_IM_NO_RECIPIENTS = 32834;
inline constexpr int IDS_IM_SEND_UNCHECKED = 32835;
inline constexpr int IDS_IM_SERVER_ERROR = 32836;
inline constexpr int IDS_IM_SPELLING_DONE = 32837;
inline constexpr int IDS_IM_SEND = 26401;
inline constexpr int IDS_IM_SENDING = 26402;
inline constexpr int IDS_IM_BACKGROUND = 26403;
inline constexpr int IDS_IM_TEXT_COLOR = 26404;
inline constexpr int IDS_IM_SPELL_CHECK = 26405;
inline constexpr int IDS_IM_HISTORY = 26406;
inline constexpr int IDS_IM_NOTICE_TITLE = 26407;  // "%s" takes the sender
inline constexpr int IDS_IM_NOTICE_OPEN = 26408;
inline constexpr int IDS_IM_SEND_FILE = 26409;
inline constexpr int IDS_IM_EDIT_BUDDIES = 26410;
inline constexpr int IDS_IM_OPTIONS = 26411;
inline constexpr int IDS_IM_MORE = 26412;

// Exit confirmation dialog (resource 160).
inline constexpr int IDD_EXIT_CONFIRM = 160;
inline constexpr int IDS_EXIT_QUESTION = 16001;
inline constexpr int IDS_EXIT_DONT_SHOW = 16002;
inline constexpr int IDS_BUTTON_YES = 16003;
inline constexpr int IDS_BUTTON_NO = 16004;

// Login dialog (resource 193), and the OK and Cancel buttons every dialog shares.
inline constexpr int IDD_LOGIN = 193;
inline constexpr int IDS_LOGIN_TITLE = 19301;
inline constexpr int IDS_LOGIN_ACCOUNT = 19302;
inline constexpr int IDS_LOGIN_PASSWORD = 19303;
inline constexpr int IDS_LOGIN_REMEMBER = 19304;
inline constexpr int IDS_BUTTON_OK = 19305;
inline constexpr int IDS_BUTTON_CANCEL = 19306;

// The user name and password prompt of a server (401) or proxy (407); "%s" is the host.
inline constexpr int IDS_AUTH_TITLE = 40701;
inline constexpr int IDS_AUTH_SERVER = 40702;
inline constexpr int IDS_AUTH_PROXY = 40703;
inline constexpr int IDS_AUTH_USER = 40704;
inline constexpr int IDS_AUTH_PASSWORD = 40705;

// Connection upkeep: the tray tooltip while a retry waits ("%d" the seconds), and the
// notice about a settings file that is not text ("%s" its path).
inline constexpr int IDS_TRAY_RETRYING = 41001;
inline constexpr int IDS_SETTINGS_UNREADABLE = 41002;

// New-mail note (dialog 144) and the desktop notice.
inline constexpr int IDD_NOTE = 144;
inline constexpr int IDS_NOTE_TITLE = 14401;
inline constexpr int IDS_NOTE_LABEL = 14402;
inline constexpr int IDS_NOTE_DONT_REOPEN = 14403;
inline constexpr int IDS_NOTE_CLOSE = 14404;
inline constexpr int IDS_NOTE_OPEN = 14405;

// Disconnect dialog (resource 187).
inline constexpr int IDD_DISCONNECT = 187;
inline constexpr int IDS_DISCONNECT_TITLE = 18701;
inline constexpr int IDS_DISCONNECT_TEXT = 18702;
inline constexpr int IDS_DISCONNECT_OK = 18703;
inline constexpr int IDS_DISCONNECT_CANCEL = 18704;

// Administrator alert window (resource 250).
inline constexpr int IDD_ALERT = 250;
inline constexpr int IDS_ALERT_TITLE = 25001;
inline constexpr int IDS_ALERT_OK = 25002;

// The text with its first `placeholder` ("%s", "%d") replaced by `value`.
std::string fillPlaceholder(std::string text, std::string_view placeholder, std::string_view value);
// Self-update: question dialog (resource 313), progress dialog (314) and its messages.
inline constexpr int IDS_UPDATE_TITLE = 31301;
inline constexpr int IDS_UPDATE_NOW = 31302;
inline constexpr int IDS_UPDATE_LATER = 31303;
inline constexpr int IDS_UPDATE_PROGRESS_TITLE = 31401;
inline constexpr int IDS_UPDATE_NOT_SIGNED = 31402;
inline constexpr int IDS_UPDATE_NOT_SAVED = 31403;
inline constexpr int IDS_UPDATE_DONE = 31404;
inline constexpr int IDS_UPDATE_INSTALL_FAILED = 31405;
inline constexpr int IDS_UPDATE_AVAILABLE = 32805;
inline constexpr int IDS_UPDATE_DOWNLOAD_ERROR = 32815;
inline constexpr int IDS_UPDATE_STARTING_INSTALLER = 32830;
// File transfer: the send window (resource 275) and the receive window (resource 274).
inline constexpr int IDS_TRANSFER_REFUSED = 32841;
inline constexpr int IDS_TRANSFER_COMPLETE = 32842;
inline constexpr int IDS_TRANSFER_NO_RESPONSE = 32844;
inline constexpr int IDS_TRANSFER_GROUP_WAIT = 32845;
inline constexpr int IDS_TRANSFER_UPLOADED = 32846;
inline constexpr int IDS_TRANSFER_SEND_TITLE = 32848;
inline constexpr int IDS_TRANSFER_TO_LABEL = 32849;
inline constexpr int IDS_TRANSFER_REFUSED_BY = 32850;
inline constexpr int IDS_TRANSFER_COMPLETED_BY = 32851;
inline constexpr int IDS_TRANSFER_SENDING = 32852;
inline constexpr int IDD_RECEIVE_FILE = 274;
inline constexpr int IDS_RECEIVE_PREFIX = 27401;
inline constexpr int IDS_RECEIVE_TITLE = 27402;
inline constexpr int IDS_RECEIVE_FROM = 27403;
inline constexpr int IDS_RECEIVE_QUESTION = 27404;  // "%s": file name, then sender
inline constexpr int IDS_RECEIVE_SAVE_AS = 27405;
inline constexpr int IDS_RECEIVE_COMPLETE = 27406;
inline constexpr int IDS_RECEIVE_INTERRUPTED = 27407;
inline constexpr int IDS_RECEIVE_OPEN = 27408;
inline constexpr int IDS_RECEIVE_OPEN_FOLDER = 27409;
inline constexpr int IDS_RECEIVE_KEEP_PARTIAL = 27410;
inline constexpr int IDD_SEND_FILE = 275;
inline constexpr int IDS_SEND_SELECT = 27501;
inline constexpr int IDS_SEND_WAITING = 27502;     // "%s": the recipients
inline constexpr int IDS_SEND_TOO_LARGE = 27503;   // "%s": the file name
inline constexpr int IDS_TRANSFER_FAILED = 27504;  // "%s": the reason
inline constexpr int IDS_TRANSFER_CANCELLED = 27505;
inline constexpr int IDS_TRANSFER_ALL_FILES = 27506;
inline constexpr int IDS_TRANSFER_CLOSE = 27507;
// Buddy window: its two tabs (resources 316 and 341) and the list headings of the
// buddy-list page.
inline constexpr int IDS_BUDDIES_TAB = 31601;
inline constexpr int IDS_FOLDERS_TAB = 34101;
inline constexpr int IDS_ALL_USERS = 32839;
inline constexpr int IDS_MY_BUDDIES = 32840;

// Buddy-list page (resource 262) and its manual-entry dialog (resource 345).
inline constexpr int IDD_BUDDY_LIST_PAGE = 262;
inline constexpr int IDS_BUDDY_LIST_TITLE = 26201;
inline constexpr int IDS_BUDDY_LIST_ADD = 26202;
inline constexpr int IDS_BUDDY_LIST_REMOVE = 26203;
inline constexpr int IDS_BUDDY_LIST_SHOW_ALL = 26204;
inline constexpr int IDS_BUDDY_LIST_MANUAL = 26205;
inline constexpr int IDS_BUDDY_LIST_EMAIL = 26206;
inline constexpr int IDS_BUDDY_LIST_REMOVE_QUESTION = 26207;
inline constexpr int IDD_MANUAL_BUDDY = 345;
inline constexpr int IDS_MANUAL_TITLE = 34501;
inline constexpr int IDS_MANUAL_NAME = 34502;
inline constexpr int IDS_MANUAL_ADDRESS = 34503;
inline constexpr int IDS_MANUAL_MISSING = 34504;
inline constexpr int IDS_MANUAL_MALFORMED = 34505;
inline constexpr int IDS_MANUAL_LISTED = 34506;

// The locale's language: the first set of LC_ALL, LC_MESSAGES, LANG; "zh..." is Chinese.
Language languageFromEnvironment();
// "zh_CN.UTF-8" -> Chinese; anything else (including "", "C", "POSIX") -> English.
Language languageFromLocaleName(std::string_view locale);

class StringTable {
  public:
    explicit StringTable(Language language);

    Language language() const { return language_; }
    // Empty for an unknown number.
    std::string text(int id) const;

    // Protocol word to the word shown; compared without regard to letter case. A word
    // outside the four is returned as it is.
    std::string localizedStatus(std::string_view protocolWord) const;
    // Shown word to protocol word; a word outside the four is returned as it is.
    std::string protocolStatus(std::string_view localizedWord) const;

    // Every number the table knows, ascending.
    static std::vector<int> ids();

  private:
    Language language_;
};

}  // namespace vellix
