// Sessions, long polls, message routing and presence.
#include <gtest/gtest.h>

#include <future>

#include "replies.h"
#include "sim_fixture.h"

namespace vellix::sim::testing {
namespace {

using test::reply_tag;

class SimMessaging : public SimTest {
  protected:
    std::future<test::HttpResult> wait_async(const std::string& session) {
        return std::async(std::launch::async,
                          [this, session] { return call(session, "WaitForIM=Yes"); });
    }
    std::string send(const std::string& session, const std::string& to, const std::string& text) {
        const std::string body = "MessageTo=" + to + "&MessageText=" + text;
        return call(session, "SendMessage=yes", &body).body;
    }
};

TEST_F(SimMessaging, GroupMessageGivesOneResultPerRecipient) {
    const std::string a = login("a@x.test", "pa");
    const std::string b = login("b@x.test", "pb");
    const std::string c = login("c@x.test", "pc");
    call(c, "SetStatus=Offline");
    EXPECT_EQ(send(a, "b@x.test,c@x.test,nobody@x.test", "hi"),
              "<sendresult>Success</sendresult><sendresult>User c@x.test is offline</sendresult>"
              "<sendresult>User nobody@x.test does not exist</sendresult>");
    call(c, "SetStatus=Online");
    EXPECT_EQ(send(a, "B@X.TEST,c@x.test", "again"),
              "<sendresult>Success</sendresult><sendresult>Success</sendresult>");
    // Both keep the whole list in "to", so each can tell the group apart.
    // Queued events come one per reply, in order.
    EXPECT_EQ(reply_tag(call(b, "WaitForIM=Yes").body, "message_text"), "hi");
    EXPECT_EQ(reply_tag(call(b, "WaitForIM=Yes").body, "to"), "B@X.TEST,c@x.test");
    EXPECT_EQ(reply_tag(call(c, "WaitForIM=Yes").body, "message_text"), "again");
}

TEST_F(SimMessaging, PresenceReachesThoseWhoListTheUser) {
    const std::string a = login("a@x.test", "pa");
    const std::string b = login("b@x.test", "pb");  // a lists b: a hears b come online
    EXPECT_EQ(call(a, "WaitForIM=Yes").body,
              "<statusupdate><email>b@x.test</email><status>Online</status></statusupdate>");
    const struct {
        const char* word;
        const char* seen;  // what a sees; "" when nothing changes for others
    } steps[] = {{"Away", "Away"}, {"Away", ""}, {"Invisible", "Offline"}, {"Online", "Online"}};
    for (const auto& s : steps) {
        call(b, std::string("SetStatus=") + s.word);
        if (*s.seen) {
            EXPECT_EQ(reply_tag(call(a, "WaitForIM=Yes").body, "status"), s.seen) << s.word;
        }
    }
    EXPECT_NE(call(a, "GetBuddyList=Yes")
                  .body.find("<email>b@x.test</email><name>Ben B</name><status>Online</status>"),
              std::string::npos);
    // c does not list b and hears nothing about it.
    const std::string c = login("c@x.test", "pc");
    call(b, "SetStatus=Away");
    EXPECT_EQ(call(c, "WaitForIM=Yes").body.find("b@x.test"), std::string::npos);
    // Ending b's only session makes it Offline for a.
    ASSERT_TRUE(control("delete-session", "session=" + b).ok());
    std::string last;
    for (int i = 0; i < 3 && last.find("Offline") == std::string::npos; ++i)
        last = call(a, "WaitForIM=Yes").body;
    EXPECT_EQ(last, "<statusupdate><email>b@x.test</email><status>Offline</status></statusupdate>");
}

TEST_F(SimMessaging, IdleLongPollEndsWithTheIdleReply) {
    server_->stop();
    ServerOptions o;
    o.service.long_poll_timeout = std::chrono::milliseconds(150);
    start(o);
    const std::string b = login("b@x.test", "pb");
    EXPECT_EQ(call(b, "WaitForIM=Yes").body, replies::kIdle);
}

TEST_F(SimMessaging, NewerWaitTakesThePlaceOfTheOlder) {
    const std::string b = login("b@x.test", "pb");
    auto first = wait_async(b);
    ASSERT_TRUE(await_waiting("b@x.test", 1));
    auto second = wait_async(b);
    EXPECT_EQ(first.get().body, "<wait>A new wait request is taking your place</wait>");
    ASSERT_TRUE(await_waiting("b@x.test", 1));
    ASSERT_TRUE(control("push", "account=b@x.test&event=%3Cmessage%3Ex%3C%2Fmessage%3E").ok());
    EXPECT_EQ(second.get().body, "<message>x</message>");
}

TEST_F(SimMessaging, SessionRulesEndTheLongPollAtOnce) {
    const struct {
        const char* name;
        std::function<void(const std::string&)> act;
        std::string reply;
        bool session_survives;
    } cases[] = {
        {"deleted", [this](const std::string& s) { server_->state().delete_session(s); },
         std::string(replies::kSessionDeleted), false},
        {"take-over",
         [this](const std::string&) { server_->state().login("b@x.test", "pb", nullptr, true); },
         std::string(replies::kWaitReplaced), false},
        {"disconnected", [this](const std::string& s) { server_->state().disconnect(s, "Bye"); },
         std::string(replies::kGoneOffline), true},
    };
    for (const auto& c : cases) {
        const std::string b = login("b@x.test", "pb");
        auto waiting = wait_async(b);
        ASSERT_TRUE(await_waiting("b@x.test", 1)) << c.name;
        c.act(b);
        EXPECT_EQ(waiting.get().body, c.reply) << c.name;
        const std::string counts = call(b, "GetMessageCounts=Yes").body;
        if (c.session_survives) {
            // The disconnect text comes with the next counts reply; then the session is gone.
            EXPECT_TRUE(counts.starts_with("<disconnect>Bye</disconnect>")) << counts;
            EXPECT_EQ(call(b, "GetMessageCounts=Yes").body, replies::kInvalidSession);
        } else {
            EXPECT_EQ(counts, replies::kInvalidSession) << c.name;
        }
        server_->state().delete_sessions_of("b@x.test");
    }
}

TEST_F(SimMessaging, LoginWithHeldSessionRefreshesIt) {
    const auto relogin = [this](const std::string& held, std::string_view extra = "") {
        return post("Session=" + held + "&View=StatusCheck&GetSession=Yes" + std::string(extra),
                    "User=a%40x.test&Password=pa")
            .body;
    };
    const auto valid = [this](const std::string& session) {
        return call(session, "GetMessageCounts=Yes").body != replies::kInvalidSession;
    };
    const std::string a = login("a@x.test", "pa");
    EXPECT_EQ(reply_tag(relogin(a), "session"), a);
    // Another account's session is not valid for this user.
    EXPECT_EQ(relogin(login("b@x.test", "pb")), replies::kInvalidSession);
    // A second client without take-over gets its own session; the first stays valid.
    const std::string a2 = login("a@x.test", "pa");
    EXPECT_NE(a2, a);
    EXPECT_TRUE(valid(a));
    // With take-over the older sessions end.
    const std::string a3 = login("a@x.test", "pa", true);
    EXPECT_FALSE(valid(a));
    EXPECT_FALSE(valid(a2));
    EXPECT_TRUE(valid(a3));
    // Take-over with a held session keeps that one and ends the others too.
    const std::string a4 = login("a@x.test", "pa");
    EXPECT_EQ(reply_tag(relogin(a3, "&TakeOver=Yes"), "session"), a3);
    EXPECT_FALSE(valid(a4));
    EXPECT_TRUE(valid(a3));
}

TEST_F(SimMessaging, EventIsNotLostWhenTheClientLeaves) {
    const std::string b = login("b@x.test", "pb");
    test::HttpCall quick;
    quick.url = url("Session=" + b + "&View=StatusCheck&WaitForIM=Yes");
    quick.timeout_ms = 200;  // the client gives up before anything arrives
    EXPECT_FALSE(test::http_request(quick).ok());
    // Pushed at once: the poll still held for the gone client must not take it.
    server_->state().push_event("b@x.test", "<message>kept</message>");
    EXPECT_EQ(call(b, "WaitForIM=Yes").body, "<message>kept</message>");
}

TEST_F(SimMessaging, MessageWakesItsRecipientsLongPollOnly) {
    const std::string a = login("a@x.test", "pa");
    const std::string c = login("c@x.test", "pc");
    const std::string b = login("b@x.test", "pb");
    auto held_by_c = wait_async(c);
    ASSERT_TRUE(await_waiting("c@x.test", 1));
    auto held_by_b = wait_async(b);
    ASSERT_TRUE(await_waiting("b@x.test", 1));
    EXPECT_EQ(send(a, "b@x.test", "R2VoZWlt%2Bw"), "<sendresult>Success</sendresult>");
    EXPECT_EQ(held_by_b.get().body,
              "<message><to>b@x.test</to><from>a@x.test</from><subject></subject>"
              "<message_text>R2VoZWlt+w</message_text></message>");
    // c's poll was held all along and still answers its own event.
    server_->state().push_event("c@x.test", "<message>end</message>");
    EXPECT_EQ(held_by_c.get().body, "<message>end</message>");
}

}  // namespace
}  // namespace vellix::sim::testing
