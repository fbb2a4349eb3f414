// Reading and merging a counts reply: each folder block is preceded by the "alert" and
// "disconnect" look-ups over the rest of the reply. With the alert at the very end and no disconnect,
// every look-up must reach the end of the reply; items/s stays flat when that is linear.
#include <benchmark/benchmark.h>

#include <string>

#include "server/folder_table.h"
#include "server/reply_tags.h"
#include "server/server_replies.h"

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

// What every poll does with the reply: read the folder blocks and merge them into the
// folder table, which already holds the folders from the previous poll.
void BM_ParseAndMergeCounts(benchmark::State& state) {
    const std::string reply = countsReply(static_cast<int>(state.range(0)));
    vellix::FolderTable table;
    table.merge(vellix::readCountsReply(reply).folders);
    for (auto _ : state) {
        const vellix::CountsReply counts = vellix::readCountsReply(reply);
        table.merge(counts.folders);
        benchmark::DoNotOptimize(counts.alerts.size());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(reply.size()));
}
BENCHMARK(BM_ParseAndMergeCounts)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

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
