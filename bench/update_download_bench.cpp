// The update download as Vellix does it (streamed in blocks to a new 0700 file in a private
// folder, then the signature fetched and checked) beside the curl command line fetching the
// same installer to a file, alternating in the same run against an in-process skyloom-sim.
// The signature check alone is timed too, so the download's own share can be read off.
//   update_download_bench [size_mib=64] [rounds=15]
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "server.h"
#include "sim_bench_util.h"
#include "update/installer_download.h"
#include "update/installer_signature.h"
#include "update/private_folder.h"

using namespace vellix;
using vellix::sim::bench::Clock;
using vellix::sim::bench::ms_since;
using vellix::sim::bench::summarize;

namespace {

struct NoProgress final : DownloadProgress {
    void sizeKnown(std::uint64_t) override {}
    void received(std::uint64_t) override {}
};

bool writeInstaller(const std::string& path, std::size_t bytes) {
    std::ofstream out(path, std::ios::binary);
    std::mt19937_64 random(42);
    std::vector<std::uint64_t> block(8192);
    for (std::size_t written = 0; written < bytes; written += block.size() * 8) {
        for (auto& word : block) word = random();
        out.write(reinterpret_cast<const char*>(block.data()),
                  static_cast<std::streamsize>(std::min(bytes - written, block.size() * 8)));
    }
    return out.good();
}

bool curlDownload(const std::string& url, const std::string& target) {
    return vellix::sim::bench::run_curl({"-sSf", "-o", target, "-A", kUpdateAgent, url});
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t sizeMib = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 64;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 15;
    auto folder = PrivateFolder::create("vellix-update-bench");
    auto keys = makeSigningKeys();
    if (!folder || !keys) return std::fprintf(stderr, "no folder or key\n"), 1;
    const std::string installer = folder->file("VellixInstall.sh");
    if (!writeInstaller(installer, sizeMib << 20)) return std::fprintf(stderr, "no file\n"), 1;
    auto signature = signInstaller(installer, keys->privatePem);
    if (!signature) return std::fprintf(stderr, "%s\n", signature.error().c_str()), 1;
    std::ofstream(installer + ".sig", std::ios::binary) << *signature;

    sim::SeedData seed = sim::default_seed();
    seed.installer_path = installer;
    sim::Server server(sim::ServerOptions{}, seed);
    if (!server.start()) return std::fprintf(stderr, "skyloom-sim did not start\n"), 1;
    InternetSession::Options options;
    options.agent = kUpdateAgent;
    auto session = InternetSession::open(std::move(options));
    if (!session) return std::fprintf(stderr, "%s\n", session.error().c_str()), 1;
    const std::string body = "User=alice%40demo.local&Password=alice";
    const auto login =
        (*session)->request(server.url() + "?View=StatusCheck&GetSession=Yes", &body);
    const std::size_t at = login ? login->find("<session>") : std::string::npos;
    if (at == std::string::npos) return std::fprintf(stderr, "login failed\n"), 1;
    const std::string id = login->substr(at + 9, login->find("</session>") - at - 9);

    NoProgress progress;
    const std::atomic<bool> cancel{false};
    std::vector<double> ours, cli, check;
    for (int i = 0; i < rounds + 2; ++i) {
        const DownloadJob job{installerUrl(server.url(), id),
                              installerSignatureUrl(server.url(), id), folder->file("ours"),
                              keys->publicPem};
        auto start = Clock::now();
        const DownloadResult result = downloadInstaller(**session, job, progress, cancel);
        const double a = ms_since(start);
        if (result.outcome != DownloadOutcome::Verified) {
            return std::fprintf(stderr, "download failed: %s\n", result.reason.c_str()), 1;
        }
        start = Clock::now();
        if (!verifyInstaller(job.targetPath, *signature, keys->publicPem)) return 1;
        const double v = ms_since(start);
        std::remove(job.targetPath.c_str());
        start = Clock::now();
        if (!curlDownload(job.installerUrl, folder->file("curl"))) {
            return std::fprintf(stderr, "curl failed\n"), 1;
        }
        const double b = ms_since(start);
        std::remove(folder->file("curl").c_str());
        if (i >= 2) {  // warm-up rounds are not counted
            ours.push_back(a);
            cli.push_back(b);
            check.push_back(v);
        }
    }
    const auto o = summarize(ours);
    const auto c = summarize(cli);
    const auto v = summarize(check);
    const double mib = static_cast<double>(sizeMib);
    std::printf("update download of %zu MiB, %d rounds each, alternating:\n", sizeMib, rounds);
    std::printf("  Vellix (download + signature): median %.1f ms  %.0f MiB/s\n", o.median,
                mib * 1000.0 / o.median);
    std::printf("  of which signature check:      median %.1f ms\n", v.median);
    std::printf("  curl CLI (download only):      median %.1f ms  %.0f MiB/s\n", c.median,
                mib * 1000.0 / c.median);
    std::printf("  ratio Vellix/curl: %.2f (download alone %.2f)\n", o.median / c.median,
                (o.median - v.median) / c.median);
    server.stop();
    return 0;
}
