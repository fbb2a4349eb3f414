// Idle cost of a connected vellix beside a Qt program that only shows a tray icon, both with
// their icon in a real tray (trayer on a private Xvfb, no session bus, so the icon is
// embedded) at normal time scale, sampled side by side once a second from /proc: CPU
// seconds (utime+stime, and the finer per-thread schedstat sum), CPU %, resident memory
// (median, max) and private memory (median), and the ratios. No mail arrives. Polls in the
// window are counted in the sim's request log.
//   idle_footprint_bench [seconds=600] [poll interval minutes=5]
// VELLIX_BINARY_DIR and MINIMAL_TRAY_PROGRAM in the environment override the built paths.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "sim_bench_util.h"

extern char** environ;

namespace fs = std::filesystem;
using namespace vellix::sim::bench;

namespace {

constexpr const char* kToken = "bench";
constexpr const char* kRefreshFolders = "vellix: message buddy window 33435";

// A child process whose stdout+stderr lines are collected on a thread, with arrival times.
class Child {
  public:
    struct Line {
        Clock::time_point at;
        std::string text;
    };
    pid_t pid = -1;
    int out = -1;  // read end of its stdout+stderr
    ~Child() {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
        if (reader_.joinable()) reader_.join();
        if (out >= 0) close(out);
    }
    void startReading() {
        reader_ = std::thread([this] {
            char buf[4096];
            std::string pending;
            ssize_t n;
            while ((n = read(out, buf, sizeof buf)) > 0) {
                pending.append(buf, static_cast<size_t>(n));
                for (size_t end; (end = pending.find('\n')) != std::string::npos;) {
                    std::lock_guard lock(mutex_);
                    lines_.push_back({Clock::now(), pending.substr(0, end)});
                    pending.erase(0, end + 1);
                }
            }
        });
    }
    std::vector<Line> lines() {
        std::lock_guard lock(mutex_);
        return lines_;
    }

  private:
    std::mutex mutex_;
    std::vector<Line> lines_;
    std::thread reader_;
};

bool spawn(Child& child, std::vector<std::string> args, const std::vector<std::string>& env) {
    int pipe_fds[2];
    if (pipe(pipe_fds) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipe_fds[0]);
    std::vector<char*> argv, envp;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> env_copy = env;
    for (auto& e : env_copy) envp.push_back(e.data());
    envp.push_back(nullptr);
    const int rc =
        posix_spawn(&child.pid, args[0].c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipe_fds[1]);
    child.out = pipe_fds[0];
    if (rc != 0) child.pid = -1;
    if (rc == 0) child.startReading();
    return rc == 0;
}

// Everything but the variables we set, plus ours. No session bus: icons go into the tray.
std::vector<std::string> environment(const std::vector<std::string>& overrides) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry(*e);
        bool replaced = entry.rfind("VELLIX_TIME_SCALE=", 0) == 0 ||
                        entry.rfind("DBUS_SESSION_BUS_ADDRESS=", 0) == 0;
        for (const auto& o : overrides)
            replaced = replaced || entry.rfind(o.substr(0, o.find('=') + 1), 0) == 0;
        if (!replaced) env.push_back(entry);
    }
    env.insert(env.end(), overrides.begin(), overrides.end());
    return env;
}

std::string controlGet(uint16_t port, const std::string& command) {
    const int fd = connect_loopback(port);
    if (fd < 0) return {};
    const char* joint = command.find('?') == std::string::npos ? "?" : "&";
    send_all(fd, "GET /_sim/" + command + joint + "token=" + kToken +
                     " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
    std::string reply;
    char buf[65536];
    ssize_t n;
    while ((n = recv(fd, buf, sizeof buf, 0)) > 0) reply.append(buf, static_cast<size_t>(n));
    close(fd);
    return reply;
}

std::string body(const std::string& reply) {
    const size_t at = reply.find("\r\n\r\n");
    if (at == std::string::npos) return "?";
    std::string text = reply.substr(at + 4);
    while (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
}

// The stored form of alice's password, from the tool scripts use.
std::string encodedPassword(const std::string& bin) {
    FILE* tool = popen((bin + "/bin/vellix-encode-password alice").c_str(), "r");
    char line[256] = {};
    if (!tool || !fgets(line, sizeof line, tool)) line[0] = 0;
    if (tool) pclose(tool);
    std::string text(line);
    while (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
}

size_t countOf(const std::string& text, const std::string& word) {
    size_t count = 0;
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1))
        ++count;
    return count;
}

struct Sample {
    double cpuTicks = 0, schedNs = 0;
    long rssKib = 0, privateKib = 0;
};

// utime+stime of the whole process, on-CPU time of its live threads, resident memory.
Sample sample(pid_t pid) {
    Sample s;
    const std::string proc = "/proc/" + std::to_string(pid);
    std::ifstream stat(proc + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), {});
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14 || i == 15) s.cpuTicks += std::stod(field);
    }
    std::error_code ec;
    for (const auto& task : fs::directory_iterator(proc + "/task", ec)) {
        std::ifstream sched(task.path() / "schedstat");
        double ns = 0;
        if (sched >> ns) s.schedNs += ns;
    }
    std::ifstream status(proc + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) s.rssKib = std::stol(line.substr(6));
    }
    // Pages no other process shares: what this program alone costs.
    std::ifstream rollup(proc + "/smaps_rollup");
    while (std::getline(rollup, line)) {
        if (line.rfind("Private_Clean:", 0) == 0) s.privateKib += std::stol(line.substr(14));
        if (line.rfind("Private_Dirty:", 0) == 0) s.privateKib += std::stol(line.substr(14));
    }
    return s;
}

