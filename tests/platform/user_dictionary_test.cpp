#include "platform/user_dictionary.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace vellix {
namespace {

using test::readFile;
using test::writeFile;

const std::string kSeeded =
    "#LID 24941\nBrisgate\ti\nVellix\ti\nOrvith\ti\nHarbane\ti\nTolvern\ti\nSkyloom\ti\n";

TEST(UserDictionary, ParsesAcceptedWordsAndSkipsOtherLines) {
    struct Case {
        std::string text;
        std::vector<std::string> words;
    };
    const Case cases[] = {
        {kSeeded, {"Brisgate", "Vellix", "Orvith", "Harbane", "Tolvern", "Skyloom"}},
        {"", {}},
        {"#LID 24941\n", {}},
        {"#LID 24941\r\nword\ti\r\n", {"word"}},  // written on Windows
        {"a\ti\nb\tc\nc\nd\ti\textra\n\ti\ne\tI\nf\ti", {"a", "f"}},
        {"two words\ti\n", {"two words"}},
        {"dup\ti\ndup\ti\n", {"dup"}},
        {"caf\xC3\xA9\ti\n", {"caf\xC3\xA9"}},
    };
    for (const auto& c : cases) EXPECT_EQ(UserDictionary::parse(c.text).words(), c.words) << c.text;
}

TEST(UserDictionary, EditingKeepsOtherLinesAndRefusesBadWords) {
    auto dictionary = UserDictionary::parse("#LID 24941\nkeep\tc\tx\nold\ti\n# note\n");
    EXPECT_TRUE(dictionary.add("new"));
    EXPECT_FALSE(dictionary.add("new"));
    EXPECT_TRUE(dictionary.remove("old"));
    EXPECT_FALSE(dictionary.remove("old"));
    EXPECT_EQ(dictionary.text(), "#LID 24941\nkeep\tc\tx\n# note\nnew\ti\n");

    UserDictionary fresh;
    for (const char* word : {"", "tab\there", "line\nbreak", "cr\r"}) {
        EXPECT_FALSE(fresh.add(word)) << word;
        EXPECT_FALSE(UserDictionary::entryLine(word).ok()) << word;
    }
    EXPECT_TRUE(fresh.add("Vellix"));
    EXPECT_EQ(fresh.text(), "#LID 24941\nVellix\ti\n");  // a new one starts with the header
}

TEST(UserDictionaryFile, AppendWritesOneEntryLine) {
    test::TempFolder dir;
    const std::string path = dir.file("userdic.tlx");
    struct Case {
        const char* before;  // nullptr: no file
        std::string after;
    };
    const Case cases[] = {
        {nullptr, "#LID 24941\nzork\ti\n"},
        {"", "#LID 24941\nzork\ti\n"},
        {"#LID 24941\nVellix\ti\n", "#LID 24941\nVellix\ti\nzork\ti\n"},
        {"#LID 24941\nVellix\ti", "#LID 24941\nVellix\ti\nzork\ti\n"},  // no final line feed
    };
    for (const auto& c : cases) {
        std::remove(path.c_str());
        if (c.before) writeFile(path, c.before);
        ASSERT_TRUE(appendUserWord(path, "zork").ok());
        EXPECT_EQ(readFile(path), c.after);
    }
    EXPECT_FALSE(appendUserWord(path, "bad\tword").ok());
    EXPECT_EQ(readFile(path), cases[3].after);
}

TEST(UserDictionaryFile, SaveReplacesTheFileAndLoadReadsItBack) {
    test::TempFolder dir;
    const std::string path = dir.file("userdic.tlx");
    auto missing = loadUserDictionary(path);
    ASSERT_TRUE(missing.ok());
    EXPECT_TRUE(missing->words().empty());

    writeFile(path, kSeeded + "odd line\n");
    auto dictionary = loadUserDictionary(path);
    ASSERT_TRUE(dictionary.ok());
    dictionary.value().remove("Orvith");
    ASSERT_TRUE(saveUserDictionary(path, *dictionary).ok());
    EXPECT_EQ(readFile(path),
              "#LID 24941\nBrisgate\ti\nVellix\ti\nHarbane\ti\nTolvern\ti\nSkyloom\ti\nodd line\n");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path + ".new")));
}

TEST(UserDictionaryFile, FailuresSayWhyAndLeaveTheFile) {
    test::TempFolder dir;
    const std::string missingFolder = dir.file("no/such/userdic.tlx");
    auto appended = appendUserWord(missingFolder, "zork");
    ASSERT_FALSE(appended.ok());
    EXPECT_NE(appended.error().find(missingFolder), std::string::npos);

    // A folder where the file should be: an error, and the folder is left alone.
    const std::string folder = dir.file("folder.tlx");
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(folder)));
    auto loaded = loadUserDictionary(folder);
    ASSERT_FALSE(loaded.ok());
    EXPECT_NE(loaded.error().find("not a regular file"), std::string::npos);
    EXPECT_FALSE(appendUserWord(folder, "zork").ok());
    for (const auto& path : {missingFolder, folder}) {
        EXPECT_FALSE(saveUserDictionary(path, UserDictionary::parse("a\ti\n")).ok()) << path;
    }
    EXPECT_TRUE(QFileInfo(QString::fromStdString(folder)).isDir());
}

}  // namespace
}  // namespace vellix
