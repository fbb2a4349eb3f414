#include "transfer/file_download.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace vellix {

FileDownload::FileDownload(DownloadJob job, ConnectionSettings connection,
                           TransferCallbacks callbacks)
    : TransferWorker(std::move(connection), std::move(callbacks)), job_(std::move(job)) {
}

FileDownload::~FileDownload() {
    finish();
}

TransferResult FileDownload::run(InternetSession& session) {
    // An existing file is replaced: the user confirmed that in the save dialog.
    const int fd = ::open(job_.savePath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return {TransferOutcome::Failed, 0, systemReason("create", job_.savePath, errno)};
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & 0111) != 0) {
        ::fchmod(fd, info.st_mode & 0666);  // a replaced program loses its execute bits
    }
    TransferResult result = receive(session, fd);
    const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (::close(fd) != 0 && result.outcome == TransferOutcome::Complete) {
        result = {TransferOutcome::Failed, result.bytes,
                  systemReason("write", job_.savePath, errno)};
    }
    // Only a regular file is ours to remove; a device the user picked stays.
    if (result.outcome != TransferOutcome::Complete && !job_.keepPartial && regular) {
        ::unlink(job_.savePath.c_str());
    }
    return result;
}

TransferResult FileDownload::receive(InternetSession& session, int fd) {
    TransferResult result;
    std::uint64_t received = 0;
    int writeError = 0;
    bool tooLong = false;
    const ReplySink sink = [&](const char* data, size_t size) {
        if (cancelled()) return false;
        if (size > job_.size - received) {
            tooLong = true;
            return false;
        }
        while (size > 0) {
            const ssize_t n = ::write(fd, data, size);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                writeError = n < 0 ? errno : ENOSPC;
                return false;
            }
            data += n;
            size -= static_cast<size_t>(n);
            received += static_cast<std::uint64_t>(n);
        }
        reportProgress(received);
        return true;
    };
    const auto outcome = session.streamExchange(job_.url, nullptr, &sink);
    result.bytes = received;
    if (writeError != 0) {
        result.reason = systemReason("write", job_.savePath, writeError);
    } else if (tooLong) {
        result.reason =
            "The server sent more than the announced " + std::to_string(job_.size) + " bytes";
    } else if (const auto* error = std::get_if<InternetError>(&outcome)) {
        result.reason = error->text;
    } else if (const auto& reply = std::get<HttpReply>(outcome);
               reply.status < 200 || reply.status >= 300) {
        result.reason = "The server refused the download (HTTP " + std::to_string(reply.status) +
                        "): " + reply.body.substr(0, 200);
    } else if (received != job_.size) {
        result.reason = "The download ended after " + std::to_string(received) + " of " +
                        std::to_string(job_.size) + " bytes";
    } else {
        result.outcome = TransferOutcome::Complete;
    }
    return result;
}

}  // namespace vellix
