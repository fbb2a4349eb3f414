#include "update/installer_download.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <variant>

#include "core/ascii_case.h"
#include "update/installer_signature.h"
#include "update/private_folder.h"

namespace vellix {
namespace {

// Blocks are gathered to this size before they are written and reported; only the last
// one may be shorter.
constexpr std::size_t kBlockSize = 64 * 1024;

std::string pageUrl(const std::string& serverUrl, const std::string& session, const char* view) {
    return serverUrl + "?Session=" + session + "&View=" + view + "&Frames=No&AutoUpdate=Yes";
}

// Streams the reply into the target file; the first block decides from the reply's head
// whether it is the installer at all.
class FileSink {
  public:
    FileSink(const std::string& path, DownloadProgress& progress, const std::atomic<bool>& cancel)
        : path_(path), progress_(progress), cancel_(cancel) {
        block_.reserve(kBlockSize);
    }
    ~FileSink() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileSink(const FileSink&) = delete;
    FileSink& operator=(const FileSink&) = delete;

    bool begin(const ReplyHead& head) {
        begun_ = true;
        if (!isInstallerContentType(head.contentType)) {
            notInstaller_ = "the server sent \"" + head.contentType + "\" (HTTP " +
                            std::to_string(head.status) + ") instead of the installer";
            return false;
        }
        progress_.sizeKnown(head.length > 0 ? static_cast<std::uint64_t>(head.length) : 0);
        auto fd = createExecutableFile(path_);
        if (!fd) {
            notSaved_ = fd.error();
            return false;
        }
        fd_ = *fd;
        return true;
    }
    bool begun() const { return begun_; }

    bool write(std::string_view data) {
        if (cancel_.load()) return false;
        block_.append(data);
        return block_.size() < kBlockSize || flush();
    }

    // Writes what is gathered; false (with the reason kept) when the disk refuses.
    bool flush() {
        if (fd_ < 0 || !notSaved_.empty()) return false;
        std::string_view rest = block_;
        while (!rest.empty()) {
            const ssize_t n = ::write(fd_, rest.data(), rest.size());
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                notSaved_ = "cannot write " + path_ + ": " + std::strerror(errno);
                return false;
            }
            rest.remove_prefix(static_cast<std::size_t>(n));
        }
        received_ += block_.size();
        block_.clear();
        progress_.received(received_);
        return true;
    }

    bool finish() {
        if (!flush()) return false;
        const int fd = std::exchange(fd_, -1);
        if (::fsync(fd) != 0 || ::close(fd) != 0) {
            notSaved_ = "cannot write " + path_ + ": " + std::strerror(errno);
            return false;
        }
        return true;
    }

    bool opened() const { return fd_ >= 0; }
    const std::string& notInstaller() const { return notInstaller_; }
    const std::string& notSaved() const { return notSaved_; }
    std::uint64_t receivedBytes() const { return received_; }

  private:
    std::string path_;
    DownloadProgress& progress_;
    const std::atomic<bool>& cancel_;
    int fd_ = -1;
    bool begun_ = false;
    std::string block_;
    std::uint64_t received_ = 0;
    std::string notInstaller_;
    std::string notSaved_;
};

DownloadResult fetchInstaller(InternetSession& session, const DownloadJob& job,
                              DownloadProgress& progress, const std::atomic<bool>& cancel) {
    FileSink sink(job.targetPath, progress, cancel);
    const ReplySink toFile = [&](const char* data, size_t size) {
        if (!sink.begun() && !sink.begin(session.replyHead())) return false;
        return sink.write(std::string_view(data, size));
    };
    const auto outcome = session.streamExchange(job.installerUrl, nullptr, &toFile);
    if (cancel.load()) return {DownloadOutcome::Cancelled, {}, sink.receivedBytes()};
    if (!sink.notSaved().empty()) {
        return {DownloadOutcome::NotSaved, sink.notSaved(), sink.receivedBytes()};
    }
    if (!sink.notInstaller().empty())
        return {DownloadOutcome::NotInstaller, sink.notInstaller(), 0};
    if (const auto* error = std::get_if<InternetError>(&outcome)) {
        return {DownloadOutcome::NotInstaller, "the download failed: " + error->text,
                sink.receivedBytes()};
    }
    if (!sink.opened()) {
        // Only a 2xx body reaches the sink: any other reply, or an empty one, ends here.
        return {DownloadOutcome::NotInstaller,
                "the server sent no installer (HTTP " +
                    std::to_string(std::get<HttpReply>(outcome).status) + ")",
                0};
    }
    if (!sink.finish()) return {DownloadOutcome::NotSaved, sink.notSaved(), sink.receivedBytes()};
    return {DownloadOutcome::Verified, {}, sink.receivedBytes()};
}

DownloadResult checkSignature(InternetSession& session, const DownloadJob& job,
                              std::uint64_t received) {
    const auto outcome = session.exchange(job.signatureUrl, nullptr);
    const auto* reply = std::get_if<HttpReply>(&outcome);
    if (!reply || reply->status != 200) {
        return {DownloadOutcome::NotSigned, "the server offers no signature for the installer",
                received};
    }
    const Status valid = verifyInstaller(job.targetPath, reply->body, job.publicKeyPem);
    if (!valid) return {DownloadOutcome::NotSigned, valid.error(), received};
    return {DownloadOutcome::Verified, {}, received};
}

}  // namespace

std::string installerUrl(const std::string& serverUrl, const std::string& session) {
    return pageUrl(serverUrl, session, "VellixInstall.exe");
}

std::string installerSignatureUrl(const std::string& serverUrl, const std::string& session) {
    return pageUrl(serverUrl, session, "VellixInstall.exe.sig");
}

bool isInstallerContentType(std::string contentType) {
    if (const auto semicolon = contentType.rfind(';');
        semicolon != std::string::npos && contentType.find("name=") != std::string::npos) {
        contentType.resize(semicolon);
    }
    return equalsNoCase(contentType, "application/octet-stream");
}

DownloadResult downloadInstaller(InternetSession& session, const DownloadJob& job,
                                 DownloadProgress& progress, const std::atomic<bool>& cancel) {
    DownloadResult result = fetchInstaller(session, job, progress, cancel);
    if (result.outcome == DownloadOutcome::Verified) {
        result = checkSignature(session, job, result.received);
        if (cancel.load()) result = {DownloadOutcome::Cancelled, {}, result.received};
    }
    if (result.outcome != DownloadOutcome::Verified) std::remove(job.targetPath.c_str());
    return result;
}

}  // namespace vellix
