#pragma once
// What the send and receive windows share: the status line, the progress bar, the
// Cancel/Close button, the workers' notices, and the way out (cancel every worker, wait for
// it, leave the transfer table). Lives on the GUI thread; deliver*() come from any thread.

#include <QDialog>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "transfer/transfer_context.h"
#include "transfer/transfer_progress.h"
#include "transfer/transfer_worker.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QVBoxLayout;

namespace vellix {

class TransferWindow : public QDialog, public TransferPeer {
    Q_OBJECT
  public:
    TransferWindow(TransferContext context, TransferSide side);
    ~TransferWindow() override;

    void deliverResponse(FileTransferResponse response) final;
    void deliverStatus(FileTransferStatus status) final;

    std::string statusText() const;
    std::string buttonText() const;

  protected:
    virtual void onResponse(const FileTransferResponse&) {}
    virtual void onStatus(const FileTransferStatus& status) = 0;
    // A worker ended; the last progress figures are already shown.
    virtual void onEnded(const TransferResult& result) = 0;

    // Starts a worker whose notices come back to this window.
    template <class Worker, class Job>
    void startWorker(Job job) {
        auto worker = std::make_unique<Worker>(std::move(job), context_.endpoint().connection,
                                               callbacksFor(workers_.size()));
        worker->start();
        workers_.push_back(std::move(worker));
    }
    void enterRoute(const std::string& key);
    void setStatus(const std::string& text);
    void setButtonToClose();
    void startProgress(std::uint64_t size, const std::string& prefix, bool groupText);
    void done(int result) override;
    // Endless modal loops must not outlive the window: a close from inside one waits for it.
    void closeSoon();

    TransferContext context_;
    TransferSide side_;
    QVBoxLayout* layout_;
    QLabel* label_;

  private:
    TransferCallbacks callbacksFor(size_t index);
    void showProgress(size_t index, bool last);
    void stopWorkers();

    QLabel* status_;
    QProgressBar* progress_;
    QPushButton* button_;
    std::vector<std::unique_ptr<TransferWorker>> workers_;
    std::vector<std::string> keys_;
    std::uint64_t size_ = 0;
    std::string prefix_;
    bool groupText_ = false;
    std::chrono::steady_clock::time_point start_{};
    std::int64_t lastRefreshMs_ = -kRefreshIntervalMs;
};

}  // namespace vellix
