#include "update/auto_updater.h"

#include <QMetaObject>

#include "core/string_table.h"
#include "server/webmail_link.h"
#include "update/installer_run.h"

namespace vellix {

// Carries the worker's progress to the GUI thread.
class CWinThread_AutoUpdater::Progress final : public DownloadProgress {
  public:
    explicit Progress(CWinThread_AutoUpdater* owner) : owner_(owner) {}
    void sizeKnown(std::uint64_t total) override {
        QMetaObject::invokeMethod(
            owner_, [o = owner_, total] { o->onSize(total); }, Qt::QueuedConnection);
    }
    void received(std::uint64_t bytes) override {
        QMetaObject::invokeMethod(
            owner_, [o = owner_, bytes] { o->onReceived(bytes); }, Qt::QueuedConnection);
    }

  private:
    CWinThread_AutoUpdater* owner_;
};

CWinThread_AutoUpdater::CWinThread_AutoUpdater(UpdaterDeps deps, UpdateView& view)
    : deps_(std::move(deps)), view_(view), progress_(std::make_unique<Progress>(this)) {
}

CWinThread_AutoUpdater::~CWinThread_AutoUpdater() {
    cancel_.store(true);
    if (session_) session_->close();
    joinWorker();
}

void CWinThread_AutoUpdater::start() {
    stage_ = Stage::Offered;
    view_.ask([this](bool updateNow) { answered(updateNow); });
}

void CWinThread_AutoUpdater::close() {
    if (stage_ == Stage::Offered || stage_ == Stage::Downloading) cancel();
}

void CWinThread_AutoUpdater::answered(bool updateNow) {
    if (stage_ != Stage::Offered) return;
    if (!updateNow) return end();
    view_.showProgress([this] { cancel(); });
    startDownload();
}

void CWinThread_AutoUpdater::startDownload() {
    stage_ = Stage::Downloading;
    auto folder = PrivateFolder::create("vellix-update");
    if (!folder) {
        return tell(true, deps_.text(IDS_UPDATE_NOT_SAVED) + "\n\n" + folder.error());
    }
    folder_.emplace(std::move(folder).value());
    const UpdateSource source = deps_.source();
    auto session = InternetSession::open({.agent = kUpdateAgent,
                                          .connection = source.connection,
                                          .limits = kRequestLimits,
                                          .prompt = nullptr,
                                          .trace = deps_.trace});
    if (!session) return downloadEnded({DownloadOutcome::NotInstaller, session.error(), 0});
    session_ = std::move(session).value();
    DownloadJob job{.installerUrl = installerUrl(source.serverUrl, source.session),
                    .signatureUrl = installerSignatureUrl(source.serverUrl, source.session),
                    .targetPath = folder_->file(kInstallerFileName),
                    .publicKeyPem = deps_.publicKeyPem};
    meter_.emplace(std::chrono::steady_clock::now());
    cancel_.store(false);
    worker_ = std::thread([this, job = std::move(job)] {
        DownloadResult result = downloadInstaller(*session_, job, *progress_, cancel_);
        QMetaObject::invokeMethod(
            this, [this, result] { downloadEnded(result); }, Qt::QueuedConnection);
    });
}

void CWinThread_AutoUpdater::cancel() {
    if (stage_ != Stage::Downloading && stage_ != Stage::Offered) return;
    cancel_.store(true);
    if (session_) session_->close();
    joinWorker();
    trace("update: cancelled\n");
    end();
}

void CWinThread_AutoUpdater::onSize(std::uint64_t total) {
    if (stage_ != Stage::Downloading) return;
    total_ = total;
    view_.setTotal(total);
    if (auto text = meter_->update(0, total_, std::chrono::steady_clock::now(), false)) {
        view_.setProgress(*text, 0);
    }
}

void CWinThread_AutoUpdater::onReceived(std::uint64_t received) {
    if (stage_ != Stage::Downloading) return;
    if (auto text =
            meter_->update(received, total_, std::chrono::steady_clock::now(), received != 0)) {
        view_.setProgress(*text, received);
    }
}

void CWinThread_AutoUpdater::downloadEnded(const DownloadResult& result) {
    if (stage_ != Stage::Downloading) return;
    joinWorker();
    session_.reset();
    if (!result.reason.empty()) trace("update: " + result.reason + "\n");
    switch (result.outcome) {
        case DownloadOutcome::Verified:
            break;
        case DownloadOutcome::Cancelled:
            return end();
        case DownloadOutcome::NotSaved:
            return tell(true, deps_.text(IDS_UPDATE_NOT_SAVED) + "\n\n" + result.reason);
        case DownloadOutcome::NotInstaller:
        case DownloadOutcome::NotSigned: {
            const int id = result.outcome == DownloadOutcome::NotSigned ? IDS_UPDATE_NOT_SIGNED
                                                                        : IDS_UPDATE_DOWNLOAD_ERROR;
            return tell(true, deps_.text(id) + "\n\n" + result.reason, true);
        }
    }
    trace("update: signature verified\n");
    stage_ = Stage::Installing;
    view_.setText(deps_.text(IDS_UPDATE_STARTING_INSTALLER));
    worker_ = std::thread([this, path = folder_->file(kInstallerFileName)] {
        Result<int> status = runInstaller(path, deps_.prefix);
        QMetaObject::invokeMethod(
            this, [this, status] { installerEnded(status); }, Qt::QueuedConnection);
    });
}

void CWinThread_AutoUpdater::installerEnded(const Result<int>& exitStatus) {
    joinWorker();
    folder_.reset();
    if (exitStatus && *exitStatus == 0) {
        trace("update: installed\n");
        return tell(false, deps_.text(IDS_UPDATE_DONE));
    }
    const std::string reason =
        exitStatus ? "exit status " + std::to_string(*exitStatus) : exitStatus.error();
    trace("update: installer failed: " + reason + "\n");
    tell(true, deps_.text(IDS_UPDATE_INSTALL_FAILED) + "\n\n" + reason);
}

// The message shows over the progress dialog, which closes when the message is read; the
// download page, when the download gave no installer, opens after that.
void CWinThread_AutoUpdater::tell(bool error, const std::string& text, bool openDownloadPage) {
    stage_ = Stage::Telling;
    folder_.reset();
    view_.tell(error, text, [this, openDownloadPage] {
        if (openDownloadPage) {
            deps_.frames.post(FrameKind::Server, UM_OPEN_LINK, 0, 0,
                              makePayload(WebmailLink{kDownloadPageLink, {}, TrayState::Keep}));
        }
        end();
    });
}

void CWinThread_AutoUpdater::joinWorker() {
    if (worker_.joinable()) worker_.join();
}

void CWinThread_AutoUpdater::end() {
    if (stage_ == Stage::Ended) return;
    stage_ = Stage::Ended;
    folder_.reset();
    view_.close();
    Q_EMIT ended();
}

void CWinThread_AutoUpdater::trace(const std::string& line) const {
    if (deps_.trace) deps_.trace(line);
}

}  // namespace vellix
