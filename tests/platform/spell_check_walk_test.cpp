#include "platform/spell_check_walk.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_spell_checker.h"

namespace vellix {
namespace {

// Each step is "<word the walk stops at>/<answer>"; answers: "r:<text>" replace, "i" ignore,
// "a" ignore all, "+" add, "c" cancel.
TEST(SpellCheckWalk, AnswersDriveTheWalk) {
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::string> steps;
        std::string finalText;
        int result;
    } cases[] = {
        {"nothing misspelled", "the cat sat", {}, "the cat sat", 0},
        {"empty text", "", {}, "", 0},
        {"keeps the rest", "cta sat, teh mat", {"cta/r:cat", "teh/r:the"}, "cat sat, the mat", 2},
        {"longer text shifts offsets", "teh teh", {"teh/r:thethe", "teh/r:x"}, "thethe x", 2},
        {"replacement is not checked again", "teh cat", {"teh/r:zzz"}, "zzz cat", 1},
        {"ignore stops at the next occurrence", "teh teh", {"teh/i", "teh/i"}, "teh teh", 2},
        {"ignore all skips later occurrences", "teh cta teh", {"teh/a", "cta/i"}, "teh cta teh", 2},
        {"add accepts later occurrences", "zork the zork", {"zork/+"}, "zork the zork", 1},
        {"cancel at first stop", "teh cta", {"teh/c"}, "teh cta", -1},
        {"cancel keeps earlier replacements", "teh cta", {"teh/r:the", "cta/c"}, "the cta", -1},
        {"replace with the same word is no change", "teh", {"teh/r:teh"}, "teh", 1},
        {"multibyte words", "caf\xC3\xA9 the", {"caf\xC3\xA9/r:coffee"}, "coffee the", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::FakeSpellChecker checker;
        SpellCheckWalk walk(checker, c.text);
        int ignoresAll = 0, adds = 0;
        for (const auto& step : c.steps) {
            const std::string stop = step.substr(0, step.find('/'));
            const std::string answer = step.substr(stop.size() + 1);
            ASSERT_FALSE(walk.ended()) << "walk ended before " << step;
            const auto& current = *walk.current();
            EXPECT_EQ(current.word, stop);
            EXPECT_EQ(walk.text().substr(current.offset, current.length), current.word);
            if (answer.starts_with("r:")) {
                walk.replace(answer.substr(2));
            } else if (answer == "i") {
                walk.ignore();
            } else if (answer == "a") {
                walk.ignoreAll();
                ++ignoresAll;
            } else if (answer == "+") {
                ASSERT_TRUE(walk.add().ok());
                ++adds;
            } else {
                walk.cancel();
            }
        }
        EXPECT_TRUE(walk.ended());
        EXPECT_EQ(walk.text(), c.finalText);
        EXPECT_EQ(walk.changed(), c.finalText != c.text);
        EXPECT_EQ(walk.result(), c.result);
        // Ignore All and Add reach the engine, which remembers them past this check.
        EXPECT_EQ(checker.ignoredAll.size(), static_cast<std::size_t>(ignoresAll));
        EXPECT_EQ(checker.added.size(), static_cast<std::size_t>(adds));
    }
}

TEST(SpellCheckWalk, FailedAddStaysOnTheWord) {
    test::FakeSpellChecker checker;
    checker.failAdd = true;
    SpellCheckWalk walk(checker, "zork the");
    auto added = walk.add();
    ASSERT_FALSE(added.ok());
    EXPECT_EQ(added.error(), "disk full");
    ASSERT_FALSE(walk.ended());
    EXPECT_EQ(walk.current()->word, "zork");
}

}  // namespace
}  // namespace vellix
