#pragma once
// A transfer's worker thread with its own "VellixFile" internet session. The owner (one
// thread) starts, cancels and waits; cancel() may also come from any other thread. The
// callbacks run on the worker thread: `progress` says a new count can be taken with
// takeProgress() (notices coalesce, so a fast transfer cannot flood the owner's queue);
// `ended` comes once, last, with the outcome.

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "server/internet_session.h"
#include "transfer/transfer_progress.h"

namespace vellix {

inline constexpr const char* kTransferAgent = "VellixFile";

struct TransferCallbacks {
    std::function<void()> progress;
    std::function<void(TransferResult)> ended;
};

class TransferWorker {
  public:
    TransferWorker(ConnectionSettings connection, TransferCallbacks callbacks);
    virtual ~TransferWorker();  // subclasses call finish() in theirs
    TransferWorker(const TransferWorker&) = delete;
    TransferWorker& operator=(const TransferWorker&) = delete;

    void start();
    // Stops the transfer before its next block and ends a blocked exchange at once.
    void cancel();
    // Returns once the worker has ended (at once when it never started).
    void wait();
    bool running() const { return thread_.joinable(); }
    // The latest byte count; the next block's notice may come again.
    std::uint64_t takeProgress();

  protected:
    virtual TransferResult run(InternetSession& session) = 0;
    bool cancelled() const { return cancel_.load(); }
    void reportProgress(std::uint64_t count);
    // Cancels and joins; a subclass calls it first in its destructor, so run() never
    // outlives the subclass's members.
    void finish();

  private:
    void body();

    ConnectionSettings connection_;
    TransferCallbacks callbacks_;
    std::atomic<bool> cancel_{false};
    std::atomic<std::uint64_t> count_{0};
    std::atomic<bool> noticePending_{false};
    std::mutex sessionMutex_;
    InternetSession* session_ = nullptr;  // under sessionMutex_, while the exchange runs
    std::thread thread_;
};

// "Could not <what> <path>: <system reason>".
std::string systemReason(const std::string& what, const std::string& path, int error);

}  // namespace vellix
