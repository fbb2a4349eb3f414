#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/spelling_setup.h"

namespace vellix {
namespace {

class RecordingSpelling final : public SpellingEngine {
  public:
    std::vector<std::string> calls;
    std::string main, user;

    void setRegTreeName(const std::string& v) override { calls.push_back("reg " + v); }
    void setHelpFile(const std::string& v) override { calls.push_back("help " + v); }
    void setMainLexPath(const std::string& v) override { calls.push_back("mainpath " + v); }
    std::string mainLexFiles() const override { return main; }
    void setMainLexFiles(const std::string& v) override { calls.push_back("main " + v); }
    std::string userLexFiles() const override { return user; }
    void setUserLexFiles(const std::string& v) override { calls.push_back("user " + v); }
    void setUserLexPath(const std::string& v) override { calls.push_back("userpath " + v); }
};

TEST(SpellingSetupTest, ConfiguresInOrderAndKeepsWhatIsAlreadyConfigured) {
    struct Case {
        std::string main, user;
        std::vector<std::string> tail;
    } cases[] = {
        {"", "", {"main ssceam.tlx,ssceam2.clx", "user userdic.tlx"}},
        {"mine.tlx", "", {"user userdic.tlx"}},
        {"", "own.tlx", {"main ssceam.tlx,ssceam2.clx"}},
        {"mine.tlx", "own.tlx", {}},
    };
    for (const auto& c : cases) {
        RecordingSpelling engine;
        engine.main = c.main;
        engine.user = c.user;
        setUpSpellingEngine(engine, "/opt/vellix");
        std::vector<std::string> expected = {"reg SOFTWARE\\Brisgate Technologies\\Vellix\\SSCE",
                                             "help /opt/vellix/ssce.hlp",
                                             "mainpath /opt/vellix/lex"};
        expected.insert(expected.end(), c.tail.begin(), c.tail.end());
        EXPECT_EQ(engine.calls, expected);
    }
}

}  // namespace
}  // namespace vellix
