// The HTTP exchange layer against the real sim, tinyproxy and a canned server on loopback.
#include "server/internet_session.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "server/curl_errors.h"
#include "support/canned_http_server.h"
#include "support/proxy_process.h"
#include "support/sim_process.h"

namespace vellix {
namespace {

using test::CannedHttpServer;
using test::ProxyProcess;
using test::SimProcess;
namespace ie = internet_error;
using Lines = std::vector<std::string>;

class ScriptedPrompt : public CredentialsPrompt {
  public:
    explicit ScriptedPrompt(std::vector<std::optional<Credentials>> answers)
        : answers_(std::move(answers)) {}
    std::optional<Credentials> ask(AuthTarget target, const std::string& where) override {
        asks.emplace_back(target, where);
        return asks.size() <= answers_.size() ? answers_[asks.size() - 1] : std::nullopt;
    }
    std::vector<std::pair<AuthTarget, std::string>> asks;

  private:
    std::vector<std::optional<Credentials>> answers_;
};

InternetSession::Options options(CredentialsPrompt* prompt = nullptr,
                                 ConnectionSettings connection = {}, Lines* trace = nullptr) {
    InternetSession::Options o;
    o.agent = "Vellix";
    o.prompt = prompt;
    o.connection = std::move(connection);
    if (trace) o.trace = [trace](const std::string& line) { trace->push_back(line); };
    return o;
}

std::unique_ptr<InternetSession> openSession(InternetSession::Options o = options()) {
    auto session = InternetSession::open(std::move(o));
    EXPECT_TRUE(session.ok()) << session.error();
    return session.ok() ? std::move(session).value() : nullptr;
}

int errorCode(const std::variant<HttpReply, InternetError>& outcome) {
    const auto* error = std::get_if<InternetError>(&outcome);
    return error ? error->code : 0;
}

// Nothing listens on port 1 of the loopback.
const std::string kRefused = "http://127.0.0.1:1/app.dll";

std::string versionUrl(const SimProcess& sim) {
    return sim.url() + "?View=StatusCheck&GetVersion=Yes";
}

TEST(InternetSessionErrors, CurlOutcomesMapToInternetErrors) {
    // Codes the live tests below cannot provoke on loopback; the others are met there.
    struct Case {
        CURLcode code;
        long verify;
        int expected;
        CertificateProblem problem;
    };
    using P = CertificateProblem;
    const Case cases[] = {
        {CURLE_COULDNT_RESOLVE_HOST, 0, ie::kNameNotResolved, P::None},
        {CURLE_COULDNT_RESOLVE_PROXY, 0, ie::kNameNotResolved, P::None},
        {CURLE_RECV_ERROR, 0, ie::kConnectionReset, P::None},
        {CURLE_PEER_FAILED_VERIFICATION, 18, ie::kInvalidCa, P::UnknownAuthority},
        {CURLE_PEER_FAILED_VERIFICATION, 20, ie::kInvalidCa, P::UnknownAuthority},
        {CURLE_PEER_FAILED_VERIFICATION, 62, ie::kCertNameInvalid, P::NameMismatch},
        {CURLE_PEER_FAILED_VERIFICATION, 0, ie::kCertNameInvalid, P::NameMismatch},
        {CURLE_PEER_FAILED_VERIFICATION, 10, ie::kSecureFailure, P::None},  // expired
        {CURLE_PEER_FAILED_VERIFICATION, 23, ie::kSecureFailure, P::None},  // revoked
        {CURLE_SSL_CONNECT_ERROR, 18, ie::kSecureFailure, P::None},
        {CURLE_OUT_OF_MEMORY, 0, ie::kInternalError, P::None},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(internetErrorFor(c.code, c.verify, "").code, c.expected) << c.code;
        EXPECT_EQ(certificateProblem(c.code, c.verify), c.problem) << c.code << "/" << c.verify;
    }
    EXPECT_EQ(internetErrorFor(CURLE_COULDNT_CONNECT, 0, "Failed to connect").text,
              "Failed to connect");
    EXPECT_EQ(internetErrorFor(CURLE_COULDNT_CONNECT, 0, "").text,
              curl_easy_strerror(CURLE_COULDNT_CONNECT));
    EXPECT_EQ(formatInternetError({12002, std::string(300, 'x')}),
              "Internet Error: 12002 - " + std::string(255, 'x') + "\n");
}

TEST(InternetSessionOpen, RefusesAProxySettingWithoutHostOrPort) {
    EXPECT_EQ(proxyText({1, "proxy.example", 8080}), "proxy.example:8080");
    EXPECT_EQ(proxyText({0, "proxy.example", 8080}), "");
    for (const ConnectionSettings& bad :
         {ConnectionSettings{1, "", 8080}, ConnectionSettings{1, "proxy.example", 0},
          ConnectionSettings{2, "proxy.example", 70000}}) {
        Lines trace;
        EXPECT_FALSE(InternetSession::open(options(nullptr, bad, &trace)).ok()) << proxyText(bad);
        ASSERT_EQ(trace.size(), 1u);
        EXPECT_EQ(trace[0].rfind("Internet Error: 12004 - ", 0), 0u) << trace[0];
    }
}

TEST(InternetSessionWire, SendsOnlyTheProgramsHeaders) {
    CannedHttpServer server(CannedHttpServer::ok_reply("<a>1</a>"));
    auto imOptions = options();
    imOptions.agent = "VellixIM";
    auto session = openSession(imOptions);
    ASSERT_TRUE(session);
    const std::string head = " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(server.port()) +
                             "\r\nUser-Agent: VellixIM\r\n";
    // Over 1 MiB, where libcurl would add "Expect: 100-continue".
    const std::string body((size_t{1} << 20) + 1000, 'b');
    ASSERT_EQ(session->request(server.url("/app.dll?View=StatusCheck"), nullptr), "<a>1</a>");
    ASSERT_EQ(session->request(server.url("/app.dll?X=1"), &body), "<a>1</a>");
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0], "GET /app.dll?View=StatusCheck" + head + "\r\n");
    EXPECT_EQ(requests[1], "POST /app.dll?X=1" + head +
                               "Content-Type: application/x-www-form-urlencoded\r\n"
                               "Content-Length: " +
                               std::to_string(body.size()) + "\r\n\r\n" + body);
}

