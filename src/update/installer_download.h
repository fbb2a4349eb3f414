#pragma once
// The download worker: fetches the installer into a private folder in blocks, then its
// detached signature, and accepts the file only when the signature holds. Runs on a worker
// thread; `progress` is called from that thread, `cancel` may be set from any thread.

#include <atomic>
#include <cstdint>
#include <string>

#include "server/internet_session.h"

namespace vellix {

inline constexpr const char* kUpdateAgent = "VellixUpdate";
inline constexpr const char* kInstallerFileName = "VellixInstall.sh";
inline constexpr const char* kDownloadPageLink = "&View=Vellix&NextView=Vellix";

// "%s?Session=%s&View=VellixInstall.exe&Frames=No&AutoUpdate=Yes", and the same page of
// the signature ("VellixInstall.exe.sig").
std::string installerUrl(const std::string& serverUrl, const std::string& session);
std::string installerSignatureUrl(const std::string& serverUrl, const std::string& session);

// True for "application/octet-stream" in any letter case, once a parameter holding
// "name=" is cut at the last ";".
bool isInstallerContentType(std::string contentType);

enum class DownloadOutcome {
    Verified,      // the file is complete and signed
    Cancelled,     // the user cancelled; the file is gone
    NotInstaller,  // a page or a failed request instead of the installer
    NotSaved,      // the file could not be written
    NotSigned,     // no valid signature: the file was deleted
};

struct DownloadResult {
    DownloadOutcome outcome = DownloadOutcome::NotInstaller;
    std::string reason;  // empty for Verified and Cancelled
    std::uint64_t received = 0;
};

class DownloadProgress {
  public:
    virtual ~DownloadProgress() = default;
    virtual void sizeKnown(std::uint64_t total) = 0;
    virtual void received(std::uint64_t bytes) = 0;
};

struct DownloadJob {
    std::string installerUrl;
    std::string signatureUrl;
    std::string targetPath;  // a new file in a private folder
    std::string publicKeyPem;
};

// Everything the worker does; on any outcome but Verified the target file is removed.
DownloadResult downloadInstaller(InternetSession& session, const DownloadJob& job,
                                 DownloadProgress& progress, const std::atomic<bool>& cancel);

}  // namespace vellix
