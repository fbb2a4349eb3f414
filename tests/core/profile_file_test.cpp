#include "core/profile_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/atomic_file_writer.h"
#include "support/temp_folder.h"

namespace vellix {
namespace {

class ProfileFileTest : public ::testing::Test {
  protected:
    std::string path(const std::string& name = "test.ini") const { return dir_.file(name); }
    void put(const std::string& bytes, const std::string& name = "test.ini") const {
        dir_.write(name, bytes);
    }
    std::string contents(const std::string& name = "test.ini") const { return dir_.read(name); }
    test::TempFolder dir_;
};

TEST(ProfileValueTest, IntegerParsing) {
    // clang-format off
    const std::pair<const char*, int> cases[] = {
        {"42", 42}, {"  42  ", 42}, {"-17", -17}, {"+8", 8}, {"12abc", 12}, {"abc", -1}, {"", -1},
        {"-", -1}, {"0x10", 0}, {"\t7\t", 7}, {"3.9", 3}, {"- 5", -1}, {"2147483647", INT_MAX},
        {"99999999999", INT_MAX}, {"-2147483648", INT_MIN}, {"-99999999999", INT_MIN}};
    // clang-format on
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(parseProfileInt(text, -1), expected) << '"' << text << '"';
    }
}

TEST(ProfileValueTest, BooleanByFirstCharacter) {
    struct Case {
        const char* text;
        bool expected;
    };
    const Case cases[] = {{"Yes", true}, {"yes", true}, {"YES", true},    {"True", true},
                          {"t", true},   {"1", true},   {"10", true},     {"No", false},
                          {"NO", false}, {"0", false},  {"false", false}, {"", false},
                          {" Y", false}, {"2", false},  {"on", false}};
    for (const auto& c : cases) {
        EXPECT_EQ(parseProfileBool(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST_F(ProfileFileTest, NamesAreCaseInsensitiveAndKeepTheirSpelling) {
    ProfileFile file(path());
    ASSERT_TRUE(file.writeText("Vellix", "LastUser", "1"));
    ASSERT_TRUE(file.writeText("VELLIX", "lastuser", "3"));
    ASSERT_TRUE(file.writeText("vellix", "URL", "http://host/"));
    EXPECT_EQ(file.readText("vElLiX", "LASTUSER"), "3");
    EXPECT_EQ(file.readInt("Vellix", "lastUser", 0), 3);
    EXPECT_EQ(file.sectionNames(), std::vector<std::string>{"Vellix"});
    EXPECT_EQ(contents(), "[Vellix]\nLastUser=3\nURL=http://host/\n");
}

TEST_F(ProfileFileTest, MissingKeysReadAsTheDefaultAndValuesAreWrittenAsText) {
    put("[A]\nEmpty=\nFlag=No\n");
    ProfileFile file(path());
    EXPECT_EQ(file.readText("A", "Missing", "dflt"), "dflt");
    EXPECT_EQ(file.readText("Missing", "Empty", "dflt"), "dflt");
    EXPECT_EQ(file.readText("A", "Empty", "dflt"), "");
    EXPECT_EQ(file.readInt("A", "Empty", 30), 30);
    EXPECT_FALSE(file.readBool("A", "Empty", true));
    EXPECT_TRUE(file.readBool("A", "Missing", true));
    EXPECT_FALSE(file.readBool("A", "Flag", true));
    EXPECT_EQ(ProfileFile(path("none.ini")).readInt("A", "Flag", 9), 9);
    EXPECT_EQ(ProfileFile().readText("A", "Flag", "x"), "x");

    ProfileFile written(path("written.ini"));
    ASSERT_TRUE(written.writeInt("S", "Int", -25));
    ASSERT_TRUE(written.writeBool("S", "On", true));
    ASSERT_TRUE(written.writeBool("S", "Off", false));
    EXPECT_EQ(contents("written.ini"), "[S]\nInt=-25\nOn=Yes\nOff=No\n");
}

TEST_F(ProfileFileTest, DeletingTheLastKeyRemovesTheSection) {
    put("[Keep]\nA=1\n\n[Gone]\nB=2\n\n[Tail]\nC=3\n");
    ProfileFile file(path());
    ASSERT_TRUE(file.deleteKey("gone", "b"));
    EXPECT_EQ(contents(), "[Keep]\nA=1\n\n[Tail]\nC=3\n");
    ASSERT_TRUE(file.deleteKey("Keep", "Missing"));
    EXPECT_EQ(file.sectionNames(), (std::vector<std::string>{"Keep", "Tail"}));
    ASSERT_TRUE(file.deleteKey("Tail", "C"));
    ASSERT_TRUE(file.deleteKey("Keep", "A"));
    EXPECT_EQ(contents(), "");
}

TEST_F(ProfileFileTest, WholeSections) {
    put("; comment\n[One]\nA = 1\nnot an entry\nB=\"quoted\"\n[Two]\nX=9\n");
    ProfileFile file(path());
    EXPECT_EQ(file.readSection("ONE"), (std::vector<ProfileEntry>{{"A", "1"}, {"B", "quoted"}}));
    ASSERT_TRUE(file.writeSection("one", {{"C", "3"}, {"D", "4"}}));
    EXPECT_EQ(file.readSection("One"), (std::vector<ProfileEntry>{{"C", "3"}, {"D", "4"}}));
    EXPECT_EQ(file.readText("One", "A", "gone"), "gone");
    ASSERT_TRUE(file.writeSection("Three", {{"E", "5"}}));
    EXPECT_EQ(file.sectionNames(), (std::vector<std::string>{"One", "Two", "Three"}));
    ASSERT_TRUE(file.deleteSection("TWO"));
    EXPECT_EQ(contents(), "; comment\n[One]\nC=3\nD=4\n[Three]\nE=5\n");
}

TEST_F(ProfileFileTest, WritesRefuseTextThatWouldBreakTheFile) {
    put("[S]\nA=1\n");
    ProfileFile file(path());
    EXPECT_FALSE(file.writeText("S", "A", "two\nlines"));
    EXPECT_FALSE(file.writeText("S", "k=v", "x"));
    EXPECT_FALSE(file.writeText("S]", "A", "x"));
    EXPECT_FALSE(file.writeText("", "A", "x"));
    EXPECT_FALSE(file.writeSection("S", {{"ok", "1"}, {"ba\nd", "2"}}));
    EXPECT_EQ(contents(), "[S]\nA=1\n");
}

TEST_F(ProfileFileTest, LayoutQuirksReadLikeWindows) {
    struct Case {
        const char* name;
        std::string bytes;
        const char* section;
        const char* key;
        const char* expected;
    };
    const Case cases[] = {
        {"crlf", "[S]\r\nK=crlf\r\n", "S", "K", "crlf"},
        {"no final newline", "[S]\nK=last", "S", "K", "last"},
        {"blanks around", "  [ S ]  \n  K  =  v w  \n", "S", "K", "v w"},
        {"first duplicate section wins", "[S]\nK=first\n[s]\nK=second\n", "S", "K", "first"},
        {"first duplicate key wins", "[S]\nK=one\nk=two\n", "S", "K", "one"},
        {"key before sections is ignored", "K=orphan\n[S]\nO=1\n", "S", "K", "-"},
        {"no sections at all", "K=orphan\nmore\n", "S", "K", "-"},
        {"unclosed header", "[S\nK=open\n", "S", "K", "open"},
        {"comment is not a key", "[S]\n;K=no\n", "S", "K", "-"},
        {"equals inside value", "[S]\nK=a=b\n", "S", "K", "a=b"},
        {"nul bytes kept", std::string("[S]\nK=a\0b\n", 10), "S", "K", "a"},
    };
    for (const auto& c : cases) {
        put(c.bytes);
        const std::string value = ProfileFile(path()).readText(c.section, c.key, "-");
        EXPECT_EQ(value.substr(0, value.find('\0')), c.expected) << c.name;
    }
}

TEST_F(ProfileFileTest, WritesGoToTheFirstDuplicateSectionAndKeepTheRest) {
    put("junk before\n[S]\nK=first\n[Other]\nO=1\n[s]\nK=second\n");
    ProfileFile file(path());
    ASSERT_TRUE(file.writeText("S", "K", "new"));
    EXPECT_EQ(contents(), "junk before\n[S]\nK=new\n[Other]\nO=1\n[s]\nK=second\n");
    ASSERT_TRUE(file.deleteSection("s"));
    EXPECT_EQ(contents(), "junk before\n[Other]\nO=1\n");
}

TEST_F(ProfileFileTest, GarbageFilesNeverCrashAndKeepGoodContent) {
    std::string binary;
    for (int i = 0; i < 70000; ++i) binary.push_back(static_cast<char>((i * 7919) & 0xFF));
    const std::string hugeLine = "[S]\nBig=" + std::string(1 << 20, 'x') + "\nK=ok\n";
    const std::string manyBrackets = std::string(100000, '[') + "\n[S]\nK=ok\n";
    struct Case {
        const char* name;
        std::string bytes;
        std::size_t bigValue;
    };
    const Case cases[] = {{"1 MB line", hugeLine, 1u << 20}, {"brackets", manyBrackets, 0}};
    for (const auto& c : cases) {
        put(c.bytes);
        ProfileFile file(path());
        EXPECT_TRUE(file.readable()) << c.name;
        EXPECT_EQ(file.readText("S", "K"), "ok") << c.name;
        EXPECT_EQ(file.readInt("Nope", "K", 5), 5) << c.name;
        ASSERT_TRUE(file.writeText("S", "New", "1")) << c.name;
        EXPECT_EQ(file.readText("S", "K"), "ok") << c.name;
        EXPECT_EQ(file.readText("S", "New"), "1") << c.name;
        EXPECT_EQ(file.readText("S", "Big"), std::string(c.bigValue, 'x')) << c.name;
    }
    // Binary garbage is no settings file: it stays byte for byte as it was.
    const std::string garbage = binary + "\r\n[S]\nK=ok\n";
    put(garbage);
    ProfileFile file(path());
    EXPECT_FALSE(file.readable());
    EXPECT_FALSE(file.writeText("S", "New", "1"));
    EXPECT_FALSE(file.deleteKey("S", "K"));
    EXPECT_EQ(contents(), garbage);
}

TEST_F(ProfileFileTest, EditsKeepEachLineEndingAndNewLinesFollowTheFirst) {
    struct Case {
        const char* name;
        std::string before;
        std::string after;
    };
    const Case cases[] = {
        {"crlf", "[S]\r\nK=1\r\n\r\n", "[S]\r\nK=2\r\nNew=x\r\n\r\n[T]\r\nA=b\r\n"},
        {"lf", "[S]\nK=1\n", "[S]\nK=2\nNew=x\n[T]\nA=b\n"},
        {"mixed", "[S]\r\nK=1\nO=\r\n", "[S]\r\nK=2\nO=\r\nNew=x\r\n[T]\r\nA=b\r\n"},
    };
    for (const auto& c : cases) {
        put(c.before);
        ProfileFile file(path());
        ASSERT_TRUE(file.writeText("S", "K", "2")) << c.name;
        ASSERT_TRUE(file.writeText("S", "New", "x")) << c.name;
        ASSERT_TRUE(file.writeText("T", "A", "b")) << c.name;
        EXPECT_EQ(contents(), c.after) << c.name;
    }
}

TEST_F(ProfileFileTest, WritesThroughLinksReplaceTheTargetAndKeepTheLink) {
    namespace fs = std::filesystem;
    put("[S]\nK=1\n", "dotfiles/real.ini");
    fs::create_symlink("dotfiles/real.ini", path("hop.ini"));  // relative
    fs::create_symlink(path("hop.ini"), path("Vellix.ini"));   // absolute, two hops
    fs::create_symlink("dotfiles/new.ini", path("dangling.ini"));
    ASSERT_TRUE(ProfileFile(path("Vellix.ini")).writeText("S", "K", "2"));
    ASSERT_TRUE(ProfileFile(path("dangling.ini")).writeText("S", "K", "3"));
    EXPECT_TRUE(fs::is_symlink(path("Vellix.ini")));
    EXPECT_TRUE(fs::is_symlink(path("dangling.ini")));
    EXPECT_EQ(contents("dotfiles/real.ini"), "[S]\nK=2\n");
    EXPECT_EQ(contents("dotfiles/new.ini"), "[S]\nK=3\n");
    // No temporary file stayed behind in either folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(path("dotfiles")), fs::directory_iterator()), 2);
}

TEST_F(ProfileFileTest, StaleTemporaryFilesOfStateFilesAreRemoved) {
    const std::pair<const char*, bool> files[] = {
        {"settings.tmp.Ab12Cd", true}, {"Vellix.ini.x1y2z3", true}, {"settings.tmp", false},
        {"photo.abcdef", false},       {"notes.txt.ab_cde", false}, {".ini.ABCDEF", false}};
    for (const auto& [name, _] : files) put("x", name);
    EXPECT_EQ(removeStaleTempFiles(dir_.path()), 2);
    for (const auto& [name, stale] : files)
        EXPECT_EQ(std::filesystem::exists(path(name)), !stale) << name;
}

}  // namespace
}  // namespace vellix
