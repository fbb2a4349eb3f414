#pragma once
// The spelling engine on Hunspell: system dictionaries (or .aff/.dic pairs in the program's
// lex folder), the user dictionary file in the account's lex folder, and words ignored for
// the rest of the run. Safe to call from several threads: start-up and login configure it,
// the windows check with it.

#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/result.h"
#include "core/spelling_engine.h"
#include "platform/spell_checker.h"
#include "platform/word_scanner.h"

class Hunspell;

namespace vellix {

struct HunspellConfig {
    // Searched in order for "<language>.aff" and "<language>.dic".
    std::vector<std::string> systemFolders = {"/usr/share/hunspell", "/usr/share/myspell/dicts",
                                              "/usr/share/myspell"};
    // Empty: the locale's ("de_DE" from LC_ALL, LC_MESSAGES or LANG); en_US as the fallback.
    std::string language;
};

class HunspellSpellingEngine final : public SpellingEngine, public SpellChecker {
  public:
    explicit HunspellSpellingEngine(HunspellConfig config = {});
    ~HunspellSpellingEngine() override;
    HunspellSpellingEngine(const HunspellSpellingEngine&) = delete;
    HunspellSpellingEngine& operator=(const HunspellSpellingEngine&) = delete;

    // SpellingEngine
    void setRegTreeName(const std::string& name) override;
    void setHelpFile(const std::string& path) override;
    void setMainLexPath(const std::string& folder) override;
    std::string mainLexFiles() const override;
    void setMainLexFiles(const std::string& files) override;
    std::string userLexFiles() const override;
    void setUserLexFiles(const std::string& files) override;
    void setUserLexPath(const std::string& folder) override;

    std::string regTreeName() const;
    std::string helpFile() const;
    std::string mainLexPath() const;
    std::string userLexPath() const;

    // SpellChecker; with no dictionary loaded every word counts as correct.
    bool isCorrect(std::string_view word) override;
    std::vector<std::string> suggestions(std::string_view word) override;
    void ignoreAll(std::string_view word) override;
    Status addWord(std::string_view word) override;

    // Loads the dictionaries when the configuration changed; says why when none is found.
    Status ready();
    // The .dic file in use, empty before ready() succeeded.
    std::string dictionaryPath();
    // The language wanted (empty: the locale's) and the ones installed.
    std::string language() const;
    void setLanguage(std::string language);
    std::vector<std::string> availableLanguages() const;
    ScanOptions scanOptions() const;
    void setScanOptions(ScanOptions options);

    // Misspelled words of a UTF-8 text.
    std::vector<WordRange> misspelled(std::string_view text);

    // User lex folder + "/" + the first name of the user lex file list; empty when either
    // is not configured.
    std::string userDictionaryPath() const;
    Result<std::vector<std::string>> userWords() const;
    Status removeWord(std::string_view word);

  private:
    Status loadLocked();
    bool isCorrectLocked(std::string_view word);
    std::string userDictionaryPathLocked() const;
    std::string toDictionary(std::string_view utf8) const;
    std::string fromDictionary(const std::string& text) const;

    HunspellConfig config_;
    ScanOptions scanOptions_;
    mutable std::mutex mutex_;
    std::string regTreeName_, helpFile_, mainLexPath_, mainLexFiles_, userLexFiles_, userLexPath_;
    std::set<std::string, std::less<>> ignored_;
    std::unique_ptr<Hunspell> hunspell_;
    std::string dictionaryPath_;
    std::string encoding_;
    bool stale_ = true;
};

// "de_DE.UTF-8@euro" -> "de_DE"; "C", "POSIX" and "" -> "".
std::string dictionaryLanguageFromLocale(std::string_view locale);

}  // namespace vellix
