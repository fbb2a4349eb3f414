#pragma once
// A spell checker that knows a fixed word list; suggestions are the word's known
// neighbours in a table.

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/spell_checker.h"

namespace vellix::test {

class FakeSpellChecker final : public SpellChecker {
  public:
    std::set<std::string, std::less<>> known = {"the", "cat", "sat", "on", "mat", "a", "hello"};
    std::map<std::string, std::vector<std::string>, std::less<>> suggest = {{"teh", {"the", "ten"}},
                                                                            {"cta", {"cat"}}};
    std::vector<std::string> ignoredAll;
    std::vector<std::string> added;
    bool failAdd = false;

    bool isCorrect(std::string_view word) override { return known.contains(word); }
    std::vector<std::string> suggestions(std::string_view word) override {
        auto it = suggest.find(word);
        return it == suggest.end() ? std::vector<std::string>{} : it->second;
    }
    void ignoreAll(std::string_view word) override { ignoredAll.emplace_back(word); }
    Status addWord(std::string_view word) override {
        if (failAdd) return failure("disk full");
        added.emplace_back(word);
        known.emplace(word);
        return success();
    }
};

}  // namespace vellix::test
