#pragma once
// One spelling check of a text: stops at each misspelled word in turn and applies the
// user's answer (replace, ignore, ignore all, add). The check dialog is a thin view on it.

#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/result.h"
#include "platform/spell_checker.h"
#include "platform/word_scanner.h"

namespace vellix {

struct Misspelling {
    std::size_t offset = 0;  // bytes into text()
    std::size_t length = 0;
    std::string word;
    std::vector<std::string> suggestions;
};

class SpellCheckWalk {
  public:
    SpellCheckWalk(SpellChecker& checker, std::string text, ScanOptions options = {});

    // The word to answer for; empty once the walk has ended (finished or cancelled).
    const std::optional<Misspelling>& current() const { return current_; }
    bool ended() const { return !current_.has_value(); }

    void replace(const std::string& replacement);  // continues after the replacement
    void ignore();                                 // this occurrence only
    void ignoreAll();                              // every occurrence, for the rest of the run
    Status add();  // into the user dictionary; on failure the walk stays on the word
    void cancel();

    const std::string& text() const { return text_; }
    bool changed() const { return changed_; }
    // Negative when cancelled; otherwise the number of misspelled words met.
    int result() const { return cancelled_ ? -1 : stops_; }

  private:
    void advance(std::size_t from);

    SpellChecker& checker_;
    std::string text_;
    ScanOptions options_;
    std::optional<Misspelling> current_;
    std::set<std::string, std::less<>> ignored_;
    int stops_ = 0;
    bool cancelled_ = false;
    bool changed_ = false;
};

}  // namespace vellix
