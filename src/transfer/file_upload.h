#pragma once
// The upload worker: POSTs exactly the file's bytes as they are read from disk, block by
// block; a file that ends early or cannot be read abandons the request. Threads as
// TransferWorker.

#include <cstdint>
#include <string>

#include "transfer/transfer_worker.h"

namespace vellix {

struct UploadJob {
    std::string url;   // requests::fileUpload
    std::string path;  // the local file
    std::uint64_t size = 0;
};

class FileUpload final : public TransferWorker {
  public:
    FileUpload(UploadJob job, ConnectionSettings connection, TransferCallbacks callbacks);
    ~FileUpload() override;

  private:
    TransferResult run(InternetSession& session) override;

    UploadJob job_;
};

// The size of the regular file at `path`, or why there is none.
Result<std::uint64_t> regularFileSize(const std::string& path);

}  // namespace vellix
