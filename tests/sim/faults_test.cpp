// Every fault the control interface injects, seen from an HTTP client.
#include <curl/curl.h>
#include <gtest/gtest.h>

#include <chrono>

#include "sim_fixture.h"

namespace vellix::sim::testing {
namespace {

class SimFaults : public SimTest {};

TEST_F(SimFaults, EachKindDamagesOneReply) {
    const std::string version = "<vxversion>9.0.1</vxversion><autoupdate>yes</autoupdate>";
    const struct {
        const char* query;
        int curl_code;
        long status;
        std::string body;  // "" with curl_code != 0 is not checked
    } cases[] = {
        {"word=GetVersion&kind=drop", CURLE_GOT_NOTHING, 0, ""},
        {"word=GetVersion&kind=truncate", CURLE_PARTIAL_FILE, 200, ""},
        {"word=GetVersion&kind=empty", CURLE_OK, 200, ""},
        {"word=GetVersion&kind=status&value=503", CURLE_OK, 503,
         "<html><body>Injected status 503</body></html>"},
        {"word=GetVersion&kind=malformed", CURLE_OK, 200, "<vxversion>" + version},
        {"word=GetVersion&kind=unclosed", CURLE_OK, 200,
         "<vxversion>9.0.1</vxversion><autoupdate>yes"},
        {"word=GetVersion&kind=refuse", CURLE_OK, 200, "<result>failed</result>"},
        {"word=getversion&kind=delay&value=300", CURLE_OK, 200, version},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(control("fault", c.query).ok()) << c.query;
        const auto start = std::chrono::steady_clock::now();
        const auto r = get("View=StatusCheck&GetVersion=Yes");
        EXPECT_EQ(r.curl_code, c.curl_code) << c.query;
        if (c.curl_code == CURLE_OK) {
            EXPECT_EQ(r.status, c.status) << c.query;
            EXPECT_EQ(r.body, c.body) << c.query;
        }
        if (std::string(c.query).find("delay") != std::string::npos) {
            EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
        }
        // One request only: the next one is whole again.
        EXPECT_EQ(get("View=StatusCheck&GetVersion=Yes").body, version) << c.query;
    }
}

TEST_F(SimFaults, HugeReplyKeepsItsStartAndCountsApply) {
    ASSERT_TRUE(control("fault", "word=GetVersion&kind=huge&value=3&count=2").ok());
    for (int i = 0; i < 2; ++i) {
        const auto r = get("View=StatusCheck&GetVersion=Yes");
        EXPECT_EQ(r.body.size(), (3u << 20) + 56u);
        EXPECT_TRUE(r.body.starts_with("<vxversion>9.0.1</vxversion>"));
    }
    EXPECT_EQ(get("View=StatusCheck&GetVersion=Yes").body.size(), 56u);
}

TEST_F(SimFaults, FaultsThatReplaceTheReplyUseNoEvent) {
    const std::string b = login("b@x.test", "pb");
    server_->state().push_event("b@x.test", "<message>m</message>");
    for (const char* kind : {"kind=drop", "kind=empty", "kind=status&value=500"}) {
        ASSERT_TRUE(control("fault", std::string("word=WaitForIM&") + kind).ok());
        call(b, "WaitForIM=Yes");
    }
    EXPECT_EQ(call(b, "WaitForIM=Yes").body, "<message>m</message>");
}

TEST_F(SimFaults, StarMatchesEveryWordUntilCleared) {
    ASSERT_TRUE(control("fault", "word=*&kind=status&value=401&count=-1").ok());
    EXPECT_EQ(get("View=StatusCheck&GetVersion=Yes").status, 401);
    EXPECT_EQ(post("View=StatusCheck&GetSession=Yes", "User=a%40x.test&Password=pa").status, 401);
    EXPECT_NE(control("faults").body.find("\"kind\":\"status\""), std::string::npos);
    ASSERT_TRUE(control("clear-faults").ok());
    EXPECT_EQ(get("View=StatusCheck&GetVersion=Yes").status, 200);
}

TEST_F(SimFaults, BadControlRequestsAreRefused) {
    const struct {
        const char* command;
        long status;
    } cases[] = {
        {"fault?word=GetVersion&kind=explode", 400},
        {"fault?kind=drop", 400},
        {"fault?word=GetVersion&kind=status&value=42", 400},
        {"fault?word=GetVersion&kind=drop&count=0", 400},
        {"deliver?account=nobody@x.test", 404},
        {"deliver?account=a@x.test&count=x", 400},
        {"disconnect?account=a@x.test", 404},  // no live session
        {"push?account=a@x.test", 400},
        {"selfdestruct", 404},
    };
    for (const auto& c : cases) {
        const std::string cmd = c.command;
        const size_t q = cmd.find('?');
        const auto r = control(cmd.substr(0, q), q == std::string::npos ? "" : cmd.substr(q + 1));
        EXPECT_EQ(r.status, c.status) << c.command;
    }
    EXPECT_EQ(control("faults").body, "[]");
}

}  // namespace
}  // namespace vellix::sim::testing
