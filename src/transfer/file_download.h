#pragma once
// The download worker: writes the reply to the path the user chose, block by block, and
// ends Complete only when exactly the announced number of bytes arrived and reached the
// disk. Otherwise the partly written file is removed unless the job keeps it. The file is
// created without execute permission. Threads as TransferWorker.

#include <cstdint>
#include <string>

#include "transfer/transfer_worker.h"

namespace vellix {

struct DownloadJob {
    std::string url;       // requests::fileDownload
    std::string savePath;  // chosen by the user; nothing else is written
    std::uint64_t size = 0;
    bool keepPartial = false;
};

class FileDownload final : public TransferWorker {
  public:
    FileDownload(DownloadJob job, ConnectionSettings connection, TransferCallbacks callbacks);
    ~FileDownload() override;

  private:
    TransferResult run(InternetSession& session) override;
    TransferResult receive(InternetSession& session, int fd);

    DownloadJob job_;
};

}  // namespace vellix
