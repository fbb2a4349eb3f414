// File transfer through skyloom-sim (a child process, so only the client's work is counted):
// the Vellix upload and download workers beside the curl program moving the same file
// through the same sim in the same run; this process's resident memory before, during and
// after; CPU seconds per GiB; the time from cancel until a worker has ended.
//   transfer_bench [megabytes=1024] [rounds=3]
#include <sys/resource.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <thread>

#include "server/internet_session.h"
#include "server/reply_tags.h"
#include "server/server_requests.h"
#include "sim_bench_util.h"
#include "transfer/file_download.h"
#include "transfer/file_upload.h"

using namespace vellix;
using namespace vellix::sim::bench;
namespace fs = std::filesystem;

namespace {

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Alice and bob on the sim's status interface: sessions, offers, answers, events.
struct Peers {
    std::string url, alice, bob;
    std::unique_ptr<InternetSession> http;

    bool open(const std::string& server) {
        url = server;
        InternetSession::Options options;
        options.agent = "Vellix";
        auto session = InternetSession::open(std::move(options));
        if (!session.ok()) return false;
        http = std::move(session).value();
        alice = login("alice%40demo.local", "alice");
        bob = login("bob%40demo.local", "bob");
        return !alice.empty() && !bob.empty();
    }
    std::string login(const char* user, const char* password) {
        const std::string body = std::string("User=") + user + "&Password=" + password;
        const auto reply = http->request(url + "?View=StatusCheck&GetSession=Yes", &body);
        return reply ? GetTagValue(*reply, "session") : std::string();
    }
    // Offered by alice and accepted by bob, so an upload of `name` is allowed.
    bool agree(const std::string& name, std::uint64_t size) {
        return http->request(requests::fileOffer(url, alice, "bob@demo.local", name, size),
                             nullptr) &&
               http->request(requests::fileAnswer(url, bob, true, "alice@demo.local", name),
                             nullptr);
    }
    // The file's identifier from bob's "available" event.
    std::string waitForFile() {
        const std::string poll = url + "?Session=" + bob + "&View=StatusCheck&WaitForIM=Yes";
        for (int i = 0; i < 20; ++i) {
            const auto reply = http->request(poll, nullptr);
            if (reply && reply->find("<filetransferstatus>") != std::string::npos) {
                return GetTagValue(*reply, "fileid");
            }
        }
        return {};
    }
};

struct Run {
    double ms = 0;
    bool ok = false;
};

template <class Worker, class Job>
Run runWorker(Job job, long* peakKib) {
    std::promise<TransferResult> ended;
    Worker worker(std::move(job), ConnectionSettings{},
                  {.progress = [] {}, .ended = [&](TransferResult r) { ended.set_value(r); }});
    const auto start = Clock::now();
    worker.start();
    auto result = ended.get_future();
    while (result.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
        *peakKib = std::max(*peakKib, rss_kib());
    }
    const Run run{ms_since(start), result.get().outcome == TransferOutcome::Complete};
    worker.wait();
    return run;
}

Run runCurl(std::vector<std::string> args) {
    const auto start = Clock::now();
    const bool ok = run_curl(std::move(args));
    return {ms_since(start), ok};
}

void writeFile(const std::string& path, std::uint64_t size) {
    std::ofstream out(path, std::ios::binary);
    std::string block(1 << 20, '\0');
    for (std::uint64_t done = 0; done < size; done += block.size()) {
        for (size_t i = 0; i < block.size(); i += 8) block[i] = static_cast<char>(done + i);
        out.write(block.data(), static_cast<std::streamsize>(block.size()));
    }
}

double mibPerSecond(std::uint64_t bytes, double ms) {
    return static_cast<double>(bytes) / (1 << 20) / (ms / 1000);
}

}  // namespace

