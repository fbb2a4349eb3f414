#include "cli_options.h"

#include "text_util.h"

namespace vellix::sim {
namespace {

bool number(const std::string& text, unsigned long long max, unsigned long long& out) {
    return parse_uint(text, out) && out <= max;
}

}  // namespace

std::string cli_usage() {
    return "usage: skyloom-sim [options]\n"
           "  --port N                 loopback port, 0 picks a free one (default 0)\n"
           "  --bind ADDR              address to listen on (default 127.0.0.1)\n"
           "  --path P                 server path (default /skyloom/app.dll)\n"
           "  --seed FILE              accounts and folders (default: built-in demo accounts)\n"
           "  --demo                   bot account and mail that arrives every so often\n"
           "  --mail-interval S        demo mail period in seconds (default 45)\n"
           "  --https                  TLS with a self-signed certificate made at start\n"
           "  --cert FILE --key FILE   TLS with these PEM files instead\n"
           "  --cert-out FILE          write the generated certificate there\n"
           "  --basic-auth USER:PASS   HTTP Basic authentication in front of the server path\n"
           "  --control-token T        token the control interface (/_sim/...) asks for\n"
           "  --long-poll-timeout S    seconds an idle WaitForIM is held (default 30)\n"
           "  --long-poll-timeout-ms M the same in milliseconds\n"
           "  --max-connections N      connections held at once (default 4096)\n"
           "  --max-upload-mb N        largest file upload (default 2048)\n"
           "  --spool-dir DIR          folder uploads wait in (default: a private one in $TMPDIR)\n"
           "  --spool-mb N             total size of the waiting uploads (default 4096)\n"
           "Prints \"listening on <port>\" once it accepts connections.\n";
}

CliResult parse_cli(const std::vector<std::string>& args) {
    CliResult r;
    CliOptions& o = r.options;
    const auto fail = [&](const std::string& why) {
        r.error = why;
        return r;
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool has_value = i + 1 < args.size();
        const auto value = [&]() -> const std::string& { return args[++i]; };
        unsigned long long n = 0;
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--demo") {
            o.demo = true;
        } else if (a == "--https") {
            o.server.https = true;
        } else if (!has_value) {
            return fail("unknown option or missing value: " + a);
        } else if (a == "--port") {
            if (!number(value(), 65535, n)) return fail("bad --port");
            o.server.port = static_cast<uint16_t>(n);
        } else if (a == "--bind") {
            o.server.bind = value();
        } else if (a == "--path") {
            o.server.service.path = value();
            if (o.server.service.path.empty() || o.server.service.path[0] != '/' ||
                o.server.service.path.starts_with(kControlPrefix)) {
                return fail("--path must start with / and not with /_sim/");
            }
        } else if (a == "--seed") {
            o.seed_file = value();
        } else if (a == "--mail-interval") {
            if (!number(value(), 86400, n) || n == 0) return fail("bad --mail-interval");
            o.mail_interval = std::chrono::seconds(n);
        } else if (a == "--cert") {
            o.server.tls.cert_file = value();
            o.server.https = true;
        } else if (a == "--key") {
            o.server.tls.key_file = value();
            o.server.https = true;
        } else if (a == "--cert-out") {
            o.server.tls.cert_out = value();
        } else if (a == "--basic-auth") {
            o.server.service.basic_auth = value();
            if (o.server.service.basic_auth.find(':') == std::string::npos) {
                return fail("--basic-auth needs USER:PASS");
            }
        } else if (a == "--control-token") {
            o.server.service.control_token = value();
        } else if (a == "--long-poll-timeout") {
            if (!number(value(), 86400, n)) return fail("bad --long-poll-timeout");
            o.server.service.long_poll_timeout = std::chrono::seconds(n);
        } else if (a == "--long-poll-timeout-ms") {
            if (!number(value(), 86400000, n)) return fail("bad --long-poll-timeout-ms");
            o.server.service.long_poll_timeout = std::chrono::milliseconds(n);
        } else if (a == "--max-connections") {
            if (!number(value(), 1000000, n) || n == 0) return fail("bad --max-connections");
            o.server.max_connections = n;
        } else if (a == "--max-upload-mb") {
            if (!number(value(), 4096, n)) return fail("bad --max-upload-mb");
            o.server.service.max_upload = static_cast<size_t>(n) << 20;
        } else if (a == "--spool-dir") {
            o.server.service.spool_dir = value();
        } else if (a == "--spool-mb") {
            if (!number(value(), 1u << 24, n)) return fail("bad --spool-mb");
            o.server.service.spool_limit = static_cast<uint64_t>(n) << 20;
        } else {
            return fail("unknown option: " + a);
        }
    }
    if (o.server.tls.cert_file.empty() != o.server.tls.key_file.empty()) {
        return fail("--cert and --key go together");
    }
    r.ok = true;
    return r;
}

}  // namespace vellix::sim
