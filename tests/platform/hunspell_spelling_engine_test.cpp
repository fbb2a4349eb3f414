#include "platform/hunspell_spelling_engine.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>

#include "support/temp_folder.h"

namespace vellix {
namespace {

using test::readFile;
using test::writeFile;

constexpr const char* kSystemFolder = "/usr/share/hunspell";

bool haveEnglish() {
    return QFile::exists(QStringLiteral("/usr/share/hunspell/en_US.dic"));
}

// An engine on the system's en_US dictionary with a user dictionary in `dir`.
std::unique_ptr<HunspellSpellingEngine> englishEngine(const test::TempFolder& dir) {
    auto engine = std::make_unique<HunspellSpellingEngine>(
        HunspellConfig{.systemFolders = {kSystemFolder}, .language = "en_US"});
    engine->setUserLexFiles("userdic.tlx");
    engine->setUserLexPath(dir.path());
    return engine;
}

std::vector<std::string> misspelledWords(HunspellSpellingEngine& engine, const std::string& text) {
    std::vector<std::string> out;
    for (const auto& r : engine.misspelled(text)) out.push_back(text.substr(r.offset, r.length));
    return out;
}

TEST(HunspellSpellingEngine, WithoutDictionariesEveryWordPassesAndNothingCanBeAdded) {
    test::TempFolder dir;
    HunspellSpellingEngine engine(
        HunspellConfig{.systemFolders = {dir.path()}, .language = "xx_YY"});
    auto ready = engine.ready();
    ASSERT_FALSE(ready.ok());
    EXPECT_NE(ready.error().find("xx_YY"), std::string::npos);
    EXPECT_TRUE(engine.isCorrect("qwzxv"));
    EXPECT_TRUE(engine.misspelled("qwzxv blorft").empty());
    EXPECT_TRUE(engine.suggestions("qwzxv").empty());
    EXPECT_EQ(engine.dictionaryPath(), "");

    auto added = engine.addWord("Tolvern");
    ASSERT_FALSE(added.ok());
    EXPECT_NE(added.error().find("no user dictionary"), std::string::npos);
    engine.setUserLexFiles(" first.tlx , second.tlx");
    EXPECT_EQ(engine.userDictionaryPath(), "");  // no folder yet
    engine.setUserLexPath("/home/u/Vellix/u@x/lex");
    EXPECT_EQ(engine.userDictionaryPath(), "/home/u/Vellix/u@x/lex/first.tlx");
}

TEST(HunspellSpellingEngine, ChecksWithTheSystemDictionary) {
    if (!haveEnglish()) GTEST_SKIP() << "hunspell-en-us is not installed";
    test::TempFolder dir;
    auto engine = englishEngine(dir);
    ASSERT_TRUE(engine->ready().ok());
    EXPECT_EQ(engine->dictionaryPath(), "/usr/share/hunspell/en_US.dic");

    EXPECT_EQ(misspelledWords(*engine, "The quick brwn fox jumpd over the lazy dog."),
              (std::vector<std::string>{"brwn", "jumpd"}));
    EXPECT_TRUE(misspelledWords(*engine, "Don't worry, it's fine.").empty());
    EXPECT_TRUE(
        misspelledWords(*engine, "NASA v2 bob@example.com \xE4\xBD\xA0\xE5\xA5\xBD").empty());
    const auto suggestions = engine->suggestions("recieve");
    EXPECT_NE(std::ranges::find(suggestions, "receive"), suggestions.end());
}

TEST(HunspellSpellingEngine, UserWordsAddRemoveAndIgnore) {
    if (!haveEnglish()) GTEST_SKIP() << "hunspell-en-us is not installed";
    test::TempFolder dir;
    const std::string file = dir.file("userdic.tlx");
    writeFile(file, "#LID 24941\nSkyloom\ti\nOrvith\tc\n");
    auto engine = englishEngine(dir);
    EXPECT_EQ(misspelledWords(*engine, "Skyloom Orvith Tolvern"),
              (std::vector<std::string>{"Orvith", "Tolvern"}));
    auto words = engine->userWords();
    ASSERT_TRUE(words.ok());
    EXPECT_EQ(*words, std::vector<std::string>{"Skyloom"});

    ASSERT_TRUE(engine->addWord("Tolvern").ok());
    EXPECT_TRUE(engine->isCorrect("Tolvern"));
    EXPECT_EQ(readFile(file), "#LID 24941\nSkyloom\ti\nOrvith\tc\nTolvern\ti\n");

    // A fresh engine reads the word back from the file.
    auto second = englishEngine(dir);
    EXPECT_TRUE(second->isCorrect("Tolvern"));

    ASSERT_TRUE(engine->removeWord("Tolvern").ok());
    EXPECT_FALSE(engine->isCorrect("Tolvern"));
    // Removing a user word never hides the main dictionary's own entry.
    ASSERT_TRUE(engine->addWord("house").ok());
    ASSERT_TRUE(engine->removeWord("house").ok());
    EXPECT_TRUE(engine->isCorrect("house"));

    engine->ignoreAll("Zyxt");
    EXPECT_TRUE(engine->isCorrect("Zyxt"));
    EXPECT_FALSE(second->isCorrect("Zyxt"));  // only for this engine's run

    EXPECT_FALSE(engine->addWord("two\tparts").ok());
    EXPECT_FALSE(engine->addWord("").ok());
    EXPECT_EQ(readFile(file), "#LID 24941\nSkyloom\ti\nOrvith\tc\n");
}

TEST(HunspellSpellingEngine, ProgramLexFolderAndLegacyCharacterSets) {
    // A dictionary in the program's lex folder wins over the system one; this one is in
    // ISO 8859-1 and knows "café" and "hello" only.
    test::TempFolder lex;
    writeFile(lex.file("en_US.aff"),
              "SET ISO8859-1\nTRY esianrtolcdugmphbyfvkwzESIANRTOLCDUGMPHBYFVKWZ\n");
    writeFile(lex.file("en_US.dic"), "2\ncaf\xE9\nhello\n");
    HunspellSpellingEngine engine(
        HunspellConfig{.systemFolders = {kSystemFolder}, .language = "en_US"});
    engine.setMainLexPath(lex.path());
    ASSERT_TRUE(engine.ready().ok());
    EXPECT_EQ(engine.dictionaryPath(), lex.file("en_US.dic"));
    EXPECT_TRUE(engine.isCorrect("caf\xC3\xA9"));
    EXPECT_TRUE(engine.isCorrect("hello"));
    EXPECT_FALSE(engine.isCorrect("house"));
    const auto suggestions = engine.suggestions("caff\xC3\xA9");
    EXPECT_NE(std::ranges::find(suggestions, "caf\xC3\xA9"), suggestions.end());
    // A word the character set cannot hold is not judged.
    EXPECT_TRUE(engine.isCorrect("\xD0\xBF\xD1\x80\xD0\xB8"));

    const auto languages = engine.availableLanguages();
    EXPECT_NE(std::ranges::find(languages, "en_US"), languages.end());
}

}  // namespace
}  // namespace vellix
