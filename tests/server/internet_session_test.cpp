// The HTTP exchange layer against the real sim, tinyproxy and a canned server on loopback.
#include "server/internet_session.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

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

class ScriptedPrompt : public CredentialsPrompt {
  public:
    explicit ScriptedPrompt(std::vector<std::optional<Credentials>> answers)
        : answers_(std::move(answers)) {}
    std::optional<Credentials> ask(AuthTarget target, const std::string& where) override {
        asks.emplace_back(target, where);
        return next_ < answers_.size() ? answers_[next_++] : std::nullopt;
    }
    std::vector<std::pair<AuthTarget, std::string>> asks;

  private:
    std::vector<std::optional<Credentials>> answers_;
    size_t next_ = 0;
};

struct Traced {
    std::vector<std::string> lines;
};

InternetSession::Options options(CredentialsPrompt* prompt = nullptr,
                                 ConnectionSettings connection = {}) {
    InternetSession::Options o;
    o.agent = "Vellix";
    o.prompt = prompt;
    o.connection = std::move(connection);
    return o;
}

std::unique_ptr<InternetSession> openSession(InternetSession::Options options,
                                             Traced* traced = nullptr) {
    if (options.agent.empty()) options.agent = "Vellix";
    if (traced)
        options.trace = [traced](const std::string& line) { traced->lines.push_back(line); };
    auto session = InternetSession::open(std::move(options));
    EXPECT_TRUE(session.ok()) << session.error();
    return session.ok() ? std::move(session).value() : nullptr;
}

int errorCode(const std::variant<HttpReply, InternetError>& outcome) {
    const auto* error = std::get_if<InternetError>(&outcome);
    return error ? error->code : 0;
}

// A port nothing listens on: bound once, then released.
uint16_t closedPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), len);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    ::close(fd);
    return ntohs(addr.sin_port);
}

std::string versionUrl(const SimProcess& sim) {
    return sim.url() + "?View=StatusCheck&GetVersion=Yes";
}

TEST(InternetSessionText, ProxyTextAndDiagnosticLine) {
    EXPECT_EQ(proxyText({1, "proxy.example", 8080}), "proxy.example:8080");
    EXPECT_EQ(proxyText({0, "proxy.example", 8080}), "");
    EXPECT_EQ(formatInternetError({12029, "refused"}), "Internet Error: 12029 - refused\n");
    EXPECT_EQ(formatInternetError({12002, std::string(300, 'x')}),
              "Internet Error: 12002 - " + std::string(255, 'x') + "\n");
}

TEST(InternetSessionErrors, CurlOutcomesMapToInternetErrors) {
    struct Case {
        CURLcode code;
        long verify;
        int expected;
        CertificateProblem problem;
    };
    using P = CertificateProblem;
    const Case cases[] = {
        {CURLE_OPERATION_TIMEDOUT, 0, ie::kTimeout, P::None},
        {CURLE_COULDNT_CONNECT, 0, ie::kCannotConnect, P::None},
        {CURLE_COULDNT_RESOLVE_HOST, 0, ie::kNameNotResolved, P::None},
        {CURLE_COULDNT_RESOLVE_PROXY, 0, ie::kNameNotResolved, P::None},
        {CURLE_GOT_NOTHING, 0, ie::kConnectionAborted, P::None},
        {CURLE_PARTIAL_FILE, 0, ie::kConnectionAborted, P::None},
        {CURLE_RECV_ERROR, 0, ie::kConnectionReset, P::None},
        {CURLE_URL_MALFORMAT, 0, ie::kInvalidUrl, P::None},
        {CURLE_UNSUPPORTED_PROTOCOL, 0, ie::kInvalidUrl, P::None},
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
}

TEST(InternetSessionOpen, RefusesAProxySettingWithoutHostOrPort) {
    for (const ConnectionSettings& bad :
         {ConnectionSettings{1, "", 8080}, ConnectionSettings{1, "proxy.example", 0},
          ConnectionSettings{2, "proxy.example", 70000}}) {
        Traced traced;
        InternetSession::Options options;
        options.agent = "Vellix";
        options.connection = bad;
        options.trace = [&](const std::string& line) { traced.lines.push_back(line); };
        EXPECT_FALSE(InternetSession::open(options).ok()) << proxyText(bad);
        ASSERT_EQ(traced.lines.size(), 1u);
        EXPECT_EQ(traced.lines[0].rfind("Internet Error: 12004 - ", 0), 0u) << traced.lines[0];
    }
}

TEST(InternetSessionWire, SendsOnlyTheProgramsHeaders) {
    CannedHttpServer server(CannedHttpServer::ok_reply("<a>1</a>"));
    auto session = openSession(options());
    ASSERT_TRUE(session);
    const std::string host = "Host: 127.0.0.1:" + std::to_string(server.port()) + "\r\n";
    // Over 1 MiB, where libcurl would add "Expect: 100-continue".
    const std::string body((size_t{1} << 20) + 1000, 'b');
    ASSERT_EQ(session->request(server.url("/app.dll?View=StatusCheck"), nullptr, false),
              "<a>1</a>");
    ASSERT_EQ(session->request(server.url("/app.dll?X=1"), &body, false), "<a>1</a>");
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0],
              "GET /app.dll?View=StatusCheck HTTP/1.1\r\n" + host + "User-Agent: Vellix\r\n\r\n");
    const size_t headSize = requests[1].find("\r\n\r\n") + 4;
    EXPECT_EQ(requests[1].substr(0, headSize),
              "POST /app.dll?X=1 HTTP/1.1\r\n" + host +
                  "User-Agent: Vellix\r\nContent-Type: application/x-www-form-urlencoded\r\n"
                  "Content-Length: " +
                  std::to_string(body.size()) + "\r\n\r\n");
    EXPECT_TRUE(requests[1].compare(headSize, std::string::npos, body) == 0);
}

