// The real skyloom-sim binary: command line, Basic authentication, control token, demo. Its
// TLS is met where the HTTP layer takes its self-signed certificate (internet_session_test).
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <fstream>
#include <future>

#include "cli_options.h"
#include "core/password_codec.h"
#include "demo.h"
#include "support/sim_process.h"
#include "text_util.h"

namespace vellix::sim {
namespace {

using test::HttpCall;
using test::SimProcess;

TEST(SimCli, OptionsAndErrors) {
    const CliResult ok =
        parse_cli({"--port", "8080", "--path", "/cgi/sky.cgi", "--demo", "--https", "--basic-auth",
                   "u:p", "--long-poll-timeout-ms", "250", "--max-upload-mb", "2"});
    ASSERT_TRUE(ok.ok) << ok.error;
    EXPECT_EQ(ok.options.server.port, 8080);
    EXPECT_EQ(ok.options.server.service.path, "/cgi/sky.cgi");
    EXPECT_TRUE(ok.options.demo);
    EXPECT_TRUE(ok.options.server.https);
    EXPECT_EQ(ok.options.server.service.long_poll_timeout, std::chrono::milliseconds(250));
    EXPECT_EQ(ok.options.server.service.max_upload, 2u << 20);
    for (const std::vector<std::string>& bad : {std::vector<std::string>{"--port", "70000"},
                                                {"--port"},
                                                {"--path", "nopath"},
                                                {"--path", "/_sim/x"},
                                                {"--basic-auth", "nocolon"},
                                                {"--cert", "c.pem"},
                                                {"--frobnicate"},
                                                {"--long-poll-timeout", "-1"}}) {
        EXPECT_FALSE(parse_cli(bad).ok) << bad[0];
    }
}

TEST(SimProcess, RefusesABadSeedWithExitCode2) {
    const std::string seed = ::testing::TempDir() + "/bad_seed.ini";
    std::ofstream(seed) << "[account a@x]\nflags = superuser\n";
    const std::string cmd = SimProcess::binary_path() + " --seed " + seed + " 2>/dev/null";
    const int status = std::system(cmd.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
}

TEST(SimProcess, BasicAuthGuardsTheServerPathOnly) {
    SimProcess sim({"--basic-auth", "proxyuser:secret"});
    ASSERT_TRUE(sim.running()) << sim.error();
    HttpCall c;
    c.url = sim.url() + "?View=StatusCheck&GetVersion=Yes";
    EXPECT_EQ(test::http_request(c).status, 401);
    c.basic_auth = "proxyuser:wrong";
    EXPECT_EQ(test::http_request(c).status, 401);
    c.basic_auth = "proxyuser:secret";
    EXPECT_EQ(test::http_request(c).status, 200);
    // The control path is guarded by its token instead.
    EXPECT_EQ(sim.control("ping").status, 200);
    EXPECT_EQ(
        test::http_get("http://127.0.0.1:" + std::to_string(sim.port()) + "/_sim/ping?token=guess")
            .status,
        403);
}

TEST(SimProcess, RequestLogComesBackByteForByte) {
    SimProcess sim;
    ASSERT_TRUE(sim.running()) << sim.error();
    const std::string s = sim.login("alice@demo.local", "alice");
    test::http_post(sim.url() + "?Session=" + s + "&View=StatusCheck&SaveIMSettings=Yes",
                    "IMSettings=%5BV%5D\r\n\xC4\"", "Vellix");
    const auto log = sim.request_log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].method, "POST");
    EXPECT_EQ(log[0].body, "User=alice%40demo.local&Password=alice");
    EXPECT_EQ(log[1].query, "Session=" + s + "&View=StatusCheck&SaveIMSettings=Yes");
    EXPECT_EQ(log[1].body, "IMSettings=%5BV%5D\r\n\xC4\"");
    EXPECT_EQ(log[1].user_agent, "Vellix");
    EXPECT_LT(log[0].seq, log[1].seq);
}

TEST(SimProcess, StopsCleanlyWhileALongPollIsHeld) {
    SimProcess sim({"--long-poll-timeout", "60"});
    ASSERT_TRUE(sim.running()) << sim.error();
    const std::string s = sim.login("bob@demo.local", "bob");
    auto poll = std::async(std::launch::async, [&] {
        return test::http_get(sim.url() + "?Session=" + s + "&View=StatusCheck&WaitForIM=Yes");
    });
    ASSERT_TRUE(sim.wait_for_long_polls("bob@demo.local", 1));
    const int status = sim.stop();
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    // Ended by the stop, not by its own 60 s: the idle reply or a closed connection.
    const auto ended = poll.get();
    EXPECT_TRUE(!ended.ok() || ended.body == "<idle>no events</idle>") << ended.body;
}

TEST(SimProcess, DemoBotAnswersMessagesAndTakesFiles) {
    SimProcess sim({"--demo"});
    ASSERT_TRUE(sim.running()) << sim.error();
    const std::string s = sim.login("alice@demo.local", "alice");
    const std::string base = sim.url() + "?Session=" + s + "&View=StatusCheck&";
    EXPECT_EQ(
        test::http_post(base + "SendMessage=yes", "MessageTo=bot@demo.local&MessageText=" +
                                                      url_encode(encodeWithKeyTable("hi there")))
            .body,
        "<sendresult>Success</sendresult>");
    // The next event that starts with `tag`, skipping presence and the like.
    const auto next = [&](const std::string& tag) {
        std::string event;
        for (int i = 0; i < 5 && !event.starts_with(tag); ++i)
            event = test::http_get(base + "WaitForIM=Yes").body;
        return event;
    };
    const std::string reply = next("<message>");
    EXPECT_EQ(test::reply_tag(reply, "from"), "bot@demo.local");
    EXPECT_EQ(test::reply_tag(reply, "to"), "alice@demo.local");
    EXPECT_EQ(decodeWithKeyTable(test::reply_tag(reply, "message_text").value_or("")), bot_answer("hi there"));

    test::http_get(base +
                   "FileTransferRequest=yes&TransferTo=bot@demo.local&FileName=a.txt&FileSize=3");
    EXPECT_EQ(test::reply_tag(next("<filetransferresponse>"), "sendfile"), "yes");
    EXPECT_NE(
        test::http_post(base + "FileUpload=Yes&TransferTo=bot@demo.local&FileName=a.txt", "abc")
            .body.find("success"),
        std::string::npos);
    EXPECT_EQ(test::reply_tag(next("<filetransferstatus>"), "status"), "complete");
}

}  // namespace
}  // namespace vellix::sim
