// Request/reply conformance of every status word against an in-process sim.
#include <gtest/gtest.h>

#include <algorithm>

#include "sim_fixture.h"

namespace vellix::sim::testing {
namespace {

using test::reply_tag;

class SimProtocol : public SimTest {};

TEST_F(SimProtocol, VersionCheckNeedsNoSession) {
    const auto r = get("View=StatusCheck&GetVersion=Yes");
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.body, "<vxversion>9.0.1</vxversion><autoupdate>yes</autoupdate>");
    ASSERT_TRUE(control("version", "version=10.0.0%20build7&autoupdate=no&disconnect=Closed").ok());
    EXPECT_EQ(get("View=StatusCheck&GetVersion=Yes").body,
              "<vxversion>10.0.0 build7</vxversion><autoupdate>no</autoupdate>"
              "<disconnect>Closed</disconnect>");
}

TEST_F(SimProtocol, LoginRepliesAndRefusals) {
    const std::string q = "View=StatusCheck&GetSession=Yes";
    const std::string refused = "<error>Invalid username or password</error>";
    const struct {
        std::string query, body, reply;
    } cases[] = {
        {q, "User=a%40x.test&Password=nope", refused},
        {q, "User=z%40x.test&Password=pa", refused},
        {"Session=FFFF&" + q, "User=a%40x.test&Password=pa", "<error>invalid session</error>"},
        {q, "User=a%40x.test", "<error>missing field Password</error>"},
    };
    for (const auto& c : cases) EXPECT_EQ(post(c.query, c.body).body, c.reply) << c.body;
    // The user is found in any letter case; the flags come as enabled/disabled.
    const std::string a = post(q, "User=A%40X.TEST&Password=pa").body;
    EXPECT_EQ(reply_tag(a, "session").value_or("").size(), 24u);
    const std::string c = post(q, "User=c%40x.test&Password=pc").body;
    // The address-book thread's session check: the session alone gives its account's flags.
    const std::string checked = call(*reply_tag(c, "session"), "GetSession=Yes").body;
    EXPECT_EQ(checked.substr(checked.find("<email>")), c.substr(c.find("<email>")));
    EXPECT_EQ(call("FFFF", "GetSession=Yes").body, "<error>invalid session</error>");
    const struct {
        const char* tag;
        const char *a, *c;
    } flags[] = {
        {"email", "a@x.test", "c@x.test"},          {"name", "Ann A", "Cy C"},
        {"instantmessaging", "enabled", "enabled"}, {"modifyglobalcontacts", "enabled", "disabled"},
        {"calendar", "enabled", "disabled"},        {"groupwareuser", "disabled", "enabled"},
        {"groupwareenabled", "disabled", "enabled"}};
    for (const auto& f : flags) {
        EXPECT_EQ(reply_tag(a, f.tag), f.a) << f.tag;
        EXPECT_EQ(reply_tag(c, f.tag), f.c) << f.tag;
    }
}

TEST_F(SimProtocol, WordsThatNeedASessionRefuseAnInvalidOne) {
    for (const char* word :
         {"GetMessageCounts=Yes", "SetStatus=Online", "GetBuddyList=Yes", "GetUserList=Yes",
          "GetIMSettings=Yes", "WaitForIM=Yes",
          "FileTransferRequest=yes&TransferTo=b@x.test&FileName=f&FileSize=1",
          "FileDownload=Yes&FileID=1&TransferFrom=b&FileName=f", "GetContacts=public"}) {
        EXPECT_EQ(call("NOPE", word).body, "<error>invalid session</error>") << word;
    }
    const std::string body = "MessageTo=b@x.test&MessageText=x";
    EXPECT_EQ(post("View=StatusCheck&SendMessage=yes", body).body,
              "<error>invalid session</error>");
}

TEST_F(SimProtocol, CountsCarryFoldersAlertAndNewMail) {
    const std::string s = login("a@x.test", "pa");
    EXPECT_EQ(call(s, "GetMessageCounts=Yes").body,
              "<folder><name>INBOX</name><displayname>Inbox</displayname><total>10</total>"
              "<unread>2</unread><new>0</new><recent>0</recent></folder>"
              "<folder><name>Sent</name><displayname>Sent Items</displayname><total>3</total>"
              "<unread>0</unread><new>0</new><recent>0</recent></folder>");
    ASSERT_TRUE(control("deliver", "account=a@x.test&folder=inbox&count=2").ok());
    ASSERT_TRUE(control("deliver", "account=a@x.test&folder=Lists").ok());
    ASSERT_TRUE(control("alert", "account=a@x.test&text=Backup%20tonight").ok());
    const std::string r = call(s, "GetMessageCounts=Yes").body;
    EXPECT_TRUE(r.starts_with("<alert>Backup tonight</alert><folder><name>INBOX</name>")) << r;
    EXPECT_NE(r.find("<total>12</total><unread>4</unread><new>2</new><recent>2</recent>"),
              std::string::npos);
    EXPECT_NE(r.find("<name>Lists</name><displayname>Lists</displayname><total>1</total>"),
              std::string::npos);
    // The alert is shown once and "new" reports each arrival once.
    const std::string again = call(s, "GetMessageCounts=Yes").body;
    EXPECT_EQ(again.find("<alert>"), std::string::npos);
    EXPECT_NE(again.find("<unread>4</unread><new>0</new><recent>2</recent>"), std::string::npos);
    ASSERT_TRUE(control("mark-read", "account=a@x.test&folder=INBOX").ok());
    EXPECT_NE(call(s, "GetMessageCounts=Yes")
                  .body.find("<total>12</total><unread>0</unread><new>0</new><recent>0</recent>"),
              std::string::npos);
}

TEST_F(SimProtocol, ListsAndSettings) {
    const std::string a = login("a@x.test", "pa");
    EXPECT_EQ(call(a, "GetBuddyList=Yes").body,
              "<buddy><email>b@x.test</email><name>Ben B</name><status>Offline</status></buddy>"
              "<buddy><email>c@x.test</email><name>Cy C</name><status>Offline</status></buddy>");
    const std::string users = call(a, "GetUserList=Yes").body;
    EXPECT_NE(users.find("<user><name>Ben B</name><email>b@x.test</email></user>"),
              std::string::npos);
    EXPECT_EQ(std::count(users.begin(), users.end(), '\n'), 0);

    const std::string save =
        "BuddyEmail1=c%40x.test&BuddyName1=Cy%20Cee&BuddyEmail2=z%40x.test&BuddyName2=";
    EXPECT_EQ(call(a, "SaveBuddyList=Yes", &save).body, "<result>success</result>");
    EXPECT_EQ(
        call(a, "GetBuddyList=Yes").body,
        "<buddy><email>c@x.test</email><name>Cy Cee</name><status>Offline</status></buddy>"
        "<buddy><email>z@x.test</email><name>z@x.test</name><status>Offline</status></buddy>");

    EXPECT_EQ(call(a, "GetIMSettings=Yes").body, "<IMSettings>[Vellix]\nInterval=5\n</IMSettings>");
    const std::string settings = "IMSettings=%5BVellix%5D%0D%0AInterval%3D9%0D%0A";
    EXPECT_EQ(call(a, "SaveIMSettings=Yes", &settings).body, "<result>success</result>");
    EXPECT_EQ(call(a, "GetIMSettings=Yes").body,
              "<IMSettings>[Vellix]\r\nInterval=9\r\n</IMSettings>");
    const std::string empty;
    EXPECT_EQ(call(a, "SaveIMSettings=Yes", &empty).status, 400);
}

TEST_F(SimProtocol, MalformedRequestsGetADefinedReply) {
    const std::string s = "Session=" + login("a@x.test", "pa") + "&View=StatusCheck&";
    const std::pair<std::string, std::string> cases[] = {
        {s + "Frobnicate=Yes", "unknown request"},
        {"View=StatusCheck", "unknown request"},
        {s + "SetStatus=", "missing status word"},
        {s + "FileTransferRequest=yes&TransferTo=b@x.test&FileName=f", "missing field FileSize"},
        {s + "FileTransferRequest=yes&TransferTo=b@x.test&FileName=f&FileSize=-3", "bad FileSize"},
        {s + "GetContacts=shared", "GetContacts must be public or private"},
        {s + "SendMessage=yes", "missing field MessageTo"},
    };
    for (const auto& [query, error] : cases) {
        const auto r = get(query);
        EXPECT_EQ(r.status, 400) << query;
        EXPECT_EQ(r.body, "<error>" + error + "</error>") << query;
    }
    EXPECT_EQ(
        test::http_get("http://127.0.0.1:" + std::to_string(server_->port()) + "/other").status,
        404);
    const std::string big(2 * 1024 * 1024, 'x');
    EXPECT_EQ(post("View=StatusCheck&GetSession=Yes", big).status, 413);
    // The server is still there afterwards.
    EXPECT_EQ(get("View=StatusCheck&GetVersion=Yes").status, 200);
}

}  // namespace
}  // namespace vellix::sim::testing
