// Bad requests against skyloom-sim: bytes through the HTTP parser in random pieces, and
// every request it completes through the request handlers of a seeded server state.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "http_request.h"
#include "seed.h"
#include "service.h"

using namespace vellix::sim;

namespace {

// A live session of alice; "@S@" in the input stands for it, so the fuzzer reaches the
// words that need a session.
std::string& session() {
    static std::string s;
    return s;
}

Service& service() {
    static SimState state(default_seed());
    static FaultTable faults;
    static Service s(state, faults, [] {
        ServiceConfig c;
        c.long_poll_timeout = std::chrono::milliseconds(0);
        c.control_token = "fuzz-control-token";
        c.max_upload = 1 << 20;
        return c;
    }());
    if (session().empty())
        session() = state.login("alice@demo.local", "alice", nullptr, false).session;
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    Service& svc = service();
    const size_t step = 1 + data[0] % 97;
    std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    for (size_t at = text.find("@S@"); at != std::string::npos; at = text.find("@S@", at + 1)) {
        text.replace(at, 3, session());
    }
    std::string_view input(text);
    ParserLimits limits;
    limits.max_head = 4096;
    limits.max_body = 8192;
    RequestParser parser(
        limits, [&](const HttpRequest& h) { return std::min<size_t>(svc.body_limit(h), 65536); });
    const RequestContext context{[] { return false; }};
    while (!input.empty()) {
        const size_t used = parser.feed(input.substr(0, step));
        input.remove_prefix(used);
        if (parser.state() == RequestParser::State::Error) {
            if (parser.error_status() < 400 || parser.error_status() > 505) __builtin_trap();
            break;
        }
        if (parser.state() == RequestParser::State::Complete) {
            HttpRequest request = parser.take();
            HttpResponse reply = svc.handle(request, context);
            if (reply.on_written) reply.on_written();
        } else if (used == 0) {
            __builtin_trap();  // the parser must always make progress
        }
    }
    parse_form(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