TEST(InternetSessionWire, LineFeedsAndEmptyBodies) {
    struct Case {
        std::string body;
        InternetSession::LineFeeds lineFeeds;
        std::optional<std::string> expected;
    };
    using enum InternetSession::LineFeeds;
    const Case cases[] = {
        {"one\r\ntwo\r\n", Remove, "one\rtwo\r"},
        {"one\r\ntwo\r\n", Keep, "one\r\ntwo\r\n"},
        {"\n\n", Remove, std::nullopt},
        {"\n", Keep, "\n"},
        {"", Keep, std::nullopt},
    };
    auto session = openSession();
    ASSERT_TRUE(session);
    for (const Case& c : cases) {
        CannedHttpServer server(CannedHttpServer::ok_reply(c.body));
        EXPECT_EQ(session->request(server.url(), nullptr, c.lineFeeds), c.expected) << c.body;
    }
}

TEST(InternetSessionWire, FollowsRedirectsOverHttpOnly) {
    SimProcess sim;
    ASSERT_TRUE(sim.running()) << sim.error();
    const auto redirect = [](const std::string& to) {
        return "HTTP/1.1 302 Found\r\nLocation: " + to + "\r\nContent-Length: 0\r\n\r\n";
    };
    auto session = openSession();
    CannedHttpServer toSim(redirect(versionUrl(sim)));
    const auto reply = session->request(toSim.url(), nullptr);
    ASSERT_TRUE(reply);
    EXPECT_NE(reply->find("<vxversion>"), std::string::npos) << *reply;
    CannedHttpServer toFtp(redirect("ftp://127.0.0.1/file"));
    EXPECT_EQ(errorCode(session->exchange(toFtp.url(), nullptr)), ie::kInvalidUrl);
}