TEST(InternetSessionWire, LineFeedsAndEmptyBodies) {
    struct Case {
        std::string body;
        bool keep;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"one\r\ntwo\r\n", false, "one\rtwo\r"},
        {"one\r\ntwo\r\n", true, "one\r\ntwo\r\n"},
        {"\n\n", false, std::nullopt},
        {"\n", true, "\n"},
        {"", true, std::nullopt},
    };
    auto session = openSession(options());
    ASSERT_TRUE(session);
    for (const Case& c : cases) {
        CannedHttpServer server(CannedHttpServer::ok_reply(c.body));
        EXPECT_EQ(session->request(server.url(), nullptr, c.keep), c.expected) << c.body;
    }
}

TEST(InternetSessionWire, FollowsRedirectsOverHttpOnly) {
    SimProcess sim;
    ASSERT_TRUE(sim.running()) << sim.error();
    const auto redirect = [](const std::string& to) {
        return "HTTP/1.1 302 Found\r\nLocation: " + to + "\r\nContent-Length: 0\r\n\r\n";
    };
    auto session = openSession(options());
    ASSERT_TRUE(session);
    CannedHttpServer toSim(redirect(versionUrl(sim)));
    const auto reply = session->request(toSim.url(), nullptr, false);
    ASSERT_TRUE(reply);
    EXPECT_NE(reply->find("<vxversion>"), std::string::npos) << *reply;
    CannedHttpServer toFtp(redirect("ftp://127.0.0.1/file"));
    EXPECT_EQ(errorCode(session->exchange(toFtp.url(), nullptr)), ie::kInvalidUrl);
}

TEST(InternetSessionSim, GetAndPostArriveAsSent) {
    SimProcess sim;
    ASSERT_TRUE(sim.running()) << sim.error();
    auto imOptions = options();
    imOptions.agent = "VellixIM";
    auto session = openSession(imOptions);
    ASSERT_TRUE(session);
    const std::string body = "User=alice%40demo.local&Password=alice";
    const auto version = session->request(versionUrl(sim), nullptr, false);
    const auto login =
        session->request(sim.url() + "?View=StatusCheck&GetSession=Yes", &body, false);
    ASSERT_TRUE(version && login);
    EXPECT_NE(login->find("<session>"), std::string::npos) << *login;
    const auto log = sim.request_log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].method, "GET");
    EXPECT_EQ(log[0].query, "View=StatusCheck&GetVersion=Yes");
    EXPECT_EQ(log[0].user_agent, "VellixIM");
    EXPECT_EQ(log[1].method, "POST");
    EXPECT_EQ(log[1].query, "View=StatusCheck&GetSession=Yes");
    EXPECT_EQ(log[1].body, body);
}

