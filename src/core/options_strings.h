#pragma once
// Numbers of the texts of the options window, its pages, help and the splash (part of the
// string table; string_table.h includes this).

namespace vellix {

inline constexpr int IDS_INTERVAL_RANGE = 124;
inline constexpr int IDS_TIP_ALL_FOLDERS = 125;
inline constexpr int IDS_ACCOUNT_CHANGED = 32800;
// The six notification rules, in rule order.
inline constexpr int IDS_RULE_BLINK = 32819;
inline constexpr int IDS_RULE_SOUND = 32820;
inline constexpr int IDS_RULE_NOTICE = 32821;
inline constexpr int IDS_RULE_OPEN = 32822;
inline constexpr int IDS_RULE_IN_MENU = 32823;
inline constexpr int IDS_RULE_IN_WINDOW = 32824;
inline constexpr int IDS_OPTIONS_TITLE = 32838;

// Server page (dialog 254).
inline constexpr int IDS_PAGE_SERVER = 25401;
inline constexpr int IDS_SERVER_URL = 25402;
inline constexpr int IDS_SERVER_ACCOUNT = 25403;
inline constexpr int IDS_SERVER_PASSWORD = 25404;
inline constexpr int IDS_SERVER_REMEMBER = 25405;
inline constexpr int IDS_SERVER_INTERVAL = 25406;
inline constexpr int IDS_SERVER_CONNECTION = 25407;
inline constexpr int IDS_SERVER_DIRECT = 25408;
inline constexpr int IDS_SERVER_PROXY = 25409;
inline constexpr int IDS_SERVER_PROXY_SERVER = 25410;
inline constexpr int IDS_SERVER_PROXY_PORT = 25411;
inline constexpr int IDS_SERVER_MAIL_CLIENT = 25412;
inline constexpr int IDS_BROWSE = 25413;
inline constexpr int IDS_SELECT_APPLICATION = 25414;
inline constexpr int IDS_PROGRAM_FILTER = 25415;
inline constexpr int IDS_PROXY_SERVER_MISSING = 25416;
inline constexpr int IDS_RESTART_NOTICE = 25417;
inline constexpr int IDS_SETTINGS_NOT_SAVED = 25418;
inline constexpr int IDS_SERVER_FIRST_START = 25419;

// Address Book page (dialog 258).
inline constexpr int IDS_AB_SYNC_NOW_QUESTION = 154;
inline constexpr int IDS_AB_MERGE_NOTICE = 157;
inline constexpr int IDS_AB_SAME_FOLDER = 32807;
inline constexpr int IDS_AB_NO_FOLDER = 32808;
inline constexpr int IDS_AB_CANCEL_QUESTION = 32812;
inline constexpr int IDS_AB_FOLDER_ERROR = 32814;
inline constexpr int IDS_PAGE_ADDRESS_BOOK = 25801;
inline constexpr int IDS_AB_ENABLE = 25802;
inline constexpr int IDS_AB_INTERVAL = 25803;
inline constexpr int IDS_AB_STORE = 25804;
inline constexpr int IDS_AB_STORE_EDS = 25805;
inline constexpr int IDS_AB_STORE_VCARD = 25806;
inline constexpr int IDS_AB_PUBLIC = 25807;
inline constexpr int IDS_AB_PRIVATE = 25808;
inline constexpr int IDS_AB_SYNC_NOW = 25809;
inline constexpr int IDS_AB_CANCEL = 25810;
inline constexpr int IDS_AB_RUNNING = 25811;
inline constexpr int IDS_AB_VCARD_ROOT = 25812;
inline constexpr int IDS_AB_STORE_UNAVAILABLE = 25813;
inline constexpr int IDS_AB_NO_FOLDERS = 25814;
inline constexpr int IDS_AB_DONE = 25815;
inline constexpr int IDS_AB_FAILED = 25816;
inline constexpr int IDS_AB_SKIPPED = 25817;
inline constexpr int IDS_AB_CANCELLED = 25818;
inline constexpr int IDS_AB_CHOOSE_ROOT = 25819;
inline constexpr int IDS_AB_NOT_STARTED = 25820;

// Misc page (dialog 256).
inline constexpr int IDS_PAGE_MISC = 25601;
inline constexpr int IDS_MISC_NEW_BROWSER = 25602;
inline constexpr int IDS_MISC_HIDE_OFFLINE = 25603;
inline constexpr int IDS_MISC_AUTO_OFFLINE = 25604;
inline constexpr int IDS_MISC_AUTO_SPELL = 25605;
inline constexpr int IDS_MISC_FOLDER_IN_MENU = 25606;
inline constexpr int IDS_MISC_LOG_CHATS = 25607;
inline constexpr int IDS_MISC_SUPPRESS_END = 25608;
inline constexpr int IDS_MISC_SHOW_ON_START = 25609;
inline constexpr int IDS_MISC_ALWAYS_ON_TOP = 25610;
inline constexpr int IDS_MISC_SEND_ON_ENTER = 25611;
inline constexpr int IDS_MISC_SPELL_OPTIONS = 25612;
inline constexpr int IDS_MISC_DICTIONARY = 25613;
inline constexpr int IDS_MISC_MAKE_DEFAULT = 25614;
inline constexpr int IDS_MISC_IS_DEFAULT = 25615;
inline constexpr int IDS_MISC_NOT_DEFAULT = 25616;
inline constexpr int IDS_MISC_DEFAULT_UNKNOWN = 25617;
inline constexpr int IDS_MISC_NUMBER_RANGE = 25618;

// Notifications page (dialog 259).
inline constexpr int IDS_PAGE_NOTIFICATIONS = 25901;
inline constexpr int IDS_NOTIFY_FOLDERS = 25902;
inline constexpr int IDS_NOTIFY_DEFAULTS = 25903;
inline constexpr int IDS_NOTIFY_RESET = 25904;
inline constexpr int IDS_NOTIFY_RESET_QUESTION = 25905;
inline constexpr int IDS_NOTIFY_RULES = 25906;

// About page (dialog 260).
inline constexpr int IDS_PAGE_ABOUT = 26001;
inline constexpr int IDS_ABOUT_VERSION = 26002;
inline constexpr int IDS_ABOUT_PRODUCT = 26003;
inline constexpr int IDS_ABOUT_SUMMARY = 26004;
inline constexpr int IDS_ABOUT_MAKER = 26005;

// Sounds page (dialog 279).
inline constexpr int IDS_PAGE_SOUNDS = 27901;
inline constexpr int IDS_SOUNDS_PLAY_SOUNDS = 27902;
inline constexpr int IDS_SOUNDS_NEW_MAIL = 27903;
inline constexpr int IDS_SOUNDS_INCOMING_FILE = 27904;
inline constexpr int IDS_SOUNDS_NEW_IM = 27905;
inline constexpr int IDS_SOUNDS_IM_SENT = 27906;
inline constexpr int IDS_SOUNDS_BUDDY_ONLINE = 27907;
inline constexpr int IDS_SOUNDS_PLAY = 27908;
inline constexpr int IDS_SOUNDS_DOUBLE_CLICK = 27909;
inline constexpr int IDS_SOUNDS_DBL_MAIL = 27910;
inline constexpr int IDS_SOUNDS_DBL_WINDOW = 27911;
inline constexpr int IDS_SOUNDS_TIP_FOLDER = 27912;
inline constexpr int IDS_SOUNDS_FILTER = 27913;

// The sheet's own buttons and messages.
inline constexpr int IDS_OPTIONS_APPLY = 28301;
inline constexpr int IDS_OPTIONS_HELP = 28302;
inline constexpr int IDS_VELLIX_ERROR = 28303;
inline constexpr int IDS_HELP_MISSING = 28304;
inline constexpr int IDS_DESKTOP_ACTION_FAILED = 28305;

// Why the server could not be reached, added to the connection errors.
inline constexpr int IDS_NET_HOST_NOT_FOUND = 28310;
inline constexpr int IDS_NET_REFUSED = 28311;
inline constexpr int IDS_NET_TIMEOUT = 28312;
inline constexpr int IDS_NET_BAD_ADDRESS = 28313;
inline constexpr int IDS_NET_CERTIFICATE = 28314;
inline constexpr int IDS_NET_OTHER = 28315;
// The tray's tooltip after a deliberate log out.
inline constexpr int IDS_TRAY_LOGGED_OUT = 28316;

}  // namespace vellix