TEST(InternetSessionSim, SelfSignedCertificateIsAcceptedOnTheRetry) {
    SimProcess sim({"--https"});
    ASSERT_TRUE(sim.running()) << sim.error();
    ASSERT_EQ(sim.url().rfind("https://", 0), 0u);
    Lines trace;
    auto session = openSession(options(nullptr, {}, &trace));
    for (int round = 0; round < 2; ++round) {
        const auto reply = session->request(versionUrl(sim), nullptr);
        ASSERT_TRUE(reply) << (trace.empty() ? "" : trace.back());
        EXPECT_NE(reply->find("<vxversion>"), std::string::npos);
    }
    EXPECT_EQ(sim.request_log().size(), 2u);  // the refused handshakes never became requests
    EXPECT_TRUE(trace.empty());
}

TEST(InternetSessionSim, ServerAuthenticationAsksTheUser) {
    SimProcess sim({"--basic-auth", "u:p"});
    ASSERT_TRUE(sim.running()) << sim.error();
    const std::string where = "127.0.0.1:" + std::to_string(sim.port());

    EXPECT_FALSE(openSession()->request(versionUrl(sim), nullptr)) << "no prompt";

    ScriptedPrompt cancel({std::nullopt});
    EXPECT_FALSE(openSession(options(&cancel))->request(versionUrl(sim), nullptr));
    ASSERT_EQ(cancel.asks.size(), 1u);
    EXPECT_EQ(cancel.asks[0], std::make_pair(AuthTarget::Server, where));

    ScriptedPrompt prompt({Credentials{"u", "wrong"}, Credentials{"u", "p"}});
    auto session = openSession(options(&prompt));
    EXPECT_TRUE(session->request(versionUrl(sim), nullptr));
    EXPECT_EQ(prompt.asks.size(), 2u);
    const std::string body = "User=alice&Password=alice";
    EXPECT_TRUE(session->request(sim.url() + "?View=StatusCheck&GetSession=Yes", &body));
    EXPECT_EQ(prompt.asks.size(), 2u) << "the credentials are kept for later requests";
    EXPECT_EQ(sim.request_log().back().body, body);
}

TEST(InternetSessionSim, FaultsBecomeErrorsOrReplies) {
    SimProcess sim;
    ASSERT_TRUE(sim.running()) << sim.error();
    Lines trace;
    // Only the delay case gets the short stall limit, so a loaded machine cannot time out
    // the others.
    auto stallOptions = options(nullptr, {}, &trace);
    stallOptions.limits = {std::chrono::seconds(5), std::chrono::seconds(1)};
    auto cappedOptions = options(nullptr, {}, &trace);
    cappedOptions.maxReplyBytes = size_t{1} << 20;
    auto stalling = openSession(stallOptions);
    auto capped = openSession(cappedOptions);
    auto normal = openSession(options(nullptr, {}, &trace));
    ASSERT_TRUE(stalling && capped && normal);
    const struct {
        const char* kind;
        const char* value;
        InternetSession* session;
        int error;  // 0: a reply
        long status;
        size_t minBody;
    } cases[] = {
        {"drop", "", normal.get(), ie::kConnectionAborted, 0, 0},
        {"truncate", "", normal.get(), ie::kConnectionAborted, 0, 0},
        {"empty", "", normal.get(), 0, 200, 0},
        {"status", "500", normal.get(), 0, 500, 1},
        {"huge", "50", normal.get(), 0, 200, size_t{50} << 20},
        {"huge", "8", capped.get(), ie::kInternalError, 0, 0},
        {"delay", "3000", stalling.get(), ie::kTimeout, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        ASSERT_TRUE(
            sim.control(
                   "fault",
                   {{"word", "GetVersion"}, {"kind", c.kind}, {"value", c.value}, {"count", "2"}})
                .ok());
        const auto outcome = c.session->exchange(versionUrl(sim), nullptr);
        EXPECT_EQ(errorCode(outcome), c.error);
        if (const auto* reply = std::get_if<HttpReply>(&outcome)) {
            EXPECT_EQ(reply->status, c.status);
            EXPECT_GE(reply->body.size(), c.minBody);
        }
        // The request helper gives nothing for an error or an empty body, and traces errors.
        const size_t tracedBefore = trace.size();
        EXPECT_EQ(c.session->request(versionUrl(sim), nullptr).has_value(), c.minBody > 0);
        ASSERT_EQ(trace.size(), tracedBefore + (c.error ? 1 : 0));
        if (c.error) {
            EXPECT_EQ(trace.back().rfind("Internet Error: " + std::to_string(c.error), 0), 0u);
        }
        if (c.session == capped.get()) {
            EXPECT_NE(trace.back().find("larger than 1048576"), std::string::npos);
        }
    }
    for (auto* session : {stalling.get(), capped.get(), normal.get()}) {
        EXPECT_TRUE(session->request(versionUrl(sim), nullptr)) << "the session recovers";
    }
}

TEST(InternetSessionSim, UnreachableOrInvalidUrls) {
    auto session = openSession();
    EXPECT_EQ(errorCode(session->exchange(kRefused, nullptr)), ie::kCannotConnect);
    EXPECT_EQ(errorCode(session->exchange("ftp://127.0.0.1/", nullptr)), ie::kInvalidUrl);
    EXPECT_EQ(errorCode(session->exchange("http://[::1", nullptr)), ie::kInvalidUrl);
    EXPECT_FALSE(session->request("", nullptr));
}

TEST(InternetSessionSim, CloseFromAnotherThreadEndsTheExchangeAtOnce) {
    SimProcess sim;
    ASSERT_TRUE(sim.running()) << sim.error();
    ASSERT_TRUE(
        sim.control("fault", {{"word", "GetVersion"}, {"kind", "delay"}, {"value", "10000"}}).ok());
    auto session = openSession();
    const auto start = std::chrono::steady_clock::now();
    std::thread closer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        session->close();
    });
    const auto outcome = session->exchange(versionUrl(sim), nullptr);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    closer.join();
    EXPECT_EQ(errorCode(outcome), ie::kOperationCancelled);
    EXPECT_LT(elapsed, std::chrono::seconds(5));
    EXPECT_TRUE(session->closed());
    EXPECT_EQ(errorCode(session->exchange(versionUrl(sim), nullptr)), ie::kOperationCancelled);
}

