// The server seen through raw sockets: what curl never sends.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "replies.h"
#include "sim_fixture.h"

namespace vellix::sim::testing {
namespace {

class RawSocket {
  public:
    explicit RawSocket(uint16_t port) : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(port);
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        (void)::connect(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    }
    ~RawSocket() { ::close(fd_); }
    void send(const std::string& data) const {
        (void)!::send(fd_, data.data(), data.size(), MSG_NOSIGNAL);
    }
    // Everything that arrives until `needle` is seen, the peer closes (closed_ is set), or 5 s
    // pass.
    std::string read_until(const std::string& needle) {
        std::string got;
        char buf[4096];
        while (got.find(needle) == std::string::npos) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 5000) <= 0) break;
            const ssize_t n = ::recv(fd_, buf, sizeof buf, 0);
            closed_ = n == 0;
            if (n <= 0) break;
            got.append(buf, static_cast<size_t>(n));
        }
        return got;
    }
    bool closed_ = false;

  private:
    int fd_;
};

class SimConnection : public SimTest {
  protected:
    ServerOptions options() override {
        ServerOptions o = SimTest::options();
        o.max_connections = 4;
        return o;
    }
    static std::string request(const std::string& query, const std::string& extra = "") {
        return "GET /skyloom/app.dll?" + query + " HTTP/1.1\r\nHost: x\r\n" + extra + "\r\n";
    }
};

TEST_F(SimConnection, PipelinedRequestsAreAnsweredInOrderAndBrokenOnesClose) {
    RawSocket s(server_->port());
    s.send(request("View=StatusCheck&GetVersion=Yes") + request("View=StatusCheck&Nothing=1") +
           request("View=StatusCheck&GetVersion=Yes", "Connection: close\r\n"));
    const std::string got = s.read_until("never");
    const size_t first = got.find("HTTP/1.1 200 OK");
    const size_t second = got.find("HTTP/1.1 400 Bad Request");
    ASSERT_NE(first, std::string::npos);
    EXPECT_LT(first, second);
    EXPECT_LT(second, got.find("HTTP/1.1 200 OK", first + 1));
    EXPECT_NE(got.find("Connection: close"), std::string::npos);
    EXPECT_TRUE(s.closed_);

    RawSocket broken(server_->port());
    broken.send("BREW /pot HTTP/3.0\r\n\r\n");
    EXPECT_TRUE(broken.read_until("never").starts_with("HTTP/1.1 505"));
    EXPECT_TRUE(broken.closed_);
}

TEST_F(SimConnection, ContinueIsSentBeforeTheBody) {
    const std::string a = login("a@x.test", "pa");
    RawSocket s(server_->port());
    s.send("POST /skyloom/app.dll?Session=" + a +
           "&View=StatusCheck&SaveIMSettings=Yes HTTP/1.1\r\nExpect: "
           "100-continue\r\nContent-Length: 15\r\n\r\n");
    EXPECT_EQ(s.read_until("\r\n\r\n"), "HTTP/1.1 100 Continue\r\n\r\n");
    s.send("IMSettings=x%41");
    EXPECT_NE(s.read_until("</result>").find("<result>success</result>"), std::string::npos);
    EXPECT_EQ(server_->state().im_settings("a@x.test"), "xA");
}

TEST_F(SimConnection, SenderVanishingMidUploadCancelsTheTransfer) {
    const std::string a = login("a@x.test", "pa");
    const std::string b = login("b@x.test", "pb");
    call(a, "WaitForIM=Yes");  // b's arrival
    call(a, "FileTransferRequest=yes&TransferTo=b@x.test&FileName=big.iso&FileSize=100000");
    call(b, "WaitForIM=Yes");
    call(b, "FileTransferResponse=yes&TransferFrom=a@x.test&FileName=big.iso");
    RawSocket(server_->port())
        .send("POST /skyloom/app.dll?Session=" + a +
              "&View=StatusCheck&FileUpload=Yes&TransferTo=b@x.test&FileName=big.iso HTTP/1.1\r\n"
              "Content-Length: 100000\r\n\r\n" +
              std::string(5000, 'x'));
    EXPECT_EQ(call(b, "WaitForIM=Yes").body,
              "<filetransferstatus><from>a@x.test</from><filename>big.iso</"
              "filename><status>cancelled</status></filetransferstatus>");
}

TEST_F(SimConnection, ConnectionsBeyondTheCapAreTurnedAway) {
    std::vector<std::unique_ptr<RawSocket>> held;
    for (int i = 0; i < 4; ++i) {
        held.push_back(std::make_unique<RawSocket>(server_->port()));
        held.back()->send(request("View=StatusCheck&GetVersion=Yes"));
        ASSERT_NE(held.back()->read_until("</autoupdate>").find("200 OK"), std::string::npos);
    }
    EXPECT_NE(RawSocket(server_->port()).read_until("</error>").find("503 Service Unavailable"),
              std::string::npos);
    held.clear();
    for (int i = 0; i < 100 && server_->active_connections() > 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_EQ(get("View=StatusCheck&GetVersion=Yes").status, 200);
}

}  // namespace
}  // namespace vellix::sim::testing