TEST(InternetSessionSim, SelfSignedCertificateIsAcceptedOnTheRetry) {
    SimProcess sim({"--https"});
    ASSERT_TRUE(sim.running()) << sim.error();
    ASSERT_EQ(sim.url().rfind("https://", 0), 0u);
    Traced traced;
    auto session = openSession(options(), &traced);
    ASSERT_TRUE(session);
    for (int round = 0; round < 2; ++round) {
        const auto reply = session->request(versionUrl(sim), nullptr, false);
        ASSERT_TRUE(reply) << (traced.lines.empty() ? "" : traced.lines.back());
        EXPECT_NE(reply->find("<vxversion>"), std::string::npos);
    }
    EXPECT_EQ(sim.request_log().size(), 2u);  // the refused handshakes never became requests
    EXPECT_TRUE(traced.lines.empty());
}

TEST(InternetSessionSim, ServerAuthenticationAsksTheUser) {
    SimProcess sim({"--basic-auth", "u:p"});
    ASSERT_TRUE(sim.running()) << sim.error();
    const std::string where = "127.0.0.1:" + std::to_string(sim.port());

    EXPECT_FALSE(openSession(options())->request(versionUrl(sim), nullptr, false)) << "no prompt";

    ScriptedPrompt cancel({std::nullopt});
    EXPECT_FALSE(openSession(options(&cancel))->request(versionUrl(sim), nullptr, false));
    ASSERT_EQ(cancel.asks.size(), 1u);
    EXPECT_EQ(cancel.asks[0], std::make_pair(AuthTarget::Server, where));

    ScriptedPrompt prompt({Credentials{"u", "wrong"}, Credentials{"u", "p"}});
    auto session = openSession(options(&prompt));
    EXPECT_TRUE(session->request(versionUrl(sim), nullptr, false));
    EXPECT_EQ(prompt.asks.size(), 2u);
    const std::string body = "User=alice&Password=alice";
    EXPECT_TRUE(session->request(sim.url() + "?View=StatusCheck&GetSession=Yes", &body, false));
    EXPECT_EQ(prompt.asks.size(), 2u) << "the credentials are kept for later requests";
    EXPECT_EQ(sim.request_log().back().body, body);
}

TEST(InternetSessionSim, FaultsBecomeErrorsOrReplies) {
    struct Case {
        const char* kind;
        const char* value;
        int error;  // 0: a reply
        long status;
        size_t minBody;
    };
    const Case cases[] = {
        {"drop", "", ie::kConnectionAborted, 0, 0},
        {"truncate", "", ie::kConnectionAborted, 0, 0},
        {"empty", "", 0, 200, 0},
        {"status", "500", 0, 500, 1},
        {"huge", "50", 0, 200, size_t{50} << 20},
        {"delay", "3000", ie::kTimeout, 0, 0},
    };
    SimProcess sim;
    ASSERT_TRUE(sim.running()) << sim.error();
    Traced traced;
    // Only the delay case gets the short stall limit, so a loaded machine cannot time out
    // the others.
    auto shortStall = options();
    shortStall.limits = {std::chrono::seconds(5), std::chrono::seconds(1)};
    auto stalling = openSession(shortStall, &traced);
    auto normal = openSession(options(), &traced);
    ASSERT_TRUE(stalling && normal);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        InternetSession& session = std::string(c.kind) == "delay" ? *stalling : *normal;
        ASSERT_TRUE(
            sim.control(
                   "fault",
                   {{"word", "GetVersion"}, {"kind", c.kind}, {"value", c.value}, {"count", "2"}})
                .ok());
        const auto outcome = session.exchange(versionUrl(sim), nullptr);
        EXPECT_EQ(errorCode(outcome), c.error);
        if (const auto* reply = std::get_if<HttpReply>(&outcome)) {
            EXPECT_EQ(reply->status, c.status);
            EXPECT_GE(reply->body.size(), c.minBody);
        }
        // The request helper gives nothing for an error or an empty body, and traces errors.
        const size_t tracedBefore = traced.lines.size();
        const auto reply = session.request(versionUrl(sim), nullptr, false);
        EXPECT_EQ(reply.has_value(), c.minBody > 0);
        ASSERT_EQ(traced.lines.size(), tracedBefore + (c.error ? 1 : 0));
        if (c.error) {
            EXPECT_EQ(traced.lines.back().rfind("Internet Error: " + std::to_string(c.error), 0),
                      0u);
        }
    }
}

