#include "server/server_replies.h"

#include <gtest/gtest.h>

#include <string>

#include "server/server_requests.h"

namespace vellix {
namespace {

TEST(ServerRepliesTest, UpdateOfferComparesVersionsAsText) {
    const struct {
        std::string reply;
        std::optional<bool> offer;
    } cases[] = {
        {"<vxversion>9.0.0</vxversion>", false},
        {"<vxversion>9.0.1 beta</vxversion>", true},
        {"<vxversion>9.1</vxversion>", true},
        {"<vxversion>10.0.0</vxversion>", false},  // "1" sorts before "9"
        {"<vxversion>9.0.0a</vxversion>", false},  // only the own version's length counts
        {"<vxversion></vxversion>", false},
        {"<vxversion>9.9.9</vxversion><autoupdate>NO</autoupdate>", std::nullopt},
        {"<vxversion>9.9.9</vxversion><autoupdate>yes</autoupdate>", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(updateAvailable(readVersionReply(c.reply), "9.0.0"), c.offer) << c.reply;
    }
    EXPECT_EQ(readVersionReply("<disconnect>go away</disconnect>").disconnect, "go away");
}

TEST(ServerRepliesTest, LoginReplyFlagsAndRefusals) {
    const LoginReply full = readLoginReply(
        "<session>abc</session><email>a@x</email><name>A</name>"
        "<instantmessaging>enabled</instantmessaging><modifyglobalcontacts>ENABLED"
        "</modifyglobalcontacts><calendar>Disabled</calendar>");
    EXPECT_EQ(full.refusal, LoginRefusal::None);
    EXPECT_EQ(full.session, "abc");
    EXPECT_EQ(full.email, "a@x");
    EXPECT_EQ(full.messaging, true);
    EXPECT_EQ(full.modifyGlobalContacts, true);
    EXPECT_EQ(full.calendar, false);

    const LoginReply bare = readLoginReply(
        "<session>s</session><instantmessaging>Enabled"
        "</instantmessaging><calendar>yes</calendar>");
    EXPECT_EQ(bare.messaging, false);  // only the exact word switches messaging on
    EXPECT_EQ(bare.modifyGlobalContacts, std::nullopt);
    EXPECT_EQ(bare.calendar, true);

    EXPECT_EQ(readLoginReply("x<error>Invalid username or password</error>").refusal,
              LoginRefusal::BadPassword);
    EXPECT_EQ(readLoginReply("<session>1</session><error>invalid session</error>").refusal,
              LoginRefusal::InvalidSession);
    EXPECT_EQ(readLoginReply(std::string("<session>") + std::string(50, 'f') + "</session>")
                  .session.size(),
              35u);
}

TEST(ServerRepliesTest, CountsReplyReadsFoldersAlertsAndDisconnect) {
    const CountsReply counts = readCountsReply(
        "<folder><name>INBOX</name><displayname>Inbox</displayname><total>12</total>"
        "<unread>3</unread><new>0</new><recent>0</recent></folder>"
        "<folder><name>Sent</name><total>4</total><unread>-2</unread><new>1</new></folder>"
        "<folder><name></name><new>9</new></folder>"
        "<folder><name>Junk</name><total>x</total></folder><alert>Maintenance at 5</alert>");
    ASSERT_EQ(counts.folders.size(), 3u);
    EXPECT_EQ(counts.folders[0].displayName, "Inbox");
    EXPECT_EQ(counts.folders[0].total, 12);
    EXPECT_EQ(counts.folders[1].unread, -1);  // a sign is malformed
    EXPECT_EQ(counts.folders[2].name, "Junk");
    EXPECT_EQ(counts.folders[2].total, -1);
    EXPECT_EQ(counts.folders[2].order, 3);  // the nameless block still had its number
    EXPECT_TRUE(counts.newMail);
    EXPECT_EQ(counts.alerts, std::vector<std::string>{"Maintenance at 5"});

    const CountsReply cut = readCountsReply(
        "<folder><name>A</name></folder><disconnect>bye</disconnect><folder><name>B</name>"
        "</folder>");
    EXPECT_EQ(cut.disconnect, "bye");
    // The look-up covers the rest of the reply before each block, so it stops at once.
    EXPECT_TRUE(cut.folders.empty());

    EXPECT_TRUE(readCountsReply("<error>invalid session</error>").invalidSession);
    EXPECT_FALSE(readCountsReply("").newMail);
}

TEST(ServerRepliesTest, ListsAndSettings) {
    const auto buddies = readBuddyList(
        "<buddy><email>b@x</email><name>Bob</name><status>away</status></buddy>"
        "<buddy><email>c@x</email><name>C</name><status>busy</status></buddy>",
        [](std::string_view word) {
            return word == "away" ? std::string("AWAY") : std::string(word);
        });
    ASSERT_EQ(buddies.size(), 2u);
    EXPECT_EQ(buddies[0].status, "AWAY");
    EXPECT_EQ(buddies[1].status, "busy");
    const auto users = readUserList("<user><name>N</name><email>n@x</email></user>");
    ASSERT_EQ(users.size(), 1u);
    EXPECT_EQ(users[0].email, "n@x");
    EXPECT_EQ(readImSettings("<IMSettings>[Vellix]\nA=1\n</IMSettings>"), "[Vellix]\nA=1\n");
    EXPECT_EQ(readImSettings("<IMSettings>[Vellix]"), std::nullopt);
}

TEST(ServerRequestsTest, UrlsAndBodiesAreByteExact) {
    const std::string url = "http://h:8080/skyloom/app.dll";
    const struct {
        std::string actual, expected;
    } cases[] = {
        {requests::version(url), url + "?View=StatusCheck&GetVersion=Yes"},
        {requests::login(url, "", false), url + "?View=StatusCheck&GetSession=Yes"},
        {requests::login(url, "S1", true),
         url + "?Session=S1&View=StatusCheck&GetSession=Yes&TakeOver=Yes"},
        {requests::loginBody("a b@x", "p&=/\xC4"), "User=a%20b%40x&Password=p%26%3D%2F%C4"},
        {requests::messageCounts(url, "S"),
         url + "?Session=S&View=StatusCheck&GetMessageCounts=Yes"},
        {requests::setStatus(url, "S", "Away"), url + "?Session=S&View=StatusCheck&SetStatus=Away"},
        {requests::buddyList(url, "S"), url + "?Session=S&View=StatusCheck&GetBuddyList=Yes"},
        {requests::userList(url, "S"), url + "?Session=S&View=StatusCheck&GetUserList=Yes"},
        {requests::imSettings(url, "S"), url + "?Session=S&View=StatusCheck&GetIMSettings=Yes"},
        {requests::saveImSettingsBody("[V]\nA=1"), "IMSettings=%5BV%5D%0AA%3D1"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.actual, c.expected);
}

}  // namespace
}  // namespace vellix
