// Conversation entries on screen and in the history file, stamps, emoticons, titles.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <QTemporaryDir>

#include "im/conversation_text.h"
#include "im/history_file.h"

namespace vellix {
namespace {

TEST(ConversationText, TimeStamps) {
    const struct {
        StampTime t;
        std::string_view shortForm;
        std::string_view longForm;
    } cases[] = {
        {{2024, 3, 4, 0, 5}, " (12:05 AM)", " (03/04/2024 12:05 AM)"},
        {{2024, 3, 4, 12, 5}, " (12:05 PM)", " (03/04/2024 12:05 PM)"},
        {{2024, 3, 4, 13, 30}, " (1:30 PM)", " (03/04/2024 01:30 PM)"},
        {{1999, 12, 31, 23, 59}, " (11:59 PM)", " (12/31/1999 11:59 PM)"},
        {{2024, 3, 4, 11, 0}, " (11:00 AM)", " (03/04/2024 11:00 AM)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(shortStamp(c.t), c.shortForm);
        EXPECT_EQ(longStamp(c.t), c.longForm);
    }
}

TEST(ConversationText, ScreenRunsAndHistoryLines) {
    const StampTime t{2024, 3, 4, 13, 30};
    const struct {
        ConversationEntry entry;
        std::vector<TextRun> screen;
        std::string_view history;
    } cases[] = {
        {{EntryKind::Sent, "Alice", "hi :)", ""},
         {{RunRole::OwnHeading, "Alice (1:30 PM):\r\n"}, {RunRole::Body, "hi :)\r\n"}},
         "Alice (03/04/2024 01:30 PM):\r\n hi :)\r\n"},
        {{EntryKind::Received, "bob@x.test", "yo", ""},
         {{RunRole::PeerHeading, "bob@x.test (1:30 PM):\r\n"}, {RunRole::Body, "yo\r\n"}},
         "bob@x.test (03/04/2024 01:30 PM):\r\n yo\r\n"},
        {{EntryKind::Reminder, "Meeting", "at 3", "http://s/?Session=1"},
         {{RunRole::PeerHeading, "Meeting (1:30 PM):\r\n"},
          {RunRole::Body, "at 3\r\nGo to my calendar:\r\nhttp://s/?Session=1\r\n\r\n"}},
         "Meeting (03/04/2024 01:30 PM):\r\n at 3\r\nGo to my "
         "calendar:\r\nhttp://s/?Session=1\r\n\r\n"},
        {{EntryKind::Reminder, "Meeting", "at 3", ""},
         {{RunRole::PeerHeading, "Meeting (1:30 PM):\r\n"}, {RunRole::Body, "at 3\r\n"}},
         "Meeting (03/04/2024 01:30 PM):\r\n at 3\r\n"},
        {{EntryKind::System, "", "down", ""},
         {{RunRole::PeerHeading, "\r\n***** System Message ***** (1:30 PM)\r\n"},
          {RunRole::Body, "down"},
          {RunRole::PeerHeading, std::string(44, '*') + "\r\n\r\n"}},
         ""},
    };
    for (const auto& c : cases) {
        const auto runs = screenRuns(c.entry, t);
        ASSERT_EQ(runs.size(), c.screen.size()) << c.entry.text;
        for (std::size_t i = 0; i < runs.size(); ++i) {
            EXPECT_EQ(runs[i].role, c.screen[i].role);
            EXPECT_EQ(runs[i].text, c.screen[i].text);
        }
        EXPECT_EQ(historyLines(c.entry, t), c.history);
    }
    EXPECT_EQ(entryTrace("T", {EntryKind::System, "", "down\r\nnow", ""}),
              "vellix: conversation \"T\": system: down now\n");
}

TEST(ConversationText, EmoticonSplitting) {
    using P = std::vector<std::pair<std::string, int>>;
    const struct {
        std::string_view text;
        P pieces;
    } cases[] = {
        {":):(", {{":)", 0}, {":(", 1}}},
        {"abrbc", {{"a", -1}, {"brb", 9}, {"c", -1}}},
        {"plain", {{"plain", -1}}},
        {"", {}},
        {"x :\\ y", {{"x", -1}, {" :\\", 5}, {" y", -1}}},
        {":'-( =:-} :D", {{":'-(", 10}, {" ", -1}, {"=:-}", 8}, {" ", -1}, {":D", 3}}},
        {"(<)<;):P", {{"(<", 6}, {")<", 7}, {";)", 2}, {":P", 4}}},
        {"BRB :d", {{"BRB :d", -1}}},  // codes keep their letter case
    };
    for (const auto& c : cases) {
        P got;
        for (const auto& piece : splitEmoticons(c.text))
            got.emplace_back(piece.text, piece.emoticon);
        EXPECT_EQ(got, c.pieces) << c.text;
    }
}

TEST(ConversationText, TitleRules) {
    const std::vector<Participant> group{{"b@x", "Bob", "Online"}, {"c@x", "", "Away"}};
    EXPECT_EQ(conversationTitle(group), "Bob, c@x");
    EXPECT_EQ(statusTitle(group, "Online"), "Bob, c@x (Away)");
    EXPECT_EQ(toLabel("Bob"), "To: Bob");
    EXPECT_EQ(ownStatusLabel("My status: ", "away"), "My status: Away");
    EXPECT_EQ(ownStatusLabel("My status: ", ""), "My status: ");
}

TEST(ConversationText, HistoryFileNamesStayInTheFolder) {
    const std::string longTitle = std::string(250, 'a') + "\xE4\xB8\xAD";  // ends mid-limit
    const struct {
        std::string title;
        std::string name;
    } cases[] = {
        {"Bob", "Bob.log"},
        {"../etc/passwd", ".._etc_passwd.log"},
        {std::string("a\0b", 3), "a_b.log"},
        {"", "_.log"},
        {"..", "...log"},
        {longTitle, std::string(250, 'a') + ".log"},
    };
    for (const auto& c : cases) {
        const std::string name = historyFileName(c.title);
        EXPECT_EQ(name, c.name);
        EXPECT_LE(name.size(), 255u);
        EXPECT_EQ(std::filesystem::path("/h/" + name).parent_path(), "/h");
    }
}

TEST(HistoryFile, SessionsAppendAndEndWithTheHyphenLine) {
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString() + "/History/";
    for (int session = 0; session < 2; ++session) {
        HistoryFile file;
        ASSERT_TRUE(file.open(folder, "Bob/Carol"));
        file.append("x\r\n");
        file.close();
    }
    std::ifstream in(folder + "Bob_Carol.log", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "x\r\n----------\r\nx\r\n----------\r\n");

    HistoryFile blocked;  // a folder that cannot be made: no history, no failure
    EXPECT_FALSE(blocked.open(folder + "Bob_Carol.log/", "x"));
    blocked.append("ignored");
    blocked.close();
}

}  // namespace
}  // namespace vellix
