// Sending: the exact request, the result text and its verdict.
#include <gtest/gtest.h>

#include "im/messaging_frame.h"
#include "support/canned_http_server.h"

namespace vellix {
namespace {

TEST(SendResult, ResultTextAndVerdict) {
    const std::string longValue(600, 'x');
    const struct {
        std::optional<std::string> reply;
        std::string result;
        SendVerdict verdict;
    } cases[] = {
        {std::nullopt, std::string(kServerErrorResult), SendVerdict::Undelivered},
        {"<sendresult>Success</sendresult>", "Success\r\n", SendVerdict::Delivered},
        {"<sendresult>sUCCESS</sendresult>", "sUCCESS\r\n", SendVerdict::Delivered},
        {"<sendresult>Success</sendresult><sendresult>c@x is offline</sendresult>tail",
         "Success\r\nc@x is offline\r\n", SendVerdict::Delivered},
        {"<sendresult>No such user</sendresult><sendresult>x", "No such user\r\n",
         SendVerdict::Undelivered},
        {"<reply>nothing</reply>", "", SendVerdict::NoResult},
        {"<sendresult>" + longValue + "</sendresult>", longValue.substr(0, 510),
         SendVerdict::Undelivered},
    };
    for (const auto& c : cases) {
        const std::string result = sendResultText(c.reply);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(judgeSendResult(result), c.verdict) << result;
    }
}

TEST(MessagingFrame, PostsTheFormOnAFreshSessionAndReadsTheResult) {
    test::CannedHttpServer server(
        test::CannedHttpServer::ok_reply("<sendresult>Success</sendresult>\r\n"));
    const Clock clock;
    Guarded<SessionState> session;
    session.update([](SessionState& s) { s.sessionId = "S1"; });
    CMainFrame_IMInterface frame(MessagingFrameDeps{
        .clock = clock,
        .session = session,
        .serverUrl = [&] { return server.url("/app.dll"); },
        .connection = [] { return ConnectionSettings{}; },
    });
    const SendRequest request{"b@x.test,c@x.test", encodeMessageText("hi there")};
    EXPECT_EQ(frame.sendMessage(request), "Success\r\n");
    EXPECT_EQ(frame.sendMessage(request), "Success\r\n");

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    const std::string& head = requests[0];
    EXPECT_EQ(
        head.rfind("POST /app.dll?Session=S1&View=StatusCheck&SendMessage=yes HTTP/1.1\r\n", 0), 0u)
        << head;
    EXPECT_NE(head.find("User-Agent: VellixPostIM\r\n"), std::string::npos);
    EXPECT_NE(head.find("Content-Type: application/x-www-form-urlencoded\r\n"), std::string::npos);
    const std::string body = "MessageTo=b@x.test,c@x.test&MessageText=" + request.encodedText;
    EXPECT_EQ(head.substr(head.size() - body.size()), body);
}

TEST(MessagingFrame, NoServerGivesTheFixedErrorText) {
    test::CannedHttpServer silent(test::CannedHttpServer::ok_reply(""));
    const Clock clock;
    Guarded<SessionState> session;
    for (const bool withUrl : {false, true}) {
        CMainFrame_IMInterface frame(MessagingFrameDeps{
            .clock = clock,
            .session = session,
            .serverUrl = [&] { return withUrl ? silent.url("/app.dll") : std::string(); },
            .connection = [] { return ConnectionSettings{}; },
        });
        EXPECT_EQ(frame.sendMessage({"b@x", "e"}), kServerErrorResult);
    }
}

}  // namespace
}  // namespace vellix
