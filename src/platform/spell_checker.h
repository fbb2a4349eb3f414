#pragma once
// What the check walk and the check dialog need of a spelling engine. Words are UTF-8.

#include <string>
#include <string_view>
#include <vector>

#include "core/result.h"

namespace vellix {

class SpellChecker {
  public:
    virtual ~SpellChecker() = default;

    virtual bool isCorrect(std::string_view word) = 0;
    virtual std::vector<std::string> suggestions(std::string_view word) = 0;
    // Accept the word from now on, for the rest of this run only.
    virtual void ignoreAll(std::string_view word) = 0;
    // Accept the word for good: it goes into the user dictionary.
    virtual Status addWord(std::string_view word) = 0;
};

}  // namespace vellix
