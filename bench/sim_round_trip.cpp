// Message round trip on loopback: client A posts SendMessage, client B's held WaitForIM
// returns it. Both clients use libcurl with kept-alive connections, as Vellix does.
//   sim_round_trip [messages=2000]
#include <curl/curl.h>

#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "server.h"
#include "sim_bench_util.h"

using namespace vellix::sim;
using namespace vellix::sim::bench;

namespace {

size_t sink(char* data, size_t size, size_t n, void* out) {
    static_cast<std::string*>(out)->append(data, size * n);
    return size * n;
}

}  // namespace

int main(int argc, char** argv) {
    const int messages = argc > 1 ? std::atoi(argv[1]) : 2000;
    curl_global_init(CURL_GLOBAL_DEFAULT);
    ServerOptions options;
    options.service.long_poll_timeout = std::chrono::seconds(30);
    Server server(options, default_seed());
    if (!server.start()) return 1;
    const std::string a = server.state().login("alice@demo.local", "alice", nullptr, false).session;
    const std::string b = server.state().login("bob@demo.local", "bob", nullptr, false).session;

    std::mutex mu;
    std::condition_variable cv;
    int received = 0;
    Clock::time_point received_at;
    std::atomic<bool> done{false};
    std::thread receiver([&] {
        CURL* c = curl_easy_init();
        std::string body;
        const std::string url = server.url() + "?Session=" + b + "&View=StatusCheck&WaitForIM=Yes";
        curl_easy_setopt(c, CURLOPT_URL, url.c_str());
        curl_easy_setopt(c, CURLOPT_USERAGENT, "VellixIM");
        curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, sink);
        curl_easy_setopt(c, CURLOPT_WRITEDATA, &body);
        while (!done) {
            body.clear();
            curl_easy_perform(c);
            if (body.rfind("<message>", 0) == 0) {
                std::lock_guard lock(mu);
                ++received;
                received_at = Clock::now();
                cv.notify_all();
            }
        }
        curl_easy_cleanup(c);
    });

    CURL* sender = curl_easy_init();
    std::string reply;
    const std::string url = server.url() + "?Session=" + a + "&View=StatusCheck&SendMessage=yes";
    const std::string form = "MessageTo=bob@demo.local&MessageText=SGVsbG8";
    curl_easy_setopt(sender, CURLOPT_URL, url.c_str());
    curl_easy_setopt(sender, CURLOPT_USERAGENT, "VellixPostIM");
    curl_easy_setopt(sender, CURLOPT_POSTFIELDS, form.c_str());
    curl_easy_setopt(sender, CURLOPT_WRITEFUNCTION, sink);
    curl_easy_setopt(sender, CURLOPT_WRITEDATA, &reply);
    std::vector<double> trips;
    for (int i = 0; i < messages + 50; ++i) {
        while (server.state().waiting("bob@demo.local") != 1) std::this_thread::yield();
        const auto start = Clock::now();
        curl_easy_perform(sender);
        std::unique_lock lock(mu);
        if (!cv.wait_for(lock, std::chrono::seconds(5), [&] { return received == i + 1; })) {
            std::fprintf(stderr, "message %d lost\n", i);
            return 1;
        }
        if (i >= 50)
            trips.push_back(std::chrono::duration<double, std::micro>(received_at - start).count());
    }
    done = true;
    server.state().push_event("bob@demo.local", "<end/>");
    receiver.join();
    curl_easy_cleanup(sender);
    server.stop();

    const Stats s = summarize(trips);
    std::printf("messages                  %zu (after 50 warm-up)\n", trips.size());
    std::printf(
        "round trip A -> sim -> B  median %.0f us, p99 %.0f us, mean %.0f us, max %.0f us\n",
        s.median, s.p99, s.mean, s.max);
    return 0;
}