struct Figures {
    double cpuSeconds = 0, schedSeconds = 0, cpuPercent = 0, rssMedianMib = 0, rssMaxMib = 0,
           privateMedianMib = 0;
};

Figures summarize(const std::vector<Sample>& samples, double seconds) {
    Figures f;
    const double tick = static_cast<double>(sysconf(_SC_CLK_TCK));
    f.cpuSeconds = (samples.back().cpuTicks - samples.front().cpuTicks) / tick;
    f.schedSeconds = (samples.back().schedNs - samples.front().schedNs) / 1e9;
    f.cpuPercent = 100.0 * f.cpuSeconds / seconds;
    std::vector<double> rss, own;
    for (const auto& s : samples) {
        rss.push_back(static_cast<double>(s.rssKib) / 1024.0);
        own.push_back(static_cast<double>(s.privateKib) / 1024.0);
    }
    const Stats stats = vellix::sim::bench::summarize(rss);
    f.rssMedianMib = stats.median;
    f.rssMaxMib = stats.max;
    f.privateMedianMib = vellix::sim::bench::summarize(own).median;
    return f;
}

std::string ratio(double a, double b) {
    if (b <= 0) return "n/a (baseline 0)";
    char text[32];
    std::snprintf(text, sizeof text, "%.2fx", a / b);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 600;
    const int interval = argc > 2 ? std::atoi(argv[2]) : 5;
    char dir_template[] = "/tmp/vellix-footprint-XXXXXX";
    const fs::path home = mkdtemp(dir_template);
    for (const char* sub : {"config/Vellix", "data", "runtime", "home"})
        fs::create_directories(home / sub);
    fs::permissions(home / "runtime", fs::perms::owner_all);
    // Declared before the children, so the folder goes after they have ended.
    const std::unique_ptr<const fs::path, void (*)(const fs::path*)> cleanup(
        &home, [](const fs::path* p) { fs::remove_all(*p); });
    // alice as in the built-in seed; the poll interval is the one under test.
    std::ofstream(home / "seed.ini")
        << "[account alice@demo.local]\npassword = alice\nname = Alice Archer\n"
           "flags = instantmessaging modifyglobalcontacts calendar\n"
           "folder = INBOX:Inbox:12:3:0:0\nfolder = Sent:Sent Items:40:0:0:0\n"
           "buddy = bob@demo.local|Bob Baker\n"
           "settings = [Vellix]\\nInterval="
        << interval << "\\nPlaySounds=Yes\\n\n[account bob@demo.local]\npassword = bob\n";

    const char* dir = std::getenv("VELLIX_BINARY_DIR");
    const std::string bin = dir && *dir ? dir : VELLIX_BINARY_DIR;
    Child sim;
    if (!spawn(sim,
               {bin + "/sim/skyloom-sim", "--port", "0", "--control-token", kToken, "--seed",
                (home / "seed.ini").string()},
               environment({}))) {
        std::fprintf(stderr, "cannot start skyloom-sim\n");
        return 1;
    }
    std::string url;
    for (int i = 0; i < 100 && url.empty(); ++i) {
        for (const auto& l : sim.lines())
            if (l.text.rfind("url ", 0) == 0) url = l.text.substr(4);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (url.empty()) return 1;
    const auto port = static_cast<uint16_t>(std::stoi(url.substr(url.rfind(':') + 1)));
    std::ofstream(home / "config/Vellix/Vellix.ini")
        << "[Vellix]\nURL=" << url << "\nLastEntry=1\nLastUser=1\nUser1=alice@demo.local\n"
        << "Password1=" << encodedPassword(bin) << "\nPwdSaveFlag1=YES\n";

    // A private X server that names its display once it accepts clients, and a tray on it.
    Child xvfb, tray;
    if (!spawn(
            xvfb,
            {"/usr/bin/Xvfb", "-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"},
            environment({}))) {
        std::fprintf(stderr, "cannot start Xvfb\n");
        return 1;
    }
    std::string display;
    for (int i = 0; i < 200 && display.empty(); ++i) {
        for (const auto& l : xvfb.lines())
            if (!l.text.empty() && l.text.find_first_not_of("0123456789") == std::string::npos)
                display = ":" + l.text;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (display.empty()) {
        std::fprintf(stderr, "Xvfb named no display\n");
        return 1;
    }
    if (!spawn(tray,
               {"/usr/bin/trayer", "--edge", "top", "--height", "32", "--SetDockType", "false"},
               environment({"DISPLAY=" + display}))) {
        std::fprintf(stderr, "cannot start trayer\n");
        return 1;
    }
    std::this_thread::sleep_for(std::chrono::seconds(1));  // the tray takes its selection

    const std::vector<std::string> qtEnv = {"XDG_CONFIG_HOME=" + (home / "config").string(),
                                            "XDG_DATA_HOME=" + (home / "data").string(),
                                            "XDG_RUNTIME_DIR=" + (home / "runtime").string(),
                                            "HOME=" + (home / "home").string(),
                                            "DISPLAY=" + display,
                                            "QT_QPA_PLATFORM=xcb"};
    std::vector<std::string> vellixEnv = qtEnv;
    vellixEnv.push_back("VELLIX_TRACE=1");
    Child vellix, minimal;
    if (!spawn(vellix, {bin + "/bin/vellix"}, environment(vellixEnv))) return 1;
    const char* baseline = std::getenv("MINIMAL_TRAY_PROGRAM");
    if (!spawn(minimal, {baseline && *baseline ? baseline : MINIMAL_TRAY_PROGRAM},
               environment(qtEnv)))
        return 1;

    // Connected: the first counts reached the folder table and the buddy window was told.
    const auto started = Clock::now();
    bool connected = false;
    while (!connected && ms_since(started) < 30000) {
        for (const auto& l : vellix.lines()) connected = connected || l.text == kRefreshFolders;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (!connected) {
        std::fprintf(stderr, "vellix did not connect within 30 s\n");
        for (const auto& l : vellix.lines()) std::fprintf(stderr, "%s\n", l.text.c_str());
        return 1;
    }
    std::printf("vellix connected %.0f ms after start; settling 5 s, then sampling %d s\n",
                ms_since(started), seconds);
    std::fflush(stdout);
    std::this_thread::sleep_for(std::chrono::seconds(5));

    const std::string logBefore = controlGet(port, "log");
    const size_t traceBefore = vellix.lines().size();
    std::vector<Sample> vs, ms;
    const auto window = Clock::now();
    for (int i = 0; i <= seconds; ++i) {
        std::this_thread::sleep_until(window + std::chrono::seconds(i));
        vs.push_back(sample(vellix.pid));
        ms.push_back(sample(minimal.pid));
    }
    const std::string logAfter = controlGet(port, "log");
    const std::string waiting = controlGet(port, "waiting?account=alice%40demo.local");

    const Figures v = summarize(vs, seconds), m = summarize(ms, seconds);
    std::printf("window %d s, 1 sample/s, xcb on Xvfb %s with trayer, time scale 1\n", seconds,
                display.c_str());
    std::printf("%-8s %10s %12s %8s %13s %10s %14s\n", "program", "CPU s", "on-CPU s", "CPU %",
                "RSS med MiB", "RSS max MiB", "private MiB");
    for (const auto& [name, f] : {std::pair{"vellix", v}, std::pair{"minimal", m}})
        std::printf("%-8s %10.2f %12.4f %8.4f %13.1f %10.1f %14.1f\n", name, f.cpuSeconds,
                    f.schedSeconds, f.cpuPercent, f.rssMedianMib, f.rssMaxMib, f.privateMedianMib);
    std::printf(
        "ratio vellix/minimal: CPU s %s, on-CPU s %s, RSS median %s, RSS max %s, private %s\n",
        ratio(v.cpuSeconds, m.cpuSeconds).c_str(), ratio(v.schedSeconds, m.schedSeconds).c_str(),
        ratio(v.rssMedianMib, m.rssMedianMib).c_str(), ratio(v.rssMaxMib, m.rssMaxMib).c_str(),
        ratio(v.privateMedianMib, m.privateMedianMib).c_str());

    // Poll moments: each check ends with the folder refresh in the trace.
    std::printf(
        "poll interval %d min: GetMessageCounts in window %zu, WaitForIM %zu, "
        "all requests %zu\n",
        interval, countOf(logAfter, "GetMessageCounts") - countOf(logBefore, "GetMessageCounts"),
        countOf(logAfter, "WaitForIM") - countOf(logBefore, "WaitForIM"),
        countOf(logAfter, "\"seq\"") - countOf(logBefore, "\"seq\""));
    std::printf("folder refreshes at s:");
    const auto lines = vellix.lines();
    for (size_t i = traceBefore; i < lines.size(); ++i) {
        if (lines[i].text == kRefreshFolders)
            std::printf(" %.1f", std::chrono::duration<double>(lines[i].at - window).count());
    }
    std::printf("\ntrace lines in window: %zu; long polls held at the end: %s\n",
                lines.size() - traceBefore, body(waiting).c_str());
    return 0;
}
