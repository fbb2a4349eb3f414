// File upload and download through skyloom-sim: libcurl in this process (as the Vellix
// transfer workers do) against the plain curl program, same file, same server, same run.
//   sim_file_throughput [megabytes=64] [rounds=3]
#include <curl/curl.h>

#include <cstdlib>
#include <fstream>

#include "demo.h"
#include "server.h"
#include "sim_bench_util.h"

using namespace vellix::sim;
using namespace vellix::sim::bench;

namespace {

size_t discard(char*, size_t size, size_t n, void* count) {
    *static_cast<size_t*>(count) += size * n;
    return size * n;
}

struct Peers {
    Server& server;
    std::string a, b;  // sessions of sender and recipient

    // Offer and accept, so that an upload from a to b is allowed.
    void prepare(const std::string& name, size_t size) {
        server.state().offer_file("alice@demo.local", "bob@demo.local", name, size);
        server.state().wait_event(b, std::chrono::seconds(5), nullptr);
        server.state().answer_offer("bob@demo.local", "alice@demo.local", name, true);
        server.state().wait_event(a, std::chrono::seconds(5), nullptr);
    }
    std::string upload_url(const std::string& name) const {
        return server.url() + "?Session=" + a +
               "&View=StatusCheck&FileUpload=Yes&TransferTo=bob@demo.local&FileName=" + name;
    }
    // The id of the file that became available to b.
    std::string available_id() {
        return simple_tag(server.state().wait_event(b, std::chrono::seconds(5), nullptr).reply,
                          "fileid");
    }
    std::string download_url(const std::string& id, const std::string& name) const {
        return server.url() + "?Session=" + b + "&View=StatusCheck&FileDownload=Yes&FileID=" + id +
               "&TransferFrom=alice@demo.local&FileName=" + name;
    }
};

double mb_per_s(size_t bytes, double ms) {
    return static_cast<double>(bytes) / (1 << 20) / (ms / 1000.0);
}

double libcurl_upload(const std::string& url, const std::string& data) {
    CURL* c = curl_easy_init();
    size_t got = 0;
    curl_slist* headers = curl_slist_append(nullptr, "Content-Type: application/octet-stream");
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_USERAGENT, "VellixFile");
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(c, CURLOPT_POSTFIELDS, data.data());
    curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(data.size()));
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, discard);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &got);
    const auto start = Clock::now();
    curl_easy_perform(c);
    const double ms = ms_since(start);
    curl_slist_free_all(headers);
    curl_easy_cleanup(c);
    return ms;
}

double libcurl_download(const std::string& url, size_t& got) {
    CURL* c = curl_easy_init();
    got = 0;
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_USERAGENT, "VellixFile");
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, discard);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &got);
    const auto start = Clock::now();
    curl_easy_perform(c);
    const double ms = ms_since(start);
    curl_easy_cleanup(c);
    return ms;
}

double run_curl(const std::string& args) {
    const auto start = Clock::now();
    const int rc = std::system(("curl -s -o /dev/null " + args).c_str());
    if (rc != 0) std::fprintf(stderr, "curl failed: %d\n", rc);
    return ms_since(start);
}

}  // namespace

int main(int argc, char** argv) {
    const size_t megabytes = argc > 1 ? static_cast<size_t>(std::atoi(argv[1])) : 64;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
    curl_global_init(CURL_GLOBAL_DEFAULT);
    ServerOptions options;
    options.service.max_upload = (megabytes + 1) << 20;
    Server server(options, default_seed());
    if (!server.start()) return 1;
    Peers peers{server, server.state().login("alice@demo.local", "alice", nullptr, false).session,
                server.state().login("bob@demo.local", "bob", nullptr, false).session};
    server.state().wait_event(peers.a, std::chrono::milliseconds(10), nullptr);  // bob's arrival

    std::string data(megabytes << 20, '\0');
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>((i * 2654435761u) >> 13);
    const std::string path = "/tmp/skyloom_sim_bench_" + std::to_string(getpid()) + ".bin";
    std::ofstream(path, std::ios::binary)
        .write(data.data(), static_cast<std::streamsize>(data.size()));

    std::vector<double> up_lib, down_lib, up_cli, down_cli;
    size_t got = 0;
    for (int r = 0; r < rounds; ++r) {
        peers.prepare("lib.bin", data.size());
        up_lib.push_back(libcurl_upload(peers.upload_url("lib.bin"), data));
        down_lib.push_back(
            libcurl_download(peers.download_url(peers.available_id(), "lib.bin"), got));
        if (got != data.size()) std::fprintf(stderr, "short download: %zu\n", got);

        peers.prepare("cli.bin", data.size());
        up_cli.push_back(run_curl("-X POST -T " + path +
                                  " -H 'Content-Type: application/octet-stream' '" +
                                  peers.upload_url("cli.bin") + "'"));
        down_cli.push_back(
            run_curl("'" + peers.download_url(peers.available_id(), "cli.bin") + "'"));
    }
    std::remove(path.c_str());
    server.stop();

    const auto line = [&](const char* what, const std::vector<double>& ms) {
        const double median = summarize(ms).median;
        std::printf("%-28s median %7.1f ms  %7.1f MiB/s\n", what, median,
                    mb_per_s(data.size(), median));
        return median;
    };
    std::printf("file %zu MiB, %d rounds\n", megabytes, rounds);
    const double ul = line("upload, libcurl in-process", up_lib);
    const double uc = line("upload, curl program", up_cli);
    const double dl = line("download, libcurl in-process", down_lib);
    const double dc = line("download, curl program", down_cli);
    std::printf(
        "libcurl / curl time ratio   upload %.2f  download %.2f (curl includes its process "
        "start)\n",
        ul / uc, dl / dc);
    return 0;
}
