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
