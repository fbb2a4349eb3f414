#include "transfer/file_upload.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace vellix {
namespace {

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

}  // namespace

Result<std::uint64_t> regularFileSize(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return failure(systemReason("open", path, errno));
    if (!S_ISREG(info.st_mode)) return failure(path + " is not a regular file");
    return static_cast<std::uint64_t>(info.st_size);
}

FileUpload::FileUpload(UploadJob job, ConnectionSettings connection, TransferCallbacks callbacks)
    : TransferWorker(std::move(connection), std::move(callbacks)), job_(std::move(job)) {
}

FileUpload::~FileUpload() {
    finish();
}

TransferResult FileUpload::run(InternetSession& session) {
    TransferResult result;
    const FileDescriptor file(::open(job_.path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) {
        result.reason = systemReason("read", job_.path, errno);
        return result;
    }
    ::posix_fadvise(file.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    std::uint64_t sent = 0;
    int readError = 0;
    StreamedBody body{.size = job_.size,
                      .contentType = "application/octet-stream",
                      .read = [&](char* buffer, size_t capacity) -> std::optional<size_t> {
                          if (cancelled()) return std::nullopt;
                          const auto want = static_cast<size_t>(
                              std::min<std::uint64_t>(capacity, job_.size - sent));
                          if (want == 0) return 0;
                          ssize_t n = 0;
                          do {
                              n = ::read(file.get(), buffer, want);
                          } while (n < 0 && errno == EINTR);
                          if (n < 0) readError = errno;
                          if (n <= 0) return std::nullopt;  // the count falls short: abandon
                          sent += static_cast<std::uint64_t>(n);
                          reportProgress(sent);
                          return static_cast<size_t>(n);
                      }};
    const auto outcome = session.streamExchange(job_.url, &body, nullptr);
    result.bytes = sent;
    if (const auto* error = std::get_if<InternetError>(&outcome)) {
        if (readError != 0) {
            result.reason = systemReason("read", job_.path, readError);
        } else if (sent < job_.size && !cancelled() &&
                   error->code == internet_error::kOperationCancelled) {
            result.reason = "The file shrank while it was sent: " + std::to_string(sent) + " of " +
                            std::to_string(job_.size) + " bytes";
        } else {
            result.reason = error->text;
        }
        return result;
    }
    const auto& reply = std::get<HttpReply>(outcome);
    if (reply.status < 200 || reply.status >= 300) {
        result.reason = "The server refused the upload (HTTP " + std::to_string(reply.status) +
                        "): " + reply.body.substr(0, 200);
        return result;
    }
    result.outcome = TransferOutcome::Complete;
    return result;
}

}  // namespace vellix
