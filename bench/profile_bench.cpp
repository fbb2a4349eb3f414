// Settings file figures: one read and one write on a 1,000-key file, and the key-table
// codec on a 32-byte password.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <string>

#include "core/atomic_file.h"
#include "core/password_codec.h"
#include "core/profile_file.h"

namespace {

std::string thousandKeyFile() {
    std::string text;
    for (int section = 0; section < 10; ++section) {
        text += "[Section" + std::to_string(section) + "]\n";
        for (int key = 0; key < 100; ++key) {
            text += "Key" + std::to_string(key) + "=value of key " + std::to_string(key) + "\n";
        }
    }
    return text;
}

void BM_ProfileReadOneKey(benchmark::State& state) {
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/bench.ini";
    if (!vellix::writeFileAtomically(path, thousandKeyFile())) state.SkipWithError("setup");
    const vellix::ProfileFile file(path);
    for (auto _ : state) benchmark::DoNotOptimize(file.readText("section9", "KEY99"));
}
BENCHMARK(BM_ProfileReadOneKey);

void BM_ProfileWriteOneKey(benchmark::State& state) {
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/bench.ini";
    if (!vellix::writeFileAtomically(path, thousandKeyFile())) state.SkipWithError("setup");
    vellix::ProfileFile file(path);
    int counter = 0;
    for (auto _ : state) {
        if (!file.writeInt("Section5", "Key50", ++counter)) state.SkipWithError("write failed");
    }
}
BENCHMARK(BM_ProfileWriteOneKey)->Unit(benchmark::kMicrosecond);

void BM_ProfileParse10000Keys(benchmark::State& state) {
    std::string text;
    for (int key = 0; key < 10000; ++key) {
        if (key % 100 == 0) text += "[S" + std::to_string(key / 100) + "]\n";
        text += "Key" + std::to_string(key) + "=" + std::to_string(key) + "\n";
    }
    for (auto _ : state) {
        const auto doc = vellix::ProfileDocument::parse(text);
        benchmark::DoNotOptimize(doc.find("S99", "Key9999"));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ProfileParse10000Keys)->Unit(benchmark::kMicrosecond);

const std::string kPassword32 = "correct horse battery staple 32b";

void BM_PasswordEncode32(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(vellix::encodePassword(kPassword32));
}
BENCHMARK(BM_PasswordEncode32);

void BM_PasswordDecode32(benchmark::State& state) {
    const std::string encoded = vellix::encodePassword(kPassword32);
    for (auto _ : state) benchmark::DoNotOptimize(vellix::decodePassword(encoded));
}
BENCHMARK(BM_PasswordDecode32);

}  // namespace
