#include "platform/word_scanner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vellix {
namespace {

std::vector<std::string> wordsOf(const std::string& text, ScanOptions options = {}) {
    std::vector<std::string> out;
    for (const auto& range : scanWords(text, options)) {
        out.push_back(text.substr(range.offset, range.length));
    }
    return out;
}

TEST(WordScanner, FindsTheWordsToCheck) {
    struct Case {
        std::string text;
        std::vector<std::string> words;
    };
    const Case cases[] = {
        {"", {}},
        {"   \n\t", {}},
        {"Hello, world!", {"Hello", "world"}},
        {"don't 'quoted' it's", {"don't", "quoted", "it's"}},
        {"rock'n'roll", {"rock'n'roll"}},
        {"it\xE2\x80\x99s", {"it\xE2\x80\x99s"}},  // typographic apostrophe
        {"trailing' 'leading", {"trailing", "leading"}},
        {"abc123 x2 2x 42 snake_case ok", {"ok"}},  // digits, underscores skipped
        {"mail bob@example.com or http://x.org/page www.x.org now", {"mail", "or", "now"}},
        {"NASA and HTTP rock", {"and", "rock"}},  // acronyms skipped
        {"caf\xC3\xA9 na\xC3\xAFve", {"caf\xC3\xA9", "na\xC3\xAFve"}},
        {"\xD0\xBF\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 ok",
         {"\xD0\xBF\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82", "ok"}},
        {"\xE4\xBD\xA0\xE5\xA5\xBD hello", {"hello"}},  // CJK not split into words
        {"semi;colon/slash-dash", {"semi", "colon", "slash", "dash"}},
        {"bad\xFF"
         "byte",
         {"bad", "byte"}},     // invalid UTF-8 separates
        {"cut\xC3", {"cut"}},  // truncated sequence at the end
        {"2\xC3\x97"
         "3 a\xC3\xB7"
         "b",
         {"a", "b"}},  // multiplication and division signs
    };
    // The words are cut out at the ranges found: a wrong byte offset shows as a wrong word.
    for (const auto& c : cases) EXPECT_EQ(wordsOf(c.text), c.words) << c.text;
}

}  // namespace
}  // namespace vellix