int main(int argc, char** argv) {
    const std::uint64_t megabytes = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1024;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
    const std::uint64_t size = megabytes << 20;
    const fs::path folder =
        fs::temp_directory_path() / ("transfer_bench." + std::to_string(getpid()));
    fs::create_directories(folder / "spool");
    const std::string source = folder / "source.bin";
    const std::string saved = folder / "saved.bin";
    writeFile(source, size);

    SimChild sim;
    if (!sim.start(
            {"--spool-dir", folder / "spool", "--spool-mb", std::to_string(2 * megabytes + 64),
             "--max-upload-mb", std::to_string(megabytes + 1)},
            VELLIX_BINARY_DIR)) {
        std::fprintf(stderr, "skyloom-sim did not start\n");
        return 1;
    }
    Peers peers;
    if (!peers.open(sim.url)) {
        std::fprintf(stderr, "login failed\n");
        return 1;
    }
    const long idleKib = rss_kib();
    long peakKib = idleKib;
    std::vector<double> up, down, curlUp, curlDown;
    double workerCpu = 0;
    for (int round = 0; round < rounds; ++round) {
        const std::string name = "file" + std::to_string(round) + ".bin";
        if (!peers.agree(name, size)) return 1;
        const double cpuBefore = cpuSeconds();
        const Run upload = runWorker<FileUpload>(
            UploadJob{requests::fileUpload(sim.url, peers.alice, "bob@demo.local", name), source,
                      size},
            &peakKib);
        const std::string id = peers.waitForFile();
        std::fprintf(stderr, "round %d: upload %.0f ms, file %s\n", round, upload.ms, id.c_str());
        const Run download = runWorker<FileDownload>(
            DownloadJob{requests::fileDownload(sim.url, peers.bob, id, "alice@demo.local", name),
                        saved, size, false},
            &peakKib);
        workerCpu += cpuSeconds() - cpuBefore;
        if (!upload.ok || !download.ok || fs::file_size(saved) != size) {
            std::fprintf(stderr, "round %d: the workers did not move the file\n", round);
            return 1;
        }
        fs::remove(saved);

        const std::string curlName = "curl" + std::to_string(round) + ".bin";
        if (!peers.agree(curlName, size)) return 1;
        const Run viaCurlUp = runCurl(
            {"-sS", "-o", "/dev/null", "-A", "VellixFile", "-H",
             "Content-Type: application/octet-stream", "-H", "Expect:", "-X", "POST", "-T", source,
             requests::fileUpload(sim.url, peers.alice, "bob@demo.local", curlName)});
        const std::string curlId = peers.waitForFile();
        const Run viaCurlDown = runCurl(
            {"-sS", "-o", saved, "-A", "VellixFile",
             requests::fileDownload(sim.url, peers.bob, curlId, "alice@demo.local", curlName)});
        if (!viaCurlUp.ok || !viaCurlDown.ok || fs::file_size(saved) != size) {
            std::fprintf(stderr, "round %d: curl did not move the file\n", round);
            return 1;
        }
        fs::remove(saved);
        up.push_back(upload.ms);
        down.push_back(download.ms);
        curlUp.push_back(viaCurlUp.ms);
        curlDown.push_back(viaCurlDown.ms);
    }
    const long afterKib = rss_kib();

    // Cancel: an upload under way, until its worker has ended.
    std::vector<double> cancels;
    for (int i = 0; i < 5; ++i) {
        const std::string name = "cancel" + std::to_string(i) + ".bin";
        if (!peers.agree(name, size)) return 1;
        std::promise<void> moving;
        std::atomic<bool> told{false};
        FileUpload worker(
            UploadJob{requests::fileUpload(sim.url, peers.alice, "bob@demo.local", name), source,
                      size},
            ConnectionSettings{},
            {.progress =
                 [&] {
                     if (!told.exchange(true)) moving.set_value();
                 },
             .ended = [](TransferResult) {}});
        worker.start();
        // Cancelled as soon as bytes move, well before the end even of a small file.
        moving.get_future().wait();
        const auto start = Clock::now();
        worker.cancel();
        worker.wait();
        cancels.push_back(ms_since(start));
    }
    fs::remove_all(folder);

    const double upMs = summarize(up).median, downMs = summarize(down).median;
    const double curlUpMs = summarize(curlUp).median, curlDownMs = summarize(curlDown).median;
    std::printf("file %llu MiB, %d rounds, medians\n", static_cast<unsigned long long>(megabytes),
                rounds);
    std::printf("upload    vellix %8.1f MiB/s   curl %8.1f MiB/s   ratio %.2f\n",
                mibPerSecond(size, upMs), mibPerSecond(size, curlUpMs), curlUpMs / upMs);
    std::printf("download  vellix %8.1f MiB/s   curl %8.1f MiB/s   ratio %.2f\n",
                mibPerSecond(size, downMs), mibPerSecond(size, curlDownMs), curlDownMs / downMs);
    std::printf("resident  before %ld KiB, peak during %ld KiB (+%ld), after %ld KiB\n", idleKib,
                peakKib, peakKib - idleKib, afterKib);
    std::printf("cpu       %.2f s per GiB moved (upload + download)\n",
                workerCpu / (2.0 * rounds * static_cast<double>(size) / (1 << 30)));
    std::printf("cancel    median %.2f ms, max %.2f ms until the worker ended\n",
                summarize(cancels).median, summarize(cancels).max);
    return 0;
}
