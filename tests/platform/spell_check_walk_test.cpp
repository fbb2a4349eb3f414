#include "platform/spell_check_walk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fake_spell_checker.h"

namespace vellix {
namespace {

// One answer per stop: "r:<text>" replace, "i" ignore, "a" ignore all, "+" add, "c" cancel.
struct Case {
    const char* name;
    std::string text;
    std::vector<std::string> answers;
    std::vector<std::string> stops;  // the words the walk stopped at, in order
    std::string finalText;
    int result;
};

TEST(SpellCheckWalk, AnswersDriveTheWalk) {
    const Case cases[] = {
        {"nothing misspelled", "the cat sat", {}, {}, "the cat sat", 0},
        {"empty text", "", {}, {}, "", 0},
        {"replace one", "teh cat", {"r:the"}, {"teh"}, "the cat", 1},
        {"replace keeps the rest",
         "the cta sat, teh mat",
         {"r:cat", "r:the"},
         {"cta", "teh"},
         "the cat sat, the mat",
         2},
        {"longer replacement shifts offsets",
         "teh teh",
         {"r:thethe", "r:x"},
         {"teh", "teh"},
         "thethe x",
         2},
        {"replacement is not checked again", "teh cat", {"r:zzz"}, {"teh"}, "zzz cat", 1},
        {"ignore stops at the next occurrence",
         "teh teh",
         {"i", "i"},
         {"teh", "teh"},
         "teh teh",
         2},
        {"ignore all skips later occurrences",
         "teh cta teh",
         {"a", "i"},
         {"teh", "cta"},
         "teh cta teh",
         2},
        {"add accepts later occurrences", "zork the zork", {"+"}, {"zork"}, "zork the zork", 1},
        {"cancel at first stop", "teh cta", {"c"}, {"teh"}, "teh cta", -1},
        {"cancel keeps earlier replacements",
         "teh cta",
         {"r:the", "c"},
         {"teh", "cta"},
         "the cta",
         -1},
        {"replace with the same word is no change", "teh", {"r:teh"}, {"teh"}, "teh", 1},
        {"multibyte words", "caf\xC3\xA9 the", {"r:coffee"}, {"caf\xC3\xA9"}, "coffee the", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::FakeSpellChecker checker;
        SpellCheckWalk walk(checker, c.text);
        std::vector<std::string> stops;
        for (const auto& answer : c.answers) {
            ASSERT_FALSE(walk.ended()) << "walk ended before answer " << answer;
            const auto& current = *walk.current();
            EXPECT_EQ(walk.text().substr(current.offset, current.length), current.word);
            stops.push_back(current.word);
            if (answer.starts_with("r:")) {
                walk.replace(answer.substr(2));
            } else if (answer == "i") {
                walk.ignore();
            } else if (answer == "a") {
                walk.ignoreAll();
            } else if (answer == "+") {
                ASSERT_TRUE(walk.add().ok());
            } else {
                walk.cancel();
            }
        }
        EXPECT_TRUE(walk.ended());
        EXPECT_EQ(stops, c.stops);
        EXPECT_EQ(walk.text(), c.finalText);
        EXPECT_EQ(walk.changed(), c.finalText != c.text);
        EXPECT_EQ(walk.result(), c.result);
        // Ignore All and Add reach the engine, which remembers them past this check.
        EXPECT_EQ(checker.ignoredAll.size(), std::ranges::count(c.answers, "a"));
        EXPECT_EQ(checker.added.size(), std::ranges::count(c.answers, "+"));
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
