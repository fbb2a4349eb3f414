#pragma once
// The self-update, from the question to the installer's end. The object lives on the GUI
// thread; its download and installer jobs run on one worker thread that reports back by
// queued calls. Destroying it cancels a download and waits for the worker.

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "core/frame_registry.h"
#include "core/result.h"
#include "server/internet_session.h"
#include "update/installer_download.h"
#include "update/private_folder.h"
#include "update/update_progress.h"
#include "update/update_view.h"

namespace vellix {

// Where the installer comes from, read when the download starts.
struct UpdateSource {
    std::string serverUrl;
    std::string session;
    ConnectionSettings connection;
};

struct UpdaterDeps {
    FrameRegistry& frames;  // the download page goes to the server frame
    std::function<std::string(int)> text;
    std::function<UpdateSource()> source;
    std::string prefix;  // where the installer installs
    std::string publicKeyPem;
    std::function<void(const std::string&)> trace{};
};

class CWinThread_AutoUpdater final : public QObject {
    Q_OBJECT
  public:
    enum class Stage { Idle, Offered, Downloading, Installing, Telling, Ended };

    CWinThread_AutoUpdater(UpdaterDeps deps, UpdateView& view);
    ~CWinThread_AutoUpdater() override;

    void start();
    // The server connection is gone: ends the update as Cancel does.
    void close();
    Stage stage() const { return stage_; }

  Q_SIGNALS:
    void ended();

  private:
    class Progress;
    void answered(bool updateNow);
    void startDownload();
    void cancel();
    void onSize(std::uint64_t total);
    void onReceived(std::uint64_t received);
    void downloadEnded(const DownloadResult& result);
    void installerEnded(const Result<int>& exitStatus);
    void tell(bool error, const std::string& text, bool openDownloadPage = false);
    void joinWorker();
    void end();
    void trace(const std::string& line) const;

    UpdaterDeps deps_;
    UpdateView& view_;
    Stage stage_ = Stage::Idle;
    std::unique_ptr<InternetSession> session_;
    std::unique_ptr<Progress> progress_;
    std::optional<PrivateFolder> folder_;
    std::optional<ProgressMeter> meter_;
    std::uint64_t total_ = 0;
    std::atomic<bool> cancel_{false};
    std::thread worker_;
};

}  // namespace vellix