TEST(InternetSessionSim, RepliesBeyondTheCapFail) {
    SimProcess sim;
    ASSERT_TRUE(sim.running()) << sim.error();
    auto capped = options();
    capped.maxReplyBytes = size_t{1} << 20;
    auto session = openSession(capped);
    ASSERT_TRUE(
        sim.control("fault", {{"word", "GetVersion"}, {"kind", "huge"}, {"value", "8"}}).ok());
    const auto outcome = session->exchange(versionUrl(sim), nullptr);
    ASSERT_EQ(errorCode(outcome), ie::kInternalError);
    EXPECT_NE(std::get<InternetError>(outcome).text.find("larger than 1048576"), std::string::npos);
    EXPECT_TRUE(session->request(versionUrl(sim), nullptr, false)) << "the session still works";
}

TEST(InternetSessionSim, UnreachableOrInvalidUrls) {
    auto session = openSession(options());
    const std::string refused = "http://127.0.0.1:" + std::to_string(closedPort()) + "/app.dll";
    EXPECT_EQ(errorCode(session->exchange(refused, nullptr)), ie::kCannotConnect);
    EXPECT_EQ(errorCode(session->exchange("ftp://127.0.0.1/", nullptr)), ie::kInvalidUrl);
    EXPECT_EQ(errorCode(session->exchange("http://[::1", nullptr)), ie::kInvalidUrl);
    EXPECT_FALSE(session->request("", nullptr, false));
}

TEST(InternetSessionSim, CloseFromAnotherThreadEndsTheExchangeAtOnce) {
    SimProcess sim;
    ASSERT_TRUE(sim.running()) << sim.error();
    ASSERT_TRUE(
        sim.control("fault", {{"word", "GetVersion"}, {"kind", "delay"}, {"value", "10000"}}).ok());
    auto session = openSession(options());
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
    EXPECT_TRUE(session->request(versionUrl(sim), nullptr, false));
    EXPECT_TRUE(session->request(sim.url() + "?View=StatusCheck&GetSession=Yes", &body, false));
    const std::string log = proxy.log();
    EXPECT_NE(log.find("GET " + versionUrl(sim)), std::string::npos) << log;
    EXPECT_NE(log.find("POST " + sim.url() + "?View=StatusCheck&GetSession=Yes"),
              std::string::npos);
    EXPECT_EQ(sim.request_log().back().body, body);

    auto wrongPort = openSession(options(nullptr, {1, "127.0.0.1", closedPort()}));
    EXPECT_EQ(errorCode(wrongPort->exchange(versionUrl(sim), nullptr)), ie::kCannotConnect);
    EXPECT_TRUE(openSession(options())->request(versionUrl(sim), nullptr, false)) << "direct works";
}

TEST(InternetSessionProxy, ProxyAuthenticationAsksForTheProxy) {
    SimProcess sim;
    ProxyProcess proxy("u p");
    ASSERT_TRUE(sim.running()) << sim.error();
    ASSERT_TRUE(proxy.running()) << proxy.error();
    const ConnectionSettings viaProxy{1, "127.0.0.1", proxy.port()};

    ScriptedPrompt cancel({std::nullopt});
    EXPECT_FALSE(openSession(options(&cancel, viaProxy))->request(versionUrl(sim), nullptr, false));
    EXPECT_EQ(cancel.asks.size(), 1u);
    EXPECT_TRUE(sim.request_log().empty());

    ScriptedPrompt prompt({Credentials{"u", "p"}});
    auto session = openSession(options(&prompt, viaProxy));
    EXPECT_TRUE(session->request(versionUrl(sim), nullptr, false));
    EXPECT_TRUE(session->request(versionUrl(sim), nullptr, false));
    ASSERT_EQ(prompt.asks.size(), 1u);
    EXPECT_EQ(prompt.asks[0], std::make_pair(AuthTarget::Proxy, proxyText(viaProxy)));
    EXPECT_EQ(sim.request_log().size(), 2u);
}

}  // namespace
}  // namespace vellix
