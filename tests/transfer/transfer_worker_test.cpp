// The upload and download workers against an in-process skyloom-sim: whole files both ways,
// and every way a transfer can end short.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QFile>
#include <fstream>
#include <future>

#include "server/server_requests.h"
#include "sim/sim_fixture.h"
#include "support/temp_folder.h"
#include "transfer/file_download.h"
#include "transfer/file_upload.h"

namespace vellix::sim::testing {
namespace {

void writePattern(const std::string& path, std::uint64_t size) {
    std::ofstream out(path, std::ios::binary);
    std::string block(1 << 20, '\0');
    for (std::uint64_t done = 0; done < size; done += block.size()) {
        for (size_t i = 0; i < block.size(); ++i)
            block[i] = static_cast<char>((done + i) * 131 >> 3);
        out.write(block.data(),
                  static_cast<std::streamsize>(std::min<std::uint64_t>(block.size(), size - done)));
    }
}

class TransferWorkers : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        a_ = login("a@x.test", "pa");
        b_ = login("b@x.test", "pb");
        ASSERT_TRUE(dir_.valid());
    }
    std::string path(const std::string& name) const { return dir_.file(name); }

    // Offers and accepts `name`; `announced` is the size the offer carries.
    void agree(const std::string& name, std::uint64_t announced) {
        server_->state().offer_file("a@x.test", "b@x.test", name, announced);
        ASSERT_TRUE(server_->state().answer_offer("b@x.test", "a@x.test", name, true));
    }

    // Runs a worker to its end; `onProgress` runs on the worker thread at each notice.
    template <class Worker, class Job>
    TransferResult run(Job job, const std::function<void(Worker&)>& onProgress = {}) {
        std::promise<TransferResult> ended;
        Worker* self = nullptr;
        Worker worker(std::move(job), ConnectionSettings{},
                      {.progress =
                           [&] {
                               if (onProgress) onProgress(*self);
                           },
                       .ended = [&](TransferResult r) { ended.set_value(std::move(r)); }});
        self = &worker;
        worker.start();
        auto future = ended.get_future();
        EXPECT_EQ(future.wait_for(std::chrono::seconds(60)), std::future_status::ready);
        worker.wait();
        return future.get();
    }

    TransferResult upload(const std::string& name, const std::string& file, std::uint64_t size,
                          const std::function<void(FileUpload&)>& onProgress = {}) {
        return run<FileUpload>(
            UploadJob{requests::fileUpload(server_->url(), a_, "b@x.test", name), file, size},
            onProgress);
    }
    // b's next transfer status event.
    std::string nextStatus() {
        for (int i = 0; i < 5; ++i) {
            const std::string event = call(b_, "WaitForIM=Yes").body;
            if (test::reply_tag(event, "status")) return event;
        }
        return {};
    }
    std::string availableId() { return test::reply_tag(nextStatus(), "fileid").value_or(""); }
    TransferResult download(const std::string& name, const std::string& save, std::uint64_t size,
                            bool keep = false) {
        const std::string url =
            requests::fileDownload(server_->url(), b_, availableId(), "a@x.test", name);
        return run<FileDownload>(DownloadJob{url, save, size, keep});
    }

    test::TempFolder dir_;
    std::string a_, b_;
};

TEST_F(TransferWorkers, SixtyFourMebibytesArriveIdentical) {
    constexpr std::uint64_t kSize = 64ull << 20;
    const std::string source = path("source.bin"), saved = path("saved.bin");
    writePattern(source, kSize);
    std::ofstream(saved) << "old";
    ::chmod(saved.c_str(), 0755);  // a replaced program loses its execute bits
    agree("big file.bin", kSize);
    const TransferResult sent = upload("big file.bin", source, kSize);
    EXPECT_EQ(sent.outcome, TransferOutcome::Complete) << sent.reason;
    EXPECT_EQ(sent.bytes, kSize);
    const auto log = server_->state().log_entries();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back().user_agent, "VellixFile");
    EXPECT_EQ(log.back().body_size, kSize);

    const TransferResult got = download("big file.bin", saved, kSize);
    EXPECT_EQ(got.outcome, TransferOutcome::Complete) << got.reason;
    EXPECT_EQ(got.bytes, kSize);
    EXPECT_TRUE(test::readFile(saved) == test::readFile(source));
    struct stat info {};
    ASSERT_EQ(::stat(saved.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0111, 0u);
}

TEST_F(TransferWorkers, CancelMidUploadAbandonsTheRequest) {
    constexpr std::uint64_t kSize = 256ull << 20;
    const std::string source = path("source.bin");
    writePattern(source, kSize);
    agree("c.bin", kSize);
    const TransferResult r = upload("c.bin", source, kSize, [](FileUpload& w) {
        if (w.takeProgress() > (1u << 20)) w.cancel();
    });
    EXPECT_EQ(r.outcome, TransferOutcome::Cancelled);
    EXPECT_LT(r.bytes, kSize);
    EXPECT_EQ(test::reply_tag(nextStatus(), "status"), "cancelled");
}

TEST_F(TransferWorkers, ShortOrBrokenTransfersFailAndLeaveNoPartialFile) {
    const std::string source = path("source.bin");
    writePattern(source, 300000);
    const struct {
        const char* name;
        std::uint64_t announced;  // what the offer said
        bool truncate;            // the sim drops the connection half-way
        bool keep;
        const char* reason;
    } cases[] = {
        {"drop", 300000, true, false, "transfer closed"},
        {"short", 400000, false, false, "ended after 300000 of 400000 bytes"},
        {"long", 200000, false, false, "more than the announced 200000 bytes"},
        {"kept", 400000, false, true, "ended after"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        agree(c.name, c.announced);
        ASSERT_EQ(upload(c.name, source, 300000).outcome, TransferOutcome::Complete);
        if (c.truncate) server_->faults().add("FileDownload", {Fault::Kind::Truncate});
        const std::string saved = path(std::string(c.name) + ".out");
        const TransferResult r = download(c.name, saved, c.announced, c.keep);
        EXPECT_EQ(r.outcome, TransferOutcome::Failed);
        EXPECT_NE(r.reason.find(c.reason), std::string::npos) << r.reason;
        EXPECT_EQ(QFile::exists(QString::fromStdString(saved)), c.keep);
    }
}

TEST_F(TransferWorkers, UnwritableTargetsAndMissingFilesAreFailures) {
    agree("f.bin", 1000);
    const TransferResult missing = upload("f.bin", path("nothing-here"), 1000);
    EXPECT_EQ(missing.outcome, TransferOutcome::Failed);
    EXPECT_NE(missing.reason.find("Could not read"), std::string::npos) << missing.reason;

    const std::string source = path("source.bin");
    writePattern(source, 1000);
    ASSERT_EQ(upload("f.bin", source, 1000).outcome, TransferOutcome::Complete);
    const std::string url =
        requests::fileDownload(server_->url(), b_, availableId(), "a@x.test", "f.bin");
    for (const auto& [target, reason] :
         {std::pair{path("no/such/folder/f.bin"), "Could not create"},
          std::pair{std::string("/dev/full"), "No space left on device"}}) {
        const TransferResult r = run<FileDownload>(DownloadJob{url, target, 1000});
        EXPECT_EQ(r.outcome, TransferOutcome::Failed);
        EXPECT_NE(r.reason.find(reason), std::string::npos) << r.reason;
    }
}

}  // namespace
}  // namespace vellix::sim::testing
