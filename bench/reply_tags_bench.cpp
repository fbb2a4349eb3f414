// Reading a counts reply: each folder block is preceded by the "alert" and "disconnect"
// look-ups over the rest of the reply. With the alert at the very end and no disconnect,
// every look-up must reach the end of the reply; items/s stays flat when that is linear.
#include <benchmark/benchmark.h>

#include <string>

#include "server/reply_tags.h"

namespace {

std::string countsReply(int folders) {
    std::string reply;
    for (int i = 0; i < folders; ++i) {
        const std::string name = "Folder" + std::to_string(i);
        reply += "<folder><name>" + name + "</name><total>" + std::to_string(i * 7) +
                 "</total><unread>" + std::to_string(i % 13) + "</unread><new>" +
                 std::to_string(i % 2) + "</new><recent>0</recent><displayname>" + name +
                 "</displayname></folder>";
    }
    return reply + "<alert>Maintenance tonight</alert>";
}

void BM_ReadCountsReply(benchmark::State& state) {
    const std::string reply = countsReply(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        vellix::ReplyBlocks blocks(reply, "folder");
        std::int64_t sum = 0;
        for (;;) {
            sum += static_cast<std::int64_t>(blocks.restValue("alert", 1024).size());
            if (!blocks.restValue("disconnect", 256).empty() || !blocks.next()) break;
            sum += static_cast<std::int64_t>(blocks.value("name", 100).size()) +
                   blocks.integer("total") + blocks.integer("unread") + blocks.integer("new") +
                   blocks.integer("recent") +
                   static_cast<std::int64_t>(blocks.value("displayname", 60).size());
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(reply.size()));
}
BENCHMARK(BM_ReadCountsReply)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// A hostile 50 MB reply: block openings that never close, tags that open without end.
void BM_HostileReply(benchmark::State& state) {
    std::string reply;
    while (reply.size() < 50u * 1024 * 1024) reply += "<folder><alert><name>x<folder</alert>";
    for (auto _ : state) {
        vellix::ReplyBlocks blocks(reply, "folder");
        benchmark::DoNotOptimize(blocks.restValue("alert"));
        benchmark::DoNotOptimize(blocks.next());
        benchmark::DoNotOptimize(vellix::GetTagValue(reply, "name"));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(reply.size()));
}
BENCHMARK(BM_HostileReply)->Unit(benchmark::kMillisecond);

}  // namespace
