#pragma once
// Every section, key and default of Vellix.ini, the account's settings.tmp and
// contacts.ini, with typed readers. Keys of the same name in different files are separate
// constants because their defaults differ.

#include <string>
#include <string_view>

#include "core/profile_file.h"

namespace vellix {

struct TextKey {
    std::string_view section;
    std::string_view name;
    std::string_view fallback = {};
};
struct IntKey {
    std::string_view section;
    std::string_view name;
    int fallback = 0;
};
struct BoolKey {
    std::string_view section;
    std::string_view name;
    bool fallback = false;
};

inline std::string readKey(const ProfileFile& file, const TextKey& key) {
    return file.readText(key.section, key.name, key.fallback);
}
inline int readKey(const ProfileFile& file, const IntKey& key) {
    return file.readInt(key.section, key.name, key.fallback);
}
inline bool readKey(const ProfileFile& file, const BoolKey& key) {
    return file.readBool(key.section, key.name, key.fallback);
}
inline std::string readKey(const ProfileDocument& doc, const TextKey& key) {
    return doc.find(key.section, key.name).value_or(std::string(key.fallback));
}
inline int readKey(const ProfileDocument& doc, const IntKey& key) {
    const auto value = doc.find(key.section, key.name);
    return value ? parseProfileInt(*value, key.fallback) : key.fallback;
}
inline bool readKey(const ProfileDocument& doc, const BoolKey& key) {
    const auto value = doc.find(key.section, key.name);
    return value ? parseProfileBool(*value) : key.fallback;
}

inline constexpr std::string_view kSectionVellix = "Vellix";
inline constexpr std::string_view kSectionVellixWindow = "VellixWindow";
inline constexpr std::string_view kSectionMessengerWindow = "MessengerWindow";
inline constexpr std::string_view kSectionEvents = "Events";
inline constexpr std::string_view kSectionLdap = "LDAP";

inline constexpr std::string_view kIniFileName = "Vellix.ini";
inline constexpr std::string_view kAccountSettingsFileName = "settings.tmp";
inline constexpr std::string_view kContactsFileName = "contacts.ini";
inline constexpr std::string_view kContactFoldersFileName = "confolder.dat";
inline constexpr std::string_view kUserLexFolderName = "lex";

// Written by the login dialog for "PwdSaveFlag%d"; read back by the boolean rule.
inline constexpr std::string_view kRememberYes = "YES";
inline constexpr std::string_view kRememberNo = "NO";
inline constexpr int kAccountSlots = 5;

namespace ini {  // Vellix.ini
inline constexpr TextKey kUrl{kSectionVellix, "URL"};
inline constexpr IntKey kLastEntry{kSectionVellix, "LastEntry", 0};
inline constexpr IntKey kLastUser{kSectionVellix, "LastUser", 0};
inline constexpr IntKey kConnectionType{kSectionVellix, "ConnectionType", 0};
inline constexpr TextKey kProxyServer{kSectionVellix, "ProxyServer"};
inline constexpr IntKey kProxyPort{kSectionVellix, "ProxyPort", 80};
inline constexpr TextKey kMailClient{kSectionVellix, "MailClient"};
// The browser's command line; "%1" stands for the address, else it is appended. Empty
// leaves the choice to the desktop.
inline constexpr TextKey kBrowserCommand{kSectionVellix, "BrowserCommand"};
// Whether the desktop starts Vellix when the user logs in.
inline constexpr BoolKey kStartOnLogin{kSectionVellix, "StartOnLogin", false};
inline constexpr BoolKey kSuppressEndProgram{kSectionVellix, "SuppressEndProgram", false};
inline constexpr BoolKey kShowBuddyList{kSectionVellix, "ShowBuddyList", true};
inline constexpr BoolKey kSendOnEnter{kSectionVellix, "SendOnEnter", false};
// Full path of the fax client program; the tray menu offers it only when the file exists.
inline constexpr TextKey kFaxClient{kSectionVellix, "FaxClient"};
// The single-account form of older versions, converted on load.
inline constexpr TextKey kOldUser{kSectionVellix, "User"};
inline constexpr TextKey kOldPassword{kSectionVellix, "Password"};
inline constexpr BoolKey kOldPwdSaveFlag{kSectionVellix, "PwdSaveFlag", false};

// "User%d", "Password%d", "PwdSaveFlag%d" for slots 1..5: text, encoded text, boolean
// defaulting to No.
std::string userKeyName(int slot);
std::string passwordKeyName(int slot);
std::string pwdSaveFlagKeyName(int slot);

// The start-up reads a missing "ShowOnStart" as No, the options page shows it as Yes.
inline constexpr BoolKey kShowOnStart{kSectionVellixWindow, "ShowOnStart", false};
inline constexpr BoolKey kShowOnStartOptions{kSectionVellixWindow, "ShowOnStart", true};
inline constexpr BoolKey kBuddyAlwaysOnTop{kSectionVellixWindow, "AlwaysOnTop", false};
inline constexpr IntKey kBuddyWindowLeft{kSectionVellixWindow, "WindowLeft", 0};
inline constexpr IntKey kBuddyWindowRight{kSectionVellixWindow, "WindowRight", 0};
inline constexpr IntKey kBuddyWindowTop{kSectionVellixWindow, "WindowTop", 0};
inline constexpr IntKey kBuddyWindowBottom{kSectionVellixWindow, "WindowBottom", 0};
inline constexpr BoolKey kBuddyIsMaximized{kSectionVellixWindow, "IsMaximized", false};

inline constexpr BoolKey kMessengerAlwaysOnTop{kSectionMessengerWindow, "AlwaysOnTop", false};
inline constexpr IntKey kMessengerWindowLeft{kSectionMessengerWindow, "WindowLeft", 0};
inline constexpr IntKey kMessengerWindowRight{kSectionMessengerWindow, "WindowRight", 0};
inline constexpr IntKey kMessengerWindowTop{kSectionMessengerWindow, "WindowTop", 0};
inline constexpr IntKey kMessengerWindowBottom{kSectionMessengerWindow, "WindowBottom", 0};
inline constexpr BoolKey kMessengerIsMaximized{kSectionMessengerWindow, "IsMaximized", false};
inline constexpr IntKey kInputWindowHeight{kSectionMessengerWindow, "InputWindowHeight", 70};

inline constexpr BoolKey kBlinkOnIMBuddyOnline{kSectionEvents, "BlinkOnIMBuddyOnline", true};
inline constexpr IntKey kToolIconDblClick{kSectionEvents, "ToolIconDblClick", 0};
}  // namespace ini

namespace account {  // settings.tmp
inline constexpr IntKey kInterval{kSectionVellix, "Interval", 5};
inline constexpr IntKey kAutoOffline{kSectionVellix, "AutoOffline", 10};
inline constexpr IntKey kFolderInMenu{kSectionVellix, "FolderInMenu", 10};
inline constexpr TextKey kTipFolder{kSectionVellix, "TipFolder"};
inline constexpr BoolKey kOpenInNewBrowser{kSectionVellix, "OpenInNewBrowser", true};
inline constexpr BoolKey kHideOfflineBuddies{kSectionVellix, "HideOfflineBuddies", false};
inline constexpr BoolKey kLogChatSessions{kSectionVellix, "LogChatSessions", true};
inline constexpr BoolKey kAutoSpellCheck{kSectionVellix, "AutoSpellCheck", false};
inline constexpr BoolKey kPlaySounds{kSectionVellix, "PlaySounds", true};
inline constexpr TextKey kNewMailWaveFile{kSectionVellix, "NewMailWaveFile"};
inline constexpr TextKey kNewIMWaveFile{kSectionVellix, "NewIMWaveFile"};
inline constexpr TextKey kIMSent{kSectionVellix, "IMSent"};
inline constexpr TextKey kIMBuddyOnline{kSectionVellix, "IMBuddyOnline"};
inline constexpr TextKey kIMIncomingFile{kSectionVellix, "IMIncomingFile"};
// Colours are COLORREF values (0x00BBGGRR) in decimal.
inline constexpr IntKey kBkgrndColor{kSectionVellix, "BkgrndColor", 16777088};
// The window-text colour of the default palette: black.
inline constexpr IntKey kTextColor{kSectionVellix, "TextColor", 0};
inline constexpr int kCustomColorCount = 16;
inline constexpr int kCustomColorDefault = 16777215;
inline constexpr BoolKey kDefaultBlinkIcon{kSectionVellix, "DefaultBlinkIcon", true};
inline constexpr BoolKey kDefaultPlaySound{kSectionVellix, "DefaultPlaySound", true};
inline constexpr BoolKey kDefaultShowNotice{kSectionVellix, "DefaultShowNotice", false};
inline constexpr BoolKey kDefaultOpenMessage{kSectionVellix, "DefaultOpenMessage", false};
inline constexpr BoolKey kDefaultInMenu{kSectionVellix, "DefaultInMenu", true};
inline constexpr BoolKey kDefaultInWindow{kSectionVellix, "DefaultInWindow", true};
// Ours: also announce freshly arrived mail as a desktop notification.
inline constexpr BoolKey kNewMailDesktopNotice{kSectionVellix, "NewMailDesktopNotice", false};
// Ours: announce a message whose conversation window is not focused.
inline constexpr BoolKey kNewIMDesktopNotice{kSectionVellix, "NewIMDesktopNotice", false};
inline constexpr TextKey kVersion{kSectionVellix, "Version"};
inline constexpr int kFolderRuleDefault = 2;

// "CustomColor1".."CustomColor16", default kCustomColorDefault.
std::string customColorKeyName(int index);
// "Entry%d:" + field: "Name" (text; an empty name ends the list) or one of the kRule*
// suffixes (integer, default kFolderRuleDefault).
std::string entryKeyName(int entry, std::string_view field);
inline constexpr std::string_view kEntryName = "Name";
inline constexpr std::string_view kRuleBlinkIcon = "BlinkIcon";
inline constexpr std::string_view kRulePlaySound = "PlaySound";
inline constexpr std::string_view kRuleShowNotice = "ShowNotice";
inline constexpr std::string_view kRuleOpenMessage = "OpenMessage";
inline constexpr std::string_view kRuleInMenu = "InMenu";
inline constexpr std::string_view kRuleInWindow = "InWindow";

// Poll interval in minutes; below 1 reads as 5.
int readPollInterval(const ProfileFile& file);
int readPollInterval(const ProfileDocument& doc);
}  // namespace account

namespace contacts {  // contacts.ini
inline constexpr BoolKey kEnableSync{kSectionLdap, "EnableSync", false};
inline constexpr IntKey kSyncInterval{kSectionLdap, "SyncInterval", 30};
inline constexpr BoolKey kSyncPublic{kSectionLdap, "SyncPublic", true};
inline constexpr BoolKey kSyncPrivate{kSectionLdap, "SyncPrivate", true};
inline constexpr TextKey kPublicFolder{kSectionLdap, "PublicFolder"};
inline constexpr TextKey kPrivateFolder{kSectionLdap, "PrivateFolder"};
inline constexpr TextKey kSynchWith{kSectionVellix, "SynchWith", "WAB"};
// The default-mail-client check of the options reads a missing value as "MAPI".
inline constexpr TextKey kSynchWithMailClientCheck{kSectionVellix, "SynchWith", "MAPI"};
inline constexpr BoolKey kUseDefaultFileAsName{kSectionVellix, "UseDefaultFileAsName", false};

// Synchronization period in minutes; below 1 reads as 30.
int readSyncInterval(const ProfileFile& file);
}  // namespace contacts

}  // namespace vellix
