#include "transfer/transfer_worker.h"

#include <cstring>

namespace vellix {

TransferWorker::TransferWorker(ConnectionSettings connection, TransferCallbacks callbacks)
    : connection_(std::move(connection)), callbacks_(std::move(callbacks)) {
}

TransferWorker::~TransferWorker() {
    finish();
}

void TransferWorker::start() {
    if (thread_.joinable()) return;
    thread_ = std::thread([this] { body(); });
}

void TransferWorker::cancel() {
    cancel_.store(true);
    const std::lock_guard lock(sessionMutex_);
    if (session_) session_->close();
}

void TransferWorker::wait() {
    if (thread_.joinable()) thread_.join();
}

void TransferWorker::finish() {
    cancel();
    wait();
}

std::uint64_t TransferWorker::takeProgress() {
    noticePending_.store(false);
    return count_.load();
}

void TransferWorker::reportProgress(std::uint64_t count) {
    count_.store(count);
    if (!noticePending_.exchange(true) && callbacks_.progress) callbacks_.progress();
}

void TransferWorker::body() {
    TransferResult result;
    InternetSession::Options options;
    options.agent = kTransferAgent;
    options.connection = connection_;
    auto session = InternetSession::open(std::move(options));
    if (!session) {
        result.reason = session.error();
    } else if (cancelled()) {
        result.outcome = TransferOutcome::Cancelled;
    } else {
        {
            const std::lock_guard lock(sessionMutex_);
            session_ = session.value().get();
        }
        result = run(**session);
        const std::lock_guard lock(sessionMutex_);
        session_ = nullptr;
    }
    if (result.outcome != TransferOutcome::Complete && cancelled()) {
        result.outcome = TransferOutcome::Cancelled;
    }
    count_.store(result.bytes);
    if (callbacks_.ended) callbacks_.ended(std::move(result));
}

std::string systemReason(const std::string& what, const std::string& path, int error) {
    return "Could not " + what + " " + path + ": " + std::strerror(error);  // NOLINT
}

}  // namespace vellix