TEST(InternetSessionProxy, EveryRequestGoesThroughTheProxy) {
    SimProcess sim;
    ProxyProcess proxy;
    ASSERT_TRUE(sim.running()) << sim.error();
    ASSERT_TRUE(proxy.running()) << proxy.error();
    auto session = openSession(options(nullptr, {1, "127.0.0.1", proxy.port()}));
    const std::string body = "User=bob&Password=bob";
    const std::string loginUrl = sim.url() + "?View=StatusCheck&GetSession=Yes";
    EXPECT_TRUE(session->request(versionUrl(sim), nullptr));
    EXPECT_TRUE(session->request(loginUrl, &body));
    const std::string log = proxy.log();
    EXPECT_NE(log.find("GET " + versionUrl(sim)), std::string::npos) << log;
    EXPECT_NE(log.find("POST " + loginUrl), std::string::npos);
    EXPECT_EQ(sim.request_log().back().body, body);

    auto wrongPort = openSession(options(nullptr, {1, "127.0.0.1", 1}));
    EXPECT_EQ(errorCode(wrongPort->exchange(versionUrl(sim), nullptr)), ie::kCannotConnect);
}

TEST(InternetSessionProxy, ProxyAuthenticationAsksForTheProxy) {
    SimProcess sim;
    ProxyProcess proxy("u p");
    ASSERT_TRUE(sim.running()) << sim.error();
    ASSERT_TRUE(proxy.running()) << proxy.error();
    const ConnectionSettings viaProxy{1, "127.0.0.1", proxy.port()};

    ScriptedPrompt cancel({std::nullopt});
    EXPECT_FALSE(openSession(options(&cancel, viaProxy))->request(versionUrl(sim), nullptr));
    EXPECT_EQ(cancel.asks.size(), 1u);
    EXPECT_TRUE(sim.request_log().empty());

    ScriptedPrompt prompt({Credentials{"u", "p"}});
    auto session = openSession(options(&prompt, viaProxy));
    EXPECT_TRUE(session->request(versionUrl(sim), nullptr));
    EXPECT_TRUE(session->request(versionUrl(sim), nullptr));
    ASSERT_EQ(prompt.asks, (std::vector{std::make_pair(AuthTarget::Proxy, proxyText(viaProxy))}));
    EXPECT_EQ(sim.request_log().size(), 2u);
}

}  // namespace
}  // namespace vellix
