#pragma once
// User-visible texts by their fixed resource number, in English and Simplified Chinese.
// Protocol words ("Online", "Away"...) are never translated; the status helpers map
// between them and the words the user sees.

#include <string>
#include <string_view>
#include <vector>

namespace vellix {

enum class Language { English, Chinese };

// Status words.
inline constexpr int IDS_STATUS_ONLINE = 32782;
inline constexpr int IDS_STATUS_OFFLINE = 32783;
inline constexpr int IDS_STATUS_AWAY = 32790;
inline constexpr int IDS_STATUS_INVISIBLE = 32791;

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
