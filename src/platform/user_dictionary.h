#pragma once
// The user dictionary file: a "#LID 24941" line, then one "word<TAB>i" line per accepted
// word. Lines of any other shape are kept as they are but not used, so that editing the
// word list never drops what another program wrote there.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/result.h"

namespace vellix {

class UserDictionary {
  public:
    static constexpr std::string_view kHeader = "#LID 24941";

    static UserDictionary parse(std::string_view text);

    // Accepted words, in file order, without duplicates.
    std::vector<std::string> words() const;
    bool contains(std::string_view word) const;
    // False when the word is already there.
    bool add(std::string_view word);
    // False when the word was not there.
    bool remove(std::string_view word);
    // The whole file; a new file starts with the header line.
    std::string text() const;

    // The line that accepts `word`, or an error when the word cannot be stored (empty,
    // or holding a tab or line break).
    static Result<std::string> entryLine(std::string_view word);

  private:
    struct Line {
        std::string raw;
        std::optional<std::string> word;  // set for accepted-word lines
    };
    std::vector<Line> lines_;
};

// A missing file reads as an empty dictionary.
Result<UserDictionary> loadUserDictionary(const std::string& path);
// Writes a temporary file beside `path` and renames it over, so a crash leaves either the
// old or the new list.
Status saveUserDictionary(const std::string& path, const UserDictionary& dictionary);
// Adds one entry at the end of the file (created with its header when missing).
Status appendUserWord(const std::string& path, std::string_view word);

}  // namespace vellix
