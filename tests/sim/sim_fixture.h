// An in-process skyloom-sim with a small seed, and helpers to speak its protocol.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "server.h"
#include "support/sim_client.h"

namespace vellix::sim::testing {

inline constexpr std::string_view kTestSeed = R"(
[server]
version = 9.0.1
autoupdate = yes
[public-contacts]
contact = desk@x.test|Front Desk
[account a@x.test]
password = pa
name = Ann A
flags = instantmessaging modifyglobalcontacts calendar
folder = INBOX:Inbox:10:2:0:0
folder = Sent:Sent Items:3:0:0:0
buddy = b@x.test|Ben B
buddy = c@x.test|Cy C
settings = [Vellix]\nInterval=5\n
[account b@x.test]
password = pb
name = Ben B
flags = instantmessaging
buddy = a@x.test|Ann A
[account c@x.test]
password = pc
name = Cy C
flags = instantmessaging groupwareenabled groupwareuser
buddy = a@x.test|Ann A
)";

class SimTest : public ::testing::Test {
  protected:
    void SetUp() override { start(options()); }
    void TearDown() override {
        if (server_) server_->stop();
    }

    virtual ServerOptions options() {
        ServerOptions o;
        o.service.long_poll_timeout = std::chrono::milliseconds(3000);
        return o;
    }

    void start(ServerOptions o) {
        const SeedResult seed = parse_seed(kTestSeed);
        ASSERT_TRUE(seed.ok) << seed.error;
        server_ = std::make_unique<Server>(std::move(o), seed.data);
        std::string error;
        ASSERT_TRUE(server_->start(&error)) << error;
    }

    std::string url(const std::string& query) const { return server_->url() + "?" + query; }

    test::HttpResult get(const std::string& query, const std::string& agent = "Vellix") const {
        return test::http_get(url(query), agent);
    }
    test::HttpResult post(const std::string& query, const std::string& body) const {
        return test::http_post(url(query), body);
    }
    // Status request with the session filled in: "Session=S&View=StatusCheck&<word>".
    test::HttpResult call(const std::string& session, const std::string& word,
                          const std::string* body = nullptr) const {
        const std::string q = "Session=" + session + "&View=StatusCheck&" + word;
        return body ? post(q, *body) : get(q);
    }

    std::string login(const std::string& user, const std::string& password,
                      bool take_over = false) const {
        const auto r = post(
            std::string("View=StatusCheck&GetSession=Yes") + (take_over ? "&TakeOver=Yes" : ""),
            "User=" + user + "&Password=" + password);
        return test::reply_tag(r.body, "session").value_or("");
    }

    test::HttpResult control(const std::string& command, const std::string& query = "") const {
        return test::http_get("http://127.0.0.1:" + std::to_string(server_->port()) + "/_sim/" +
                              command + "?" + query);
    }

    // Waits until the account holds `n` long polls (the wait was registered).
    bool await_waiting(const std::string& account, int n) const {
        for (int i = 0; i < 500; ++i) {
            if (server_->state().waiting(account) == n) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    std::unique_ptr<Server> server_;
};

}  // namespace vellix::sim::testing
