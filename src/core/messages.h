#pragma once
// The private messages frames exchange. The numbers are fixed: other processes and
// recorded logs depend on them.

#include <cstdint>

namespace vellix {

using MessageId = std::uint32_t;

inline constexpr MessageId WM_USER = 0x0400;
inline constexpr MessageId WM_APP = 0x8000;
// A second instance's hand-over; the number the desktop protocol used for it.
inline constexpr MessageId WM_COPYDATA = 0x004A;
inline constexpr MessageId WM_QUIT = 0x0012;
// Posted with a timer's identifier in wParam: that timer's work, at once.
inline constexpr MessageId WM_TIMER = 0x0113;

// The tray icon's callback: wParam the icon id, lParam the mouse message.
inline constexpr MessageId UM_TRAY_CALLBACK = WM_USER;
inline constexpr MessageId UM_SHOW_MENU = WM_USER + 1;
inline constexpr MessageId UM_QUIT_THREAD = WM_USER + 2;
inline constexpr MessageId UM_RELOGIN = WM_USER + 3;
inline constexpr MessageId UM_SERVER_STATE = WM_USER + 4;
inline constexpr MessageId UM_COUNTS_READY = WM_USER + 5;
inline constexpr MessageId UM_NEED_SERVER = WM_USER + 7;
inline constexpr MessageId UM_SHOW_DISCONNECT = WM_USER + 8;
inline constexpr MessageId UM_NEED_LOGIN = WM_USER + 9;
inline constexpr MessageId UM_LOGIN_AGAIN = WM_USER + 10;
inline constexpr MessageId UM_OPEN_LINK = WM_USER + 11;
inline constexpr MessageId UM_SHOW_ALERT = WM_USER + 12;
inline constexpr MessageId UM_STOP = WM_USER + 14;
inline constexpr MessageId UM_CHECK_NOW = WM_USER + 15;
inline constexpr MessageId UM_RESTART_TIMER = WM_USER + 17;
inline constexpr MessageId UM_GET_USER_LIST = WM_USER + 40;

// From the event receiver to the window handler, with the parsed record as payload: a
// transfer's answer and its progress, for the transfer window entered under its key.
inline constexpr MessageId UM_TRANSFER_RESPONSE = WM_USER + 129;
inline constexpr MessageId UM_FILE_TRANSFER_REQUEST = WM_USER + 130;
inline constexpr MessageId UM_FILE_TRANSFER_RESPONSE = WM_USER + 131;
inline constexpr MessageId UM_INSTALL_HOOKS = WM_USER + 132;
inline constexpr MessageId UM_SAVE_BUDDY_LIST = WM_USER + 133;
inline constexpr MessageId UM_SET_STATUS = WM_USER + 135;
inline constexpr MessageId UM_SEND_IM = WM_USER + 136;
inline constexpr MessageId UM_TRANSFER_STATUS = WM_USER + 137;
inline constexpr MessageId UM_SAVE_IM_SETTINGS = WM_USER + 138;
inline constexpr MessageId UM_RELOAD_ACCOUNT = WM_USER + 139;
inline constexpr MessageId UM_LOGOUT = WM_USER + 140;
// To the address-book frame: a new session, or the Address Book page changed the
// settings: read them again and restart the timer.
inline constexpr MessageId UM_SYNC_CONTACTS = WM_USER + 142;
inline constexpr MessageId UM_SYNC_SETTINGS_CHANGED = UM_SYNC_CONTACTS;
inline constexpr MessageId UM_REMOVE_HOOKS = WM_USER + 143;
// To the options frame: open the options window, or bring it to the front, on the page
// named by the payload (std::string; empty keeps the page as it is).
inline constexpr MessageId UM_OPTIONS_PAGE = WM_USER + 146;
// To the options frame, for its Address Book page: a synchronization run ended (wParam:
// its ContactSyncOutcome), and a run's progress line (payload: the text as std::string).
inline constexpr MessageId UM_SYNC_FINISHED = WM_USER + 147;
inline constexpr MessageId UM_SYNC_STATUS = WM_USER + 149;
// A buddy's status changed; the window handler passes it on to the messenger windows.
inline constexpr MessageId UM_BUDDY_STATUS_CHANGED = WM_USER + 144;
// The user's own status changed; the window handler passes it on to the messenger windows.
inline constexpr MessageId UM_OWN_STATUS_CHANGED = WM_USER + 145;
// One number, two receivers: the buddy window ends on it; the server frame, which has no
// buddy window to end, reads it as "another client took the session" and says so.
inline constexpr MessageId UM_QUIT_BUDDY_WINDOW = WM_USER + 151;
inline constexpr MessageId UM_STOP_IM_RECEIVER = WM_USER + 155;

inline constexpr MessageId UM_USER_ACTIVITY = WM_APP + 500;
// One number, two receivers: the buddy window refreshes its buddy list; the window-handler
// frame, which has no list, reads it as "an update is ready: start the updater".
inline constexpr MessageId UM_REFRESH_BUDDIES = WM_APP + 666;
inline constexpr MessageId UM_REFRESH_FOLDERS = WM_APP + 667;
// To the window-handler frame: the server connection is gone, so a running self-update ends
// as its Cancel does.
inline constexpr MessageId UM_CLOSE_UPDATER = WM_APP + 820;
inline constexpr MessageId UM_OTHER_ACCOUNT = WM_APP + 668;
// To the buddy window: read "AlwaysOnTop" again and be topmost or not, in place.
inline constexpr MessageId UM_TOPMOST_CHANGED = WM_APP + 669;
inline constexpr MessageId UM_SHOW_MAIN_WINDOW = WM_APP + 670;
// From the event receiver to the window handler, with the parsed record as payload: an
// incoming message, and a file offered to the user.
inline constexpr MessageId UM_DELIVER_IM = WM_APP + 710;
inline constexpr MessageId UM_INCOMING_FILE = WM_APP + 711;

// Frame-to-frame requests the desktop version made by other means (closing a dialog, a
// direct call): numbers of our own, above the fixed ones.
inline constexpr MessageId UM_CLOSE_DISCONNECT = WM_APP + 760;     // note frame
inline constexpr MessageId UM_CLOSE_CONVERSATIONS = WM_APP + 761;  // window-handler frame
// To the window-handler frame: open or raise a conversation. Payload: the buddy's address
// (std::string); none starts a group conversation whose participants are chosen in it.
inline constexpr MessageId UM_START_CONVERSATION = WM_APP + 700;
// From the server frame to the options window: the user list asked for with UM_GET_USER_LIST
// was read (or could not be), so a page waiting for it can fill itself.
inline constexpr MessageId UM_USER_LIST_READY = WM_APP + 790;

// To the server frame from the desktop's signals: the network is reachable again, and the
// machine woke from suspend.
inline constexpr MessageId UM_NETWORK_UP = WM_APP + 870;
inline constexpr MessageId UM_RESUMED = WM_APP + 871;

// Hand-over kinds carried by WM_COPYDATA.
inline constexpr std::uint32_t COPYDATA_MAILTO = 1;
// Ours: open a conversation with the address carried.
inline constexpr std::uint32_t COPYDATA_CONVERSATION = 2;

// Activity reports carried by UM_USER_ACTIVITY.
inline constexpr int ACTIVITY_IDLE = 0;
inline constexpr int ACTIVITY_ACTIVE = 1;

}  // namespace vellix
