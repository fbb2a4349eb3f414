#include <gtest/gtest.h>

#include "http_request.h"

namespace vellix::sim {
namespace {

struct Outcome {
    RequestParser::State state;
    int status = 0;
    HttpRequest request;
};

// Feeds `wire` in pieces of `step` bytes, as a socket might deliver it.
Outcome parse(const std::string& wire, size_t step, ParserLimits limits = {}) {
    RequestParser p(limits);
    size_t pos = 0;
    while (pos < wire.size() && p.state() == RequestParser::State::Incomplete) {
        const size_t used = p.feed(std::string_view(wire).substr(pos, step));
        pos += used;
        if (used == 0) break;
    }
    Outcome o{p.state(), p.error_status(), {}};
    if (o.state == RequestParser::State::Complete) o.request = p.take();
    return o;
}

TEST(SimHttpParser, CompleteRequestsInAnyPieces) {
    const struct {
        const char* name;
        std::string wire;
        std::string path, query, body;
        bool keep_alive = true, expects_continue = false;
    } cases[] = {
        {"get", "GET /skyloom/app.dll?View=StatusCheck&GetVersion=Yes HTTP/1.1\r\nHost: x\r\n\r\n",
         "/skyloom/app.dll", "View=StatusCheck&GetVersion=Yes", ""},
        {"post with length", "POST /p HTTP/1.1\r\nContent-Length: 5\r\n\r\nhello", "/p", "",
         "hello"},
        {"chunked",
         "POST /p HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n5;ext=1\r\nhello\r\n"
         "6\r\n world\r\n0\r\nX-Trailer: 1\r\n\r\n",
         "/p", "", "hello world"},
        {"bare line feeds", "GET /a?b HTTP/1.0\nUser-Agent: VellixIM\n\n", "/a", "b", "", false},
        {"1.0 keep-alive", "GET / HTTP/1.0\r\nConnection: Keep-Alive\r\n\r\n", "/", "", ""},
        {"close", "GET / HTTP/1.1\r\nConnection: close\r\n\r\n", "/", "", "", false},
        {"continue", "POST / HTTP/1.1\r\nExpect: 100-continue\r\nContent-Length: 0\r\n\r\n", "/",
         "", "", true, true},
        {"leading blank lines", "\r\n\r\nGET / HTTP/1.1\r\n\r\n", "/", "", ""},
        {"binary body", std::string("POST /u HTTP/1.1\r\nContent-Length: 3\r\n\r\n\0\r\n", 42),
         "/u", "", std::string("\0\r\n", 3)},
    };
    for (const auto& c : cases) {
        for (size_t step : {size_t{1}, size_t{7}, c.wire.size()}) {
            const Outcome o = parse(c.wire, step);
            ASSERT_EQ(o.state, RequestParser::State::Complete) << c.name << " step " << step;
            EXPECT_EQ(o.request.path, c.path) << c.name;
            EXPECT_EQ(o.request.query, c.query) << c.name;
            EXPECT_EQ(o.request.body, c.body) << c.name;
            EXPECT_EQ(o.request.keep_alive(), c.keep_alive) << c.name;
            EXPECT_EQ(o.request.expects_continue(), c.expects_continue) << c.name;
        }
    }
}

TEST(SimHttpParser, BrokenRequestsGetAStatus) {
    ParserLimits small;
    small.max_head = 256;
    small.max_body = 10;
    const struct {
        const char* name;
        std::string wire;
        int status;
    } cases[] = {
        {"no version", "GET /\r\n\r\n", 400},
        {"lower-case method", "get / HTTP/1.1\r\n\r\n", 400},
        {"relative target", "GET x HTTP/1.1\r\n\r\n", 400},
        {"http 2", "GET / HTTP/2.0\r\n\r\n", 505},
        {"folded header", "GET / HTTP/1.1\r\nA: b\r\n c\r\n\r\n", 400},
        {"header without colon", "GET / HTTP/1.1\r\nnonsense\r\n\r\n", 400},
        {"bad length", "POST / HTTP/1.1\r\nContent-Length: -1\r\n\r\n", 400},
        {"two lengths", "POST / HTTP/1.1\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\nab", 400},
        {"length and chunked",
         "POST / HTTP/1.1\r\nContent-Length: 1\r\nTransfer-Encoding: chunked\r\n\r\n", 400},
        {"gzip encoding", "POST / HTTP/1.1\r\nTransfer-Encoding: gzip\r\n\r\n", 501},
        {"body too large", "POST / HTTP/1.1\r\nContent-Length: 11\r\n\r\n", 413},
        {"chunks too large",
         "POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n8\r\n12345678\r\n8\r\n", 413},
        {"bad chunk size", "POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n", 400},
        {"huge chunk size",
         "POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\nffffffffffffffff\r\n", 400},
        {"chunk without crlf", "POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n1\r\nab", 400},
        {"head too large", "GET /" + std::string(300, 'a') + " HTTP/1.1\r\n\r\n", 431},
    };
    for (const auto& c : cases) {
        const Outcome o = parse(c.wire, 3, small);
        EXPECT_EQ(o.state, RequestParser::State::Error) << c.name;
        EXPECT_EQ(o.status, c.status) << c.name;
    }
}

TEST(SimHttpParser, BodyLimitCanDependOnTheHead) {
    RequestParser p({},
                    [](const HttpRequest& h) { return h.query == "FileUpload=Yes" ? 100u : 2u; });
    p.feed("POST /?FileUpload=Yes HTTP/1.1\r\nContent-Length: 50\r\n\r\n" + std::string(50, 'x'));
    EXPECT_EQ(p.state(), RequestParser::State::Complete);
    p.take();
    p.feed("POST /?Other=Yes HTTP/1.1\r\nContent-Length: 50\r\n\r\n");
    EXPECT_EQ(p.error_status(), 413);
}

}  // namespace
}  // namespace vellix::sim
