#include "support/sim_process.h"

#include "support/child_process.h"

#include <poll.h>
#include <sys/prctl.h>
#include <unistd.h>
#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <random>
#include <thread>

namespace vellix::test {
namespace {

bool has_option(const std::vector<std::string>& args, const std::string& name) {
    return std::find(args.begin(), args.end(), name) != args.end();
}

// Reads one line from `fd` within the deadline; false on end of stream or time-out.
bool read_line(int fd, std::string& line, std::chrono::steady_clock::time_point deadline) {
    line.clear();
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0) continue;
        char c = 0;
        if (read(fd, &c, 1) != 1) return false;
        if (c == '\n') return true;
        line.push_back(c);
    }
    return false;
}

}  // namespace

std::string SimProcess::binary_path() {
    const char* dir = std::getenv("VELLIX_BINARY_DIR");
    return std::string(dir && *dir ? dir : VELLIX_BINARY_DIR) + "/sim/skyloom-sim";
}

SimProcess::SimProcess(std::vector<std::string> extra_args) {
    std::vector<std::string> args = {binary_path()};
    if (!has_option(extra_args, "--port")) args.insert(args.end(), {"--port", "0"});
    if (!has_option(extra_args, "--control-token")) {
        token_ = "t" + std::to_string(std::random_device{}());
        args.insert(args.end(), {"--control-token", token_});
    } else {
        token_ = *(std::find(extra_args.begin(), extra_args.end(), "--control-token") + 1);
    }
    if (!has_option(extra_args, "--long-poll-timeout") &&
        !has_option(extra_args, "--long-poll-timeout-ms")) {
        args.insert(args.end(), {"--long-poll-timeout", "5"});
    }
    https_ = has_option(extra_args, "--https") || has_option(extra_args, "--cert");
    args.insert(args.end(), extra_args.begin(), extra_args.end());

    int out[2];
    if (pipe(out) != 0) {
        error_ = "pipe failed";
        return;
    }
    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ == 0) {
        // A test that crashes must not leave its server running: an orphan holds the test's
        // output open and keeps ctest waiting for its time-out.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) _exit(127);
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(out[1]);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    std::string line;
    while (read_line(out[0], line, deadline)) {
        if (line.rfind("listening on ", 0) == 0) {
            port_ = static_cast<uint16_t>(std::stoi(line.substr(13)));
        } else if (line.rfind("url ", 0) == 0) {
            url_ = line.substr(4);
            break;
        }
    }
    close(out[0]);
    if (port_ == 0 || url_.empty()) {
        port_ = 0;
        error_ = "skyloom-sim did not start: " + binary_path();
    }
}

SimProcess::~SimProcess() {
    stop();
}

int SimProcess::stop() {
    return endChild(pid_, std::chrono::seconds(5));
}

HttpResult SimProcess::control(const std::string& command,
                               const std::vector<std::pair<std::string, std::string>>& params,
                               const std::string* body) const {
    auto all = params;
    all.emplace_back("token", token_);
    HttpCall call;
    call.url = std::string(https_ ? "https" : "http") + "://127.0.0.1:" + std::to_string(port_) +
               "/_sim/" + command + "?" + query_string(all);
    call.insecure = true;
    if (body) {
        call.body = *body;
        call.content_type = "text/xml";
    }
    return http_request(call);
}

std::vector<LoggedRequest> SimProcess::request_log() const {
    std::vector<LoggedRequest> out;
    const HttpResult r = control("log");
    if (!r.ok() || r.status != 200) return out;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(r.body));
    // The log writes every byte >= 0x80 as one code point of the same value.
    const auto bytes = [](const QJsonValue& v) { return v.toString().toLatin1().toStdString(); };
    for (const QJsonValue& v : doc.array()) {
        const QJsonObject o = v.toObject();
        out.push_back(
            {static_cast<uint64_t>(o.value(QStringLiteral("seq")).toDouble()),
             bytes(o.value(QStringLiteral("method"))), bytes(o.value(QStringLiteral("path"))),
             bytes(o.value(QStringLiteral("query"))), bytes(o.value(QStringLiteral("body"))),
             static_cast<size_t>(o.value(QStringLiteral("body_size")).toDouble()),
             bytes(o.value(QStringLiteral("user_agent")))});
    }
    return out;
}

bool SimProcess::wait_for_long_polls(const std::string& account, int count, int timeout_ms) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    const std::string want = std::to_string(count) + "\n";
    while (std::chrono::steady_clock::now() < deadline) {
        if (control("waiting", {{"account", account}}).body == want) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

std::string SimProcess::login(const std::string& user, const std::string& password) const {
    HttpCall call;
    call.url = url_ + "?View=StatusCheck&GetSession=Yes";
    call.body = query_string({{"User", user}, {"Password", password}});
    call.insecure = true;
    return reply_tag(http_request(call).body, "session").value_or("");
}

}  // namespace vellix::test
