#pragma once
// Single instance on Linux: an flock'ed file (released by the kernel when a process dies,
// so a stale file never blocks a start) and a local socket beside it for hand-overs, made
// the moment the lock is held so that no later start sees one without the other. The
// socket is watched: when something removes it (a cleaner of old runtime files), it is made
// again at once, so a running instance stays reachable.

#include <memory>
#include <string>

#include "core/single_instance.h"

class QFileSystemWatcher;
class QLocalServer;

namespace vellix {

class InstanceGuard final : public QObject, public SingleInstance {
    Q_OBJECT
  public:
    // folder: private per-user folder for the lock and socket (see runtimeFolder()).
    explicit InstanceGuard(std::string folder);
    ~InstanceGuard() override;
    InstanceGuard(const InstanceGuard&) = delete;
    InstanceGuard& operator=(const InstanceGuard&) = delete;

    // $XDG_RUNTIME_DIR/vellix, else /tmp/vellix-<uid>; created with mode 0700.
    static std::string runtimeFolder();

    bool acquire(Milliseconds timeout) override;
    bool postToRunning(MessageId id, WParam w, LParam l) override;
    std::optional<bool> copyDataToRunning(std::uint32_t kind, std::string_view data) override;
    Status listen(HandOverHandler handler) override;
    void stopListening() override;

    std::string socketPath() const;

  private:
    void serve();
    Status listenHere();
    void socketFolderChanged();
    std::optional<bool> exchange(const std::string& request);

    std::string folder_;
    int lockFd_ = -1;
    int earlySocket_ = -1;  // listening since acquire(), until the server adopts it
    std::unique_ptr<QLocalServer> server_;
    std::unique_ptr<QFileSystemWatcher> watcher_;
    HandOverHandler handler_;
};

}  // namespace vellix
