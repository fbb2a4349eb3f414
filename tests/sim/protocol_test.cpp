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
    const struct {
        const char* name;
        std::string query;
        std::string body;
        std::string expect;  // exact reply, or "" to check the session reply below
    } cases[] = {
        {"wrong password", "View=StatusCheck&GetSession=Yes", "User=a%40x.test&Password=nope",
         "<error>Invalid username or password</error>"},
        {"unknown user", "View=StatusCheck&GetSession=Yes", "User=z%40x.test&Password=pa",
         "<error>Invalid username or password</error>"},
        {"unknown session", "Session=FFFF&View=StatusCheck&GetSession=Yes",
         "User=a%40x.test&Password=pa", "<error>invalid session</error>"},
        {"missing password", "View=StatusCheck&GetSession=Yes", "User=a%40x.test",
         "<error>missing field Password</error>"},
        {"user in other case", "View=StatusCheck&GetSession=Yes", "User=A%40X.TEST&Password=pa",
         ""},
    };
    for (const auto& c : cases) {
        const auto r = post(c.query, c.body);
        if (!c.expect.empty()) {
            EXPECT_EQ(r.body, c.expect) << c.name;
            continue;
        }
        EXPECT_EQ(reply_tag(r.body, "session").value_or("").size(), 24u) << c.name;
        EXPECT_EQ(reply_tag(r.body, "email"), "a@x.test") << c.name;
        EXPECT_EQ(reply_tag(r.body, "name"), "Ann A");
        EXPECT_EQ(reply_tag(r.body, "instantmessaging"), "enabled");
        EXPECT_EQ(reply_tag(r.body, "modifyglobalcontacts"), "enabled");
        EXPECT_EQ(reply_tag(r.body, "calendar"), "enabled");
        EXPECT_EQ(reply_tag(r.body, "groupwareuser"), "disabled");
    }
    const auto c = post("View=StatusCheck&GetSession=Yes", "User=c%40x.test&Password=pc");
    EXPECT_EQ(reply_tag(c.body, "modifyglobalcontacts"), "disabled");
    EXPECT_EQ(reply_tag(c.body, "calendar"), "disabled");
    EXPECT_EQ(reply_tag(c.body, "groupwareenabled"), "enabled");
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
    const std::string s = login("a@x.test", "pa");
    const struct {
        const char* name;
        std::string query;
        long status;
        std::string body;
    } cases[] = {
        {"unknown word", "Session=" + s + "&View=StatusCheck&Frobnicate=Yes", 400,
         "<error>unknown request</error>"},
        {"no word", "View=StatusCheck", 400, "<error>unknown request</error>"},
        {"status without word", "Session=" + s + "&View=StatusCheck&SetStatus=", 400,
         "<error>missing status word</error>"},
        {"offer without size",
         "Session=" + s +
             "&View=StatusCheck&FileTransferRequest=yes&TransferTo=b@x.test&FileName=f",
         400, "<error>missing field FileSize</error>"},
        {"offer with bad size",
         "Session=" + s +
             "&View=StatusCheck&FileTransferRequest=yes&TransferTo=b@x.test&FileName=f&FileSize=-3",
         400, "<error>bad FileSize</error>"},
        {"contacts of no folder", "Session=" + s + "&View=StatusCheck&GetContacts=shared", 400,
         "<error>GetContacts must be public or private</error>"},
        {"send without text", "Session=" + s + "&View=StatusCheck&SendMessage=yes", 400,
         "<error>missing field MessageTo</error>"},
    };
    for (const auto& c : cases) {
        const auto r = get(c.query);
        EXPECT_EQ(r.status, c.status) << c.name;
        EXPECT_EQ(r.body, c.body) << c.name;
    }
    EXPECT_EQ(
        test::http_get("http://127.0.0.1:" + std::to_string(server_->port()) + "/other").status,
        404);
    const std::string big(2 * 1024 * 1024, 'x');
    EXPECT_EQ(post("View=StatusCheck&GetSession=Yes", big).status, 413);
    // The server is still there afterwards.
    EXPECT_EQ(get("View=StatusCheck&GetVersion=Yes").status, 200);
}

TEST_F(SimProtocol, RequestLogKeepsOrderAgentAndBody) {
    ASSERT_TRUE(control("clear-log").ok());
    get("View=StatusCheck&GetVersion=Yes", "VellixUpdate");
    post("View=StatusCheck&GetSession=Yes", "User=a%40x.test&Password=pa");
    control("ping");  // control requests stay out of the log
    const auto log = server_->state().log_entries();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].method, "GET");
    EXPECT_EQ(log[0].user_agent, "VellixUpdate");
    EXPECT_EQ(log[0].query, "View=StatusCheck&GetVersion=Yes");
    EXPECT_EQ(log[1].method, "POST");
    EXPECT_EQ(log[1].body, "User=a%40x.test&Password=pa");
    EXPECT_LT(log[0].seq, log[1].seq);
    const std::string json = control("log").body;
    EXPECT_NE(json.find("\"user_agent\":\"VellixUpdate\""), std::string::npos);
    EXPECT_NE(json.find("\"body\":\"User=a%40x.test&Password=pa\""), std::string::npos);
}

}  // namespace
}  // namespace vellix::sim::testing
